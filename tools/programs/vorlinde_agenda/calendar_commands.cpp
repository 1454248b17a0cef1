// import, export, expand and refresh: the calendar bridge (tools/icalendar/)
// on the command line, each worded from what the bridge returns; and the one
// today of every subcommand.
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "agenda/reader.h"
#include "host/clock.h"
#include "tools/agenda_lines/agenda_lines.h"
#include "tools/console/console.h"
#include "tools/dates/dates.h"
#include "tools/encodings/encodings.h"
#include "tools/icalendar/agenda_import.h"
#include "tools/icalendar/entry_text.h"
#include "tools/icalendar/expand.h"
#include "tools/icalendar/ical_export.h"
#include "tools/programs/vorlinde_agenda/environment.h"
#include "tools/programs/vorlinde_agenda/finding_words.h"
#include "tools/programs/vorlinde_agenda/names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"
#include "tools/schedule/schedule.h"
#include "tools/web/web.h"

namespace {

// The last day a window reaches when neither --until nor --count limits it.
constexpr AgendaDate kLastDay = {9999, 12, 31};

// The most characters of a path a message about it shows.
constexpr size_t kShownPathCharacters = 200;

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

ImportSettings SettingsOn(AgendaDate today) {
  return {today, FetchLimitsFromEnvironment(), Shown, ArgumentToUtf8};
}

// Tells why an agenda could not be made from its calendars, and what the
// calendars had to tell: their errors always, their warnings when `warn`.
// Whether the agenda was made.
bool TellMaking(const ImportResult& result, bool warn) {
  switch (result.outcome) {
    case ImportOutcome::kUnknownZone:
      Tell(stderr, kTextUnknownZone, {result.subject});
      break;
    case ImportOutcome::kSourceTooLong:
      Tell(stderr, kTextSourceTooLong, {result.subject, std::to_string(result.longest)});
      break;
    case ImportOutcome::kCannotReadSource:
      Tell(stderr, kTextCannotRead, {result.subject, WhyFile(result.problem)});
      break;
    case ImportOutcome::kCannotFetch:
      Tell(stderr, kTextCannotFetch, {result.subject, WhyFetch(result.fetched)});
      break;
    case ImportOutcome::kDone:
    case ImportOutcome::kRefused:
    case ImportOutcome::kCannotReadAgenda:
    case ImportOutcome::kNotImported:
    case ImportOutcome::kCannotReplace:
    case ImportOutcome::kUnknownRecordedZone:  // refresh tells these, naming the file
    case ImportOutcome::kBusy:
      break;
  }
  for (const CalendarMessage& message : result.messages) {
    if (warn || IsCalendarError(message.kind)) TellCalendarMessage(message);
  }
  return result.outcome == ImportOutcome::kDone || result.outcome == ImportOutcome::kCannotReplace;
}

}  // namespace

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
  origin.sources = arguments.operands;
  const std::string output = arguments.Text(kOutputOption);
  const ImportResult result = ImportAgenda(origin, output, SettingsOn(today));
  if (!TellMaking(result, true)) return 2;
  const int status = WriteOutput(result.agenda, output);
  // The file is made for a chip: say so when no chip can read its path.
  if (status == 0 && !output.empty()) TellChipLimits(stderr, output);
  return status;
}

int ImportInto(const std::string& source, const std::string& agendaFile) {
  AgendaDate today;
  if (!Today(&today)) {
    Tell(stderr, kTextNoToday, {"SOURCE_DATE_EPOCH"});
    return 2;
  }
  ImportOrigin origin;
  origin.sources = {source};
  const ImportResult result = ImportAgenda(origin, agendaFile, SettingsOn(today));
  return TellMaking(result, true) ? WriteOutput(result.agenda, agendaFile) : 2;
}

