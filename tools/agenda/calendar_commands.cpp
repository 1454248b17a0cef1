// import, export and expand: the calendar bridge (tools/calendar/) on the
// command line.
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "agenda/reader.h"
#include "host/clock.h"
#include "tools/agenda/subcommands.h"
#include "tools/agenda/tell.h"
#include "tools/calendar/entry_text.h"
#include "tools/calendar/expand.h"
#include "tools/calendar/ical_export.h"
#include "tools/calendar/ical_import.h"
#include "tools/calendar/system.h"
#include "tools/dates/dates.h"
#include "tools/lines/agenda_lines.h"
#include "tools/terminal/terminal.h"
#include "tools/text/text.h"

namespace {

// The last day a window reaches when neither --until nor --count limits it.
constexpr AgendaDate kLastDay = {9999, 12, 31};

void Tell(const CalendarMessage& message) {
  static const Text kFor[] = {kTextSummaryGeta,  kTextShortened, kTextZoneNotKnown,
                              kTextNoStart,      kTextLeftOut,   kTextLeftOut,
                              kTextNotICalendar, kTextDamaged,   kTextCannotRead};
  std::vector<std::string> arguments = {message.file};
  if (message.line > 0) arguments[0] += ":" + std::to_string(message.line);
  arguments.insert(arguments.end(), message.arguments.begin(), message.arguments.end());
  Tell(stderr, kFor[static_cast<int>(message.kind)], arguments);
}

void TellAll(const std::vector<CalendarMessage>& messages) {
  for (const CalendarMessage& message : messages) Tell(message);
}

// The window of days from --from (today by default) to --until (a year on
// by default, or no end when `count` limits it instead); false, told, when
// there is none.
bool Window(const Arguments& arguments, bool counted, AgendaDate* from, AgendaDate* until) {
  *from = arguments.Date("--from");
  if (!arguments.Has("--from") && !LocalDate(0, from)) {
    Tell(stderr, kTextNoToday, {"--from"});
    return false;
  }
  *until = arguments.Has("--until") ? arguments.Date("--until")
           : counted                ? kLastDay
                                    : AYearAfter(*from);
  if (CompareDates(*until, *from) < 0) {
    Tell(stderr, kTextBadWindow, {DateColumns(*until), DateColumns(*from)});
    return false;
  }
  return true;
}

}  // namespace

int Import(const Arguments& arguments) {
  FindZoneFolder();
  const std::string zone = arguments.Text("--tz");
  AgendaDate from, until;
  if (arguments.operands.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  if (!Window(arguments, false, &from, &until)) return 2;
  if (!zone.empty() && !IsKnownZone(zone)) {
    Tell(stderr, kTextUnknownZone, {Shown(zone)});
    return 2;
  }
  std::vector<CalendarText> calendars;
  for (const std::string& name : arguments.operands) {
    calendars.push_back({Shown(name), std::string()});
    if (const FileProblem problem = ReadWholeFile(name, &calendars.back().text)) {
      Tell(stderr, kTextCannotRead, {Shown(name), Why(problem)});
      return 2;
    }
  }
  std::string agenda;
  std::vector<CalendarMessage> messages;
  const bool read = ImportCalendars(calendars, {from, until, zone}, &agenda, &messages);
  TellAll(messages);
  return read ? WriteOutput(agenda, arguments.Text("--output")) : 2;
}

int Export(const Arguments& arguments) {
  if (arguments.operands.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  std::vector<AgendaFileName> files;
  for (const std::string& name : arguments.operands) {
    if (!AgendaReader(name.c_str()).IsOpen()) {
      Tell(stderr, kTextCannotRead, {Shown(name), Why(WhyUnreadable(name))});
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
  return read ? WriteOutput(ics, arguments.Text("--output")) : 2;
}

int Expand(const Arguments& arguments) {
  const bool counted = arguments.Has("--count");
  if (!arguments.Has("--rule") || !arguments.Has("--from") || arguments.operands.size() != 1 ||
      (counted && arguments.Has("--until"))) {
    Tell(stderr, kTextExpandNeeds);
    return 2;
  }
  AgendaDate from, until;
  if (!Window(arguments, counted, &from, &until)) return 2;
  const std::string rule = arguments.Text("--rule");
  std::vector<AgendaDate> days;
  switch (ExpandRule(rule, from, until, counted ? arguments.Number("--count") : 0, &days)) {
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
  if (substituted)
    Tell({CalendarMessageKind::kSubstituted, "vorlinde-agenda", 0, {Quoted(summary)}});
  if (shortened) Tell({CalendarMessageKind::kShortened, "vorlinde-agenda", 0, {Quoted(summary)}});
  std::string agenda;
  for (const AgendaDate& day : days) agenda += DateColumns(day) + " " + text + "\r\n";
  return WriteOutput(agenda, arguments.Text("--output"));
}
