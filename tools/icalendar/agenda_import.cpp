#include "tools/icalendar/agenda_import.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "tools/encodings/encodings.h"
#include "tools/icalendar/ical_import.h"
#include "tools/icalendar/system.h"
#include "tools/schedule/schedule.h"
#include "tools/strings/strings.h"

namespace {

// The most characters of a source's name a message shows.
constexpr size_t kShownCharacters = 200;

// A source as messages name it: an address masked, a file by its name.
std::string SourceShown(const std::string& source, ShownName shown) {
  return IsWebAddress(source) ? MaskedAddress(shown(source))
                              : Quoted(shown(source), kShownCharacters);
}

// Whether `path` names a device by its form: Windows's device namespaces,
// and the folders of devices and processes on Linux.
bool IsDevicePath(const std::string& path) {
  for (const char* prefix : {"\\\\.\\", "\\\\?\\", "//./", "//?/", "/dev/", "/proc/"}) {
    if (path.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// The calendar at `source`, or false with the outcome in `*result`.
// A source an agenda file records (`recorded`) is refused when it names a
// device.
bool ReadCalendar(const std::string& source, const ImportSettings& settings, bool recorded,
                  CalendarText* calendar, ImportResult* result) {
  if (!IsWebAddress(source)) {
    calendar->name = settings.shown(source);
    result->problem = recorded && IsDevicePath(source) ? FileProblem{FileProblem::kNotAFile, 0}
                                                       : ReadWholeFile(source, &calendar->text);
    if (result->problem) {
      result->outcome = ImportOutcome::kCannotReadSource;
      result->subject = calendar->name;
    }
    return !result->problem;
  }
  calendar->name = MaskedAddress(settings.shown(source));
  FetchResult fetched = Fetch(settings.utf8(source), settings.limits);
  if (fetched.error != FetchError::kNone) {
    result->outcome = ImportOutcome::kCannotFetch;
    result->subject = calendar->name;
    result->fetched = std::move(fetched);
    return false;
  }
  calendar->text = std::move(fetched.body);
  return true;
}

// The agenda file of `origin` made on today into `result->agenda`, the
// lines that record the origin and then the events, from the calendars at
// `paths`, the sources as they open from here. False, with the outcome, when
// it cannot be made.
bool MakeAgenda(const ImportOrigin& origin, const std::vector<std::string>& paths,
                const ImportSettings& settings, bool recorded, ImportResult* result) {
  FindZoneFolder();
  if (!origin.zone.empty() && !IsKnownZone(origin.zone)) {
    result->outcome = recorded ? ImportOutcome::kUnknownRecordedZone : ImportOutcome::kUnknownZone;
    result->subject = settings.shown(origin.zone);
    return false;
  }
  size_t unfit = 0;
  if (!WriteOrigin(origin, settings.today, &result->agenda, &unfit)) {
    result->outcome = ImportOutcome::kSourceTooLong;
    result->subject = unfit < origin.sources.size()
                          ? SourceShown(origin.sources[unfit], settings.shown)
                          : Quoted(settings.shown(origin.zone));
    result->longest = kLongestOriginLine;
    return false;
  }
  std::vector<CalendarText> calendars(paths.size());
  for (size_t i = 0; i < paths.size(); ++i) {
    if (!ReadCalendar(paths[i], settings, recorded, &calendars[i], result)) return false;
  }
  const ImportOptions options = {origin.window.First(settings.today),
                                 origin.window.Last(settings.today), origin.zone};
  std::string lines;
  if (!ImportCalendars(calendars, options, &lines, &result->messages)) {
    result->outcome = ImportOutcome::kRefused;
    return false;
  }
  result->agenda += lines;
  return true;
}

// The entry lines of an agenda file, each as often as it comes.
std::multiset<std::string> Entries(const std::string& agenda) {
  std::multiset<std::string> entries;
  for (const std::string& line : SplitLines(agenda)) {
    if (!line.empty() && line[0] != ';') entries.insert(line);
  }
  return entries;
}

// How many entry lines `after` has that `before` had not, and the other way
// round.
void CountChanges(const std::string& before, const std::string& after, size_t* added,
                  size_t* removed) {
  const std::multiset<std::string> old = Entries(before), now = Entries(after);
  std::vector<std::string> difference;
  std::set_difference(now.begin(), now.end(), old.begin(), old.end(),
                      std::back_inserter(difference));
  *added = difference.size();
  difference.clear();
  std::set_difference(old.begin(), old.end(), now.begin(), now.end(),
                      std::back_inserter(difference));
  *removed = difference.size();
}

}  // namespace

ImportResult ImportAgenda(ImportOrigin origin, const std::string& output,
                          const ImportSettings& settings) {
  ImportResult result;
  const std::vector<std::string> paths = origin.sources;
  for (std::string& source : origin.sources) source = RecordedSource(source, output);
  MakeAgenda(origin, paths, settings, false, &result);
  return result;
}

int RefreshWaitSeconds(const FetchLimits& limits) {
  return 2 * (limits.connectSeconds + limits.transferSeconds);
}

ImportResult RefreshAgenda(const std::string& file, const ImportSettings& settings) {
  ImportResult result;
  std::string old;
  ImportOrigin origin;
  // Held until the file is replaced: another run reads the file only once
  // this one has written it.
  RefreshLock lock;
  result.problem = LockForRefresh(file, RefreshWaitSeconds(settings.limits), &lock);
  if (result.problem.kind == FileProblem::kBusy) {
    result.outcome = ImportOutcome::kBusy;
    return result;
  }
  if (!result.problem) result.problem = ReadWholeFile(file, &old);
  if (result.problem) {
    result.outcome = ImportOutcome::kCannotReadAgenda;
    return result;
  }
  if (!ReadOrigin(old, &origin)) {
    result.outcome = ImportOutcome::kNotImported;
    return result;
  }
  std::vector<std::string> paths;
  for (const std::string& source : origin.sources) paths.push_back(SourcePath(source, file));
  if (!MakeAgenda(origin, paths, settings, true, &result)) return result;
  result.problem = ReplaceFileContents(file, result.agenda, &result.temporary);
  if (result.problem) {
    result.outcome = ImportOutcome::kCannotReplace;
    return result;
  }
  CountChanges(old, result.agenda, &result.added, &result.removed);
  return result;
}

bool ImportedFrom(const std::string& agendaFile, const std::string& source) {
  std::string bytes;
  ImportOrigin origin;
  return !ReadWholeFile(agendaFile, &bytes) && ReadOrigin(bytes, &origin) &&
         origin.sources == std::vector<std::string>{RecordedSource(source, agendaFile)};
}

ScheduleResult ScheduleDailyRefresh(const std::string& file, bool schedule, ShownName pathText,
                                    const std::string& login) {
  ScheduleResult result;
  std::string bytes;
  ImportOrigin origin;
  result.problem = ReadWholeFile(file, &bytes);
  if (result.problem) {
    result.outcome = ScheduleResult::kCannotRead;
    return result;
  }
  if (!ReadOrigin(bytes, &origin)) {
    result.outcome = ScheduleResult::kNotImported;
    return result;
  }
  result.path = pathText(AbsolutePath(file));
  if (!SchedulableName(result.path)) {
    result.outcome = ScheduleResult::kUnfitName;
    return result;
  }
  const std::string user = CurrentUserName(login);
  result.task = TaskName(result.path, user);
  const SchedulerRun run =
      schedule ? RegisterTask(result.task, TaskXml(ScheduledProgramPath(), result.path, user))
               : RemoveTask(result.task);
  if (run.outcome == SchedulerRun::kUnsupported) {
    result.outcome = ScheduleResult::kNoScheduler;
    result.crontabLine = CrontabLine(ScheduledProgramPath(), result.path);
  } else if (!run.Succeeded()) {
    result.outcome = ScheduleResult::kRefused;
    result.code = run.code;
  }
  return result;
}
