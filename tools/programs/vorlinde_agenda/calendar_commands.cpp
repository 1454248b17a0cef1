// import, export and expand: the calendar bridge (tools/icalendar/) on the
// command line.
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "agenda/reader.h"
#include "host/clock.h"
#include "tools/programs/vorlinde_agenda/environment.h"
#include "tools/programs/vorlinde_agenda/names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"
#include "tools/icalendar/entry_text.h"
#include "tools/icalendar/expand.h"
#include "tools/icalendar/ical_export.h"
#include "tools/icalendar/ical_import.h"
#include "tools/icalendar/origin.h"
#include "tools/icalendar/system.h"
#include "tools/dates/dates.h"
#include "tools/agenda_lines/agenda_lines.h"
#include "tools/schedule/schedule.h"
#include "tools/console/console.h"
#include "tools/encodings/encodings.h"
#include "tools/web/web.h"

namespace {

// The last day a window reaches when neither --until nor --count limits it.
constexpr AgendaDate kLastDay = {9999, 12, 31};

void TellAll(const std::vector<CalendarMessage>& messages) {
  for (const CalendarMessage& message : messages) TellCalendarMessage(message);
}

// expand's days, from --from to --until, or without an end when --count
// limits them, else to a year after --from; false, told, when there are
// none.
bool ExpandWindow(const Arguments& arguments, AgendaDate* from, AgendaDate* until) {
  *from = arguments.Date(kFromOption);
  *until = arguments.Has(kUntilOption)   ? arguments.Date(kUntilOption)
           : arguments.Has(kCountOption) ? kLastDay
                                         : AYearAfter(*from);
  if (CompareDates(*until, *from) < 0) {
    Tell(stderr, kTextBadWindow, {DateColumns(*until), DateColumns(*from)});
    return false;
  }
  return true;
}

// The calendar at `source` (a web address, or a file name as it opens),
// named in messages by the address masked, or the name; false, told, when
// it cannot be had.
bool ReadCalendar(const std::string& source, CalendarText* calendar) {
  if (!IsWebAddress(source)) {
    calendar->name = Shown(source);
    const FileProblem problem = ReadWholeFile(source, &calendar->text);
    if (problem) Tell(stderr, kTextCannotRead, {calendar->name, WhyFile(problem)});
    return !problem;
  }
  calendar->name = MaskedAddress(Shown(source));
  FetchResult fetched = Fetch(ArgumentToUtf8(source), FetchLimitsFromEnvironment());
  if (fetched.error != FetchError::kNone) {
    Tell(stderr, kTextCannotFetch, {calendar->name, WhyFetch(fetched)});
    return false;
  }
  calendar->text = std::move(fetched.body);
  return true;
}

// The agenda file (Shift-JIS, CR LF) of `origin` imported on `today`: the
// lines that record the origin, then the events. The calendars are had from
// `paths`, the sources as they open from here. False, told, when a calendar
// cannot be had or read, or the origin cannot be recorded; warnings are told
// only when `warn`.
bool MakeAgenda(const ImportOrigin& origin, const std::vector<std::string>& paths, AgendaDate today,
                bool warn, std::string* agenda) {
  FindZoneFolder();
  if (!origin.zone.empty() && !IsKnownZone(origin.zone)) {
    Tell(stderr, kTextUnknownZone, {Shown(origin.zone)});
    return false;
  }
  if (!WriteOrigin(origin, today, agenda)) {
    for (const std::string& source : origin.sources) {
      if (source.size() > kLongestAgendaLine / 2) {
        Tell(stderr, kTextSourceTooLong,
             {IsWebAddress(source) ? MaskedAddress(Shown(source)) : Quoted(Shown(source))});
      }
    }
    return false;
  }
  std::vector<CalendarText> calendars(paths.size());
  for (size_t i = 0; i < paths.size(); ++i) {
    if (!ReadCalendar(paths[i], &calendars[i])) return false;
  }
  const ImportOptions options = {origin.window.First(today), origin.window.Last(today),
                                 origin.zone};
  std::string lines;
  std::vector<CalendarMessage> messages;
  const bool read = ImportCalendars(calendars, options, &lines, &messages);
  for (const CalendarMessage& message : messages) {
    const bool error = message.kind == CalendarMessageKind::kNotICalendar ||
                       message.kind == CalendarMessageKind::kDamaged;
    if (warn || error) TellCalendarMessage(message);
  }
  *agenda += lines;
  return read;
}

// How many entry lines `after` has that `before` had not, and the other way
// round, each line counted as often as it comes.
void CountChanges(const std::string& before, const std::string& after, size_t* added,
                  size_t* removed) {
  auto entries = [](const std::string& agenda) {
    std::multiset<std::string> lines;
    for (size_t at = 0; at < agenda.size();) {
      size_t end = agenda.find("\r\n", at);
      if (end == std::string::npos) end = agenda.size();
      if (end > at && agenda[at] != ';') lines.insert(agenda.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  };
  const std::multiset<std::string> old = entries(before), now = entries(after);
  std::vector<std::string> difference;
  std::set_difference(now.begin(), now.end(), old.begin(), old.end(),
                      std::back_inserter(difference));
  *added = difference.size();
  difference.clear();
  std::set_difference(old.begin(), old.end(), now.begin(), now.end(),
                      std::back_inserter(difference));
  *removed = difference.size();
}

// How an agenda file written to `output` records the source it was imported
// from: an address as it is, a file beside it by its name, any other file by
// its full path, so that refresh finds it from wherever it runs; everything
// as given when the agenda goes to standard output.
std::string RecordedSource(const std::string& source, const std::string& output) {
  if (IsWebAddress(source) || output.empty()) return source;
  const std::string path = AbsolutePath(source);
  return FolderOf(path) == FolderOf(AbsolutePath(output)) ? path.substr(FolderOf(path).size())
                                                          : path;
}

std::string Padded(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

bool Today(AgendaDate* today) {
  const char* epoch = getenv("SOURCE_DATE_EPOCH");
  if (epoch == nullptr) return LocalDate(0, today);
  const time_t instant = static_cast<time_t>(strtoll(epoch, nullptr, 10));
  const struct tm* fields = localtime(&instant);
  if (fields == nullptr) return false;
  *today = {fields->tm_year + 1900, fields->tm_mon + 1, fields->tm_mday};
  return true;
}

int Import(const Arguments& arguments) {
  if (arguments.operands.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  AgendaDate today;
  if (!Today(&today)) {
    Tell(stderr, kTextNoToday, {kFromOption});
    return 2;
  }
  // The window as given, kept as days from today; by default from a week
  // back to a year on.
  ImportOrigin origin;
  origin.zone = arguments.Text(kZoneOption);
  const AgendaDate from =
      arguments.Has(kFromOption) ? arguments.Date(kFromOption) : origin.window.First(today);
  const AgendaDate until = arguments.Has(kUntilOption)  ? arguments.Date(kUntilOption)
                           : arguments.Has(kFromOption) ? AYearAfter(from)
                                                        : origin.window.Last(today);
  origin.window.fromDays = static_cast<int32_t>(DayNumber(from) - DayNumber(today));
  origin.window.untilAYear = !arguments.Has(kFromOption) && !arguments.Has(kUntilOption);
  origin.window.untilDays = static_cast<int32_t>(DayNumber(until) - DayNumber(today));
  if (CompareDates(until, from) < 0) {
    Tell(stderr, kTextBadWindow, {DateColumns(until), DateColumns(from)});
    return 2;
  }
  const std::string output = arguments.Text(kOutputOption);
  for (const std::string& source : arguments.operands) {
    origin.sources.push_back(RecordedSource(source, output));
  }
  std::string agenda;
  if (!MakeAgenda(origin, arguments.operands, today, true, &agenda)) return 2;
  return WriteOutput(agenda, output);
}

int ImportInto(const std::string& source, const std::string& agendaFile) {
  AgendaDate today;
  if (!Today(&today)) {
    Tell(stderr, kTextNoToday, {"SOURCE_DATE_EPOCH"});
    return 2;
  }
  ImportOrigin origin;
  origin.sources.push_back(RecordedSource(source, agendaFile));
  std::string agenda;
  if (!MakeAgenda(origin, {source}, today, true, &agenda)) return 2;
  return WriteOutput(agenda, agendaFile);
}

bool ImportedFrom(const std::string& agendaFile, const std::string& source) {
  std::string bytes;
  ImportOrigin origin;
  return !ReadWholeFile(agendaFile, &bytes) && ReadOrigin(bytes, &origin) &&
         origin.sources == std::vector<std::string>{RecordedSource(source, agendaFile)};
}

int RefreshFile(const std::string& file, bool verbose) {
  AgendaDate today;
  if (!Today(&today)) {
    Tell(stderr, kTextNoToday, {"SOURCE_DATE_EPOCH"});
    return 2;
  }
  std::string old;
  if (const FileProblem problem = ReadWholeFile(file, &old)) {
    Tell(stderr, kTextCannotRead, {Shown(file), WhyFile(problem)});
    return 2;
  }
  ImportOrigin origin;
  if (!ReadOrigin(old, &origin)) {
    Tell(stderr, kTextNotImported, {Shown(file)});
    return 2;
  }
  // A file named without a folder lies beside the agenda file.
  std::vector<std::string> paths;
  for (const std::string& source : origin.sources) {
    paths.push_back(IsWebAddress(source) || IsAbsolutePath(source) ? source
                                                                   : FolderOf(file) + source);
  }
  std::string agenda;
  if (!MakeAgenda(origin, paths, today, verbose, &agenda)) {
    Tell(stderr, kTextNotRefreshed, {Shown(file)});
    return 2;
  }
  if (const FileProblem problem = ReplaceFileContents(file, agenda)) {
    Tell(stderr, kTextCannotWriteLeft, {Shown(file), WhyFile(problem), Shown(file)});
    return 2;
  }
  if (verbose) {
    size_t added = 0, removed = 0;
    CountChanges(old, agenda, &added, &removed);
    Tell(stdout, kTextRefreshed, {Shown(file), std::to_string(added), std::to_string(removed)});
  }
  return 0;
}

int ScheduleRefresh(const std::string& file, bool schedule) {
  std::string bytes;
  ImportOrigin origin;
  if (const FileProblem problem = ReadWholeFile(file, &bytes)) {
    Tell(stderr, kTextCannotRead, {Shown(file), WhyFile(problem)});
    return 2;
  }
  if (!ReadOrigin(bytes, &origin)) {
    Tell(stderr, kTextNotImported, {Shown(file)});
    return 2;
  }
  const std::string path = ArgumentToUtf8(AbsolutePath(file));
  const std::string user = CurrentUserName(EnvironmentText("USER"));
  const std::string name = TaskName(path, user);
  const SchedulerRun run =
      schedule ? RegisterTask(name, TaskXml(ScheduledProgramPath(), path, user)) : RemoveTask(name);
  if (run.outcome == SchedulerRun::kUnsupported) {
    // No scheduler here: the line for cron, which the user adds or removes.
    if (schedule) printf("%s\n", CrontabLine(ScheduledProgramPath(), path).c_str());
    Tell(stderr, schedule ? kTextCrontabAdd : kTextCrontabRemove, {path});
    return 0;
  }
  if (!run.Succeeded()) {
    Tell(stderr, schedule ? kTextScheduleFailed : kTextUnscheduleFailed,
         {path, std::to_string(run.code)});
    return 2;
  }
  Tell(stdout, schedule ? kTextScheduled : kTextUnscheduled,
       {path, Padded(kRefreshHour) + ":" + Padded(kRefreshMinute), name});
  return 0;
}

int Refresh(const Arguments& arguments) {
  if (arguments.operands.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  const bool schedule = arguments.Has(kScheduleOption),
             unschedule = arguments.Has(kUnscheduleOption);
  if (schedule && unschedule) {
    Tell(stderr, kTextScheduleOrNot);
    return 2;
  }
  int status = 0;
  for (const std::string& file : arguments.operands) {
    const int fileStatus = schedule || unschedule
                               ? ScheduleRefresh(file, schedule)
                               : RefreshFile(file, arguments.Has(kVerboseOption));
    if (fileStatus > status) status = fileStatus;
  }
  return status;
}

int Export(const Arguments& arguments) {
  if (arguments.operands.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  std::vector<AgendaFileName> files;
  for (const std::string& name : arguments.operands) {
    if (!AgendaReader(name.c_str()).IsOpen()) {
      Tell(stderr, kTextCannotRead, {Shown(name), WhyFile(WhyUnreadable(name))});
      return 2;
    }
    files.push_back({name, Shown(name)});
  }
  CheckOptions checking;
  checking.language = UserLanguage();
  // Reproducible output when the environment pins the time of making.
  const char* epoch = getenv("SOURCE_DATE_EPOCH");
  const time_t stamp =
      epoch != nullptr ? static_cast<time_t>(strtoll(epoch, nullptr, 10)) : time(nullptr);
  std::string ics;
  std::vector<CalendarMessage> messages;
  const bool read = ExportAgendas(files, checking, stamp, &ics, &messages);
  TellAll(messages);
  return read ? WriteOutput(ics, arguments.Text(kOutputOption)) : 2;
}

int Expand(const Arguments& arguments) {
  const bool counted = arguments.Has(kCountOption);
  if (!arguments.Has(kRuleOption) || !arguments.Has(kFromOption) ||
      arguments.operands.size() != 1 || (counted && arguments.Has(kUntilOption))) {
    Tell(stderr, kTextExpandNeeds);
    return 2;
  }
  AgendaDate from, until;
  if (!ExpandWindow(arguments, &from, &until)) return 2;
  const std::string rule = arguments.Text(kRuleOption);
  std::vector<AgendaDate> days;
  switch (ExpandRule(rule, from, until, counted ? arguments.Number(kCountOption) : 0, &days)) {
    case ExpandResult::kRuleRejected:
      Tell(stderr, kTextRuleRejected, {Shown(rule)});
      return 2;
    case ExpandResult::kPartsConflict:
      Tell(stderr, kTextPartsConflict, {Shown(rule)});
      return 2;
    case ExpandResult::kNotWholeDays:
      Tell(stderr, kTextNotWholeDays, {Shown(rule)});
      return 2;
    case ExpandResult::kDone:
      break;
  }
  const std::string summary = ArgumentToUtf8(arguments.operands[0]);
  bool substituted = false, shortened = false;
  const std::string text = EntryText(summary, kLongestAgendaLine - 11, &substituted, &shortened);
  // Told as import tells a summary of a calendar.
  if (substituted) {
    TellCalendarMessage({CalendarMessageKind::kSubstituted, kProgramName, 0, {Quoted(summary)}});
  }
  if (shortened) {
    TellCalendarMessage({CalendarMessageKind::kShortened, kProgramName, 0, {Quoted(summary)}});
  }
  std::string agenda;
  for (const AgendaDate& day : days) agenda += DateColumns(day) + " " + text + "\r\n";
  return WriteOutput(agenda, arguments.Text(kOutputOption));
}