int RefreshFile(const std::string& file, bool verbose) {
  AgendaDate today;
  if (!Today(&today)) {
    Tell(stderr, kTextNoToday, {"SOURCE_DATE_EPOCH"});
    return 2;
  }
  const ImportSettings settings = SettingsOn(today);
  const ImportResult result = RefreshAgenda(file, settings);
  if (result.outcome == ImportOutcome::kBusy) {
    Tell(stderr, kTextRefreshBusy,
         {Shown(file), std::to_string(RefreshWaitSeconds(settings.limits))});
    return 2;
  }
  if (result.outcome == ImportOutcome::kUnknownRecordedZone) {
    Tell(stderr, kTextUnknownRecordedZone,
         {Shown(file), Quoted(result.subject, kShownPathCharacters)});
    return 2;
  }
  if (result.outcome == ImportOutcome::kCannotReadAgenda) {
    Tell(stderr, kTextCannotRead, {Shown(file), WhyFile(result.problem)});
    return 2;
  }
  if (result.outcome == ImportOutcome::kNotImported) {
    Tell(stderr, kTextNotImported, {Shown(file)});
    return 2;
  }
  if (!TellMaking(result, verbose)) {
    Tell(stderr, kTextNotRefreshed, {Shown(file)});
    return 2;
  }
  if (result.outcome == ImportOutcome::kCannotReplace && !result.temporary.empty()) {
    Tell(stderr, kTextCannotWriteBeside,
         {Shown(result.temporary), Shown(file), WhyFile(result.problem)});
    return 2;
  }
  if (result.outcome == ImportOutcome::kCannotReplace) {
    Tell(stderr, kTextCannotWriteLeft, {Shown(file), WhyFile(result.problem), Shown(file)});
    return 2;
  }
  if (verbose) {
    Tell(stdout, kTextRefreshed,
         {Shown(file), std::to_string(result.added), std::to_string(result.removed)});
  }
  return 0;
}

int ScheduleRefresh(const std::string& file, bool schedule) {
  const ScheduleResult result =
      ScheduleDailyRefresh(file, schedule, ArgumentToUtf8, EnvironmentText("USER"));
  switch (result.outcome) {
    case ScheduleResult::kCannotRead:
      Tell(stderr, kTextCannotRead, {Shown(file), WhyFile(result.problem)});
      return 2;
    case ScheduleResult::kNotImported:
      Tell(stderr, kTextNotImported, {Shown(file)});
      return 2;
    case ScheduleResult::kUnfitName:
      Tell(stderr, kTextUnschedulable, {Quoted(Shown(file), kShownPathCharacters)});
      return 2;
    case ScheduleResult::kNoScheduler:
      // No scheduler here: the line for cron, which the user adds or removes.
      if (schedule) PrintText(stdout, result.crontabLine + "\n");
      Tell(stderr, schedule ? kTextCrontabAdd : kTextCrontabRemove, {result.path});
      return 0;
    case ScheduleResult::kRefused:
      Tell(stderr, schedule ? kTextScheduleFailed : kTextUnscheduleFailed,
           {result.path, std::to_string(result.code)});
      return 2;
    case ScheduleResult::kDone:
      break;
  }
  Tell(stdout, schedule ? kTextScheduled : kTextUnscheduled,
       {result.path, ClockColumns(kRefreshHour * 60 + kRefreshMinute), result.task});
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
    std::string ansi;
    if (!AnsiName(name, &ansi)) {
      Tell(stderr, kTextCannotRead, {Shown(name), Say(kTextNameNotInCodePage)});
      return 2;
    }
    if (!AgendaReader(ansi.c_str()).IsOpen()) {
      Tell(stderr, kTextCannotRead, {Shown(name), WhyFile(WhyUnreadable(name))});
      return 2;
    }
    files.push_back({name, Shown(name)});
  }
  std::string ics;
  std::vector<ExportMessage> messages;
  const bool read = ExportAgendas(files, Now(), &ics, &messages);
  for (ExportMessage& told : messages) {
    // A line or file left out says why in the words of its finding.
    if (told.message.kind != CalendarMessageKind::kUnreadable) {
      told.message.arguments = {FindingWords(UserLanguage(), told.why, told.message.file)};
    }
    TellCalendarMessage(told.message);
  }
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
  const std::string text =
      EntryText(summary, kLongestAgendaLine - kEntryTextAt, &substituted, &shortened);
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
