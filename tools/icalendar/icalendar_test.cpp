// The calendar library's rules, on small calendars written here: how long each
// instance lasts (DTEND and DURATION, across a clock change, floating times
// among them), all-day ends, exceptions, warnings and the kinds of damage;
// the engine's limit on a source's record, and the zone names it takes.
// Not covered: fetching, files and wording (tests/tool/check_calendar.py,
// check_refresh.py, check_web.py and check_dropped.py run the program).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/encodings/encodings.h"
#include "tools/icalendar/agenda_import.h"
#include "tools/icalendar/ical_import.h"
#include "tools/strings/strings.h"

namespace {

std::string Calendar(const std::string& events) {
  return "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Vorlinde tests//EN\n" + events +
         "END:VCALENDAR\n";
}

// The agenda's lines in UTF-8, one a line, for messages a person reads.
std::string Lines(const std::string& agenda) {
  std::string lines;
  for (const std::string& line : SplitLines(ShiftJisToUtf8(agenda))) lines += line + "\n";
  return lines;
}

std::string Shown(const CalendarMessage& message) {
  std::string shown = std::to_string(static_cast<int>(message.kind)) + "/" +
                      std::to_string(static_cast<int>(message.damage)) + " line " +
                      std::to_string(message.line);
  for (const std::string& argument : message.arguments) shown += " [" + argument + "]";
  return shown + "\n";
}

TEST(CalendarImport, LinesOfEachEvent) {
  const struct {
    const char* what;
    const char* events;
    AgendaDate from, until;
    const char* zone;
    const char* lines;
  } rows[] = {
      {"floating DTEND: each instance as long as the first, across London's change",
       "BEGIN:VEVENT\nDTSTART:20260523T140000\nDTEND:20260525T105300\nRRULE:FREQ=DAILY\n"
       "SUMMARY:F\nEND:VEVENT\n",
       {2027, 3, 29},
       {2027, 3, 29},
       "Europe/London",
       "2027/03/29 ～11:53 F\n2027/03/29 ～ F\n2027/03/29 14:00 F\n"},
      {"DTEND in a zone: an instant, read in another",
       "BEGIN:VEVENT\nDTSTART;TZID=Europe/London:20270327T210000\n"
       "DTEND;TZID=Europe/London:20270328T180000\nSUMMARY:Z\nEND:VEVENT\n",
       {2027, 3, 27},
       {2027, 3, 31},
       "Asia/Tokyo",
       "2027/03/28 06:00 Z\n2027/03/29 ～02:00 Z\n"},
      {"DURATION in hours: exact hours across the change",
       "BEGIN:VEVENT\nDTSTART;TZID=Europe/London:20270327T210000\nDURATION:PT20H\nSUMMARY:H\n"
       "END:VEVENT\n",
       {2027, 3, 27},
       {2027, 3, 31},
       "Europe/London",
       "2027/03/27 21:00 H\n2027/03/28 ～18:00 H\n"},
      {"DURATION in days: days on the start's clock",
       "BEGIN:VEVENT\nDTSTART;TZID=Europe/London:20270327T210000\nDURATION:P1D\nSUMMARY:D\n"
       "END:VEVENT\n",
       {2027, 3, 27},
       {2027, 3, 31},
       "Europe/London",
       "2027/03/27 21:00 D\n2027/03/28 ～21:00 D\n"},
      {"floating DURATION in hours: exact in the zone it is read in",
       "BEGIN:VEVENT\nDTSTART:20270327T210000\nDURATION:PT20H\nSUMMARY:L\nEND:VEVENT\n",
       {2027, 3, 27},
       {2027, 3, 31},
       "Europe/London",
       "2027/03/27 21:00 L\n2027/03/28 ～18:00 L\n"},
      {"all-day DTEND: the days before it",
       "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270105\nDTEND;VALUE=DATE:20270108\nSUMMARY:A\n"
       "END:VEVENT\n",
       {2027, 1, 1},
       {2027, 1, 31},
       "Asia/Tokyo",
       "2027/01/05 A\n2027/01/06 A\n2027/01/07 A\n"},
      {"all-day without an end: its own day",
       "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270105\nSUMMARY:B\nEND:VEVENT\n",
       {2027, 1, 1},
       {2027, 1, 31},
       "Asia/Tokyo",
       "2027/01/05 B\n"},
      {"an end at midnight: no line on the day it ends",
       "BEGIN:VEVENT\nDTSTART:20270105T220000\nDTEND:20270106T000000\nSUMMARY:M\nEND:VEVENT\n",
       {2027, 1, 1},
       {2027, 1, 31},
       "Asia/Tokyo",
       "2027/01/05 22:00 M\n"},
      {"EXDATE leaves an instance out",
       "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270105\nRRULE:FREQ=DAILY;COUNT=3\n"
       "EXDATE;VALUE=DATE:20270106\nSUMMARY:E\nEND:VEVENT\n",
       {2027, 1, 1},
       {2027, 1, 31},
       "Asia/Tokyo",
       "2027/01/05 E\n2027/01/07 E\n"},
      {"RECURRENCE-ID moves one instance, a cancelled one takes another away",
       "BEGIN:VEVENT\nUID:r\nDTSTART:20270105T090000\nRRULE:FREQ=DAILY;COUNT=3\nSUMMARY:R\n"
       "END:VEVENT\nBEGIN:VEVENT\nUID:r\nRECURRENCE-ID:20270106T090000\n"
       "DTSTART:20270106T150000\nSUMMARY:Moved\nEND:VEVENT\nBEGIN:VEVENT\nUID:r\n"
       "RECURRENCE-ID:20270107T090000\nDTSTART:20270107T090000\nSTATUS:CANCELLED\n"
       "SUMMARY:R\nEND:VEVENT\n",
       {2027, 1, 1},
       {2027, 1, 31},
       "Asia/Tokyo",
       "2027/01/05 09:00 R\n2027/01/06 15:00 Moved\n"},
      {"a yearly all-day event from before the window: one wildcard line",
       "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20000105\nRRULE:FREQ=YEARLY\nSUMMARY:Y\nEND:VEVENT\n",
       {2027, 1, 1},
       {2027, 12, 31},
       "Asia/Tokyo",
       "0000/01/05 Y\n"},
  };
  for (const auto& row : rows) {
    std::string agenda;
    std::vector<CalendarMessage> messages;
    EXPECT_TRUE(ImportCalendars({{"t.ics", Calendar(row.events)}}, {row.from, row.until, row.zone},
                                &agenda, &messages))
        << row.what;
    EXPECT_EQ(row.lines, Lines(agenda)) << row.what;
    EXPECT_TRUE(messages.empty()) << row.what << ": "
                                  << (messages.empty() ? "" : Shown(messages[0]));
  }
}

TEST(CalendarImport, WarningsAndDamage) {
  using K = CalendarMessageKind;
  using D = CalendarDamage;
  const struct {
    const char* what;
    std::string calendar;
    CalendarMessage message;
  } rows[] = {
      {"a zone no one knows",
       Calendar("BEGIN:VEVENT\nDTSTART;TZID=Nowhere/City:20270105T100000\nSUMMARY:T\n"
                "END:VEVENT\n"),
       {K::kUnknownZone, "t.ics", 4, {"Nowhere/City", "T"}}},
      {"no start",
       Calendar("BEGIN:VEVENT\nSUMMARY:S\nEND:VEVENT\n"),
       {K::kNoStart, "t.ics", 4, {"S"}}},
      {"a character Shift-JIS lacks",
       Calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270105\nSUMMARY:Beer🍻\nEND:VEVENT\n"),
       {K::kSubstituted, "t.ics", 4, {"Beer🍻"}}},
      {"not iCalendar", "2027/01/05 x\n", {K::kNotICalendar, "t.ics", 1, {}}},
      {"cut short",
       "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270105\n",
       {K::kDamaged, "t.ics", 3, {"VEVENT"}, D::kEndsOpen}},
      {"a line of no property",
       "BEGIN:VCALENDAR\nno line\nEND:VCALENDAR\n",
       {K::kDamaged, "t.ics", 2, {"no line"}, D::kNotContentLine}},
      {"an event after the calendar",
       "BEGIN:VCALENDAR\nEND:VCALENDAR\nBEGIN:VEVENT\n",
       {K::kDamaged, "t.ics", 3, {}, D::kCalendarExpected}},
      {"an END with nothing open",
       "BEGIN:VCALENDAR\nEND:VCALENDAR\nEND:VCALENDAR\n",
       {K::kDamaged, "t.ics", 3, {}, D::kEndWithoutBegin}},
      {"the wrong END",
       "BEGIN:VCALENDAR\nBEGIN:VEVENT\nEND:VTODO\n",
       {K::kDamaged, "t.ics", 3, {"VEVENT"}, D::kEndExpected}},
      {"a property after the calendar",
       "BEGIN:VCALENDAR\nEND:VCALENDAR\nSUMMARY:x\n",
       {K::kDamaged, "t.ics", 3, {}, D::kOutsideCalendar}},
      {"Shift-JIS",
       Calendar("BEGIN:VEVENT\nSUMMARY:\x82\xa0\nEND:VEVENT\n"),
       {K::kDamaged, "t.ics", 5, {}, D::kNotUtf8}},
      {"30 February, before a bad value",
       Calendar("BEGIN:VEVENT\nDTSTART:20270230T100000\nDTEND:x\nEND:VEVENT\n"),
       {K::kDamaged, "t.ics", 5, {"DTSTART"}, D::kNotADate}},
      {"a DATE-TIME that is none",
       Calendar("BEGIN:VEVENT\nSUMMARY:\nDTEND:2027\nEND:VEVENT\n"),
       {K::kDamaged, "t.ics", 6, {"DTEND", "DATE-TIME"}, D::kBadValue}},
      {"a DATE that is none",
       Calendar("BEGIN:VEVENT\nDTSTART;VALUE=date:2027\nEND:VEVENT\n"),
       {K::kDamaged, "t.ics", 5, {"DTSTART", "DATE"}, D::kBadValue}},
      {"a VALUE the property cannot have",
       Calendar("BEGIN:VEVENT\nDTSTART;VALUE=TEXT:20270105\nEND:VEVENT\n"),
       {K::kDamaged,
        "t.ics",
        5,
        {"DTSTART", "DTSTART;VALUE=TEXT:20270105"},
        D::kBadParameterValue}},
      {"a parameter without a value",
       Calendar("BEGIN:VEVENT\nDTSTART;FOO:20270105\nEND:VEVENT\n"),
       {K::kDamaged, "t.ics", 5, {"DTSTART", "DTSTART;FOO:20270105"}, D::kBadParameterName}},
      {"a property libical does not know",
       Calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270105\nFOO:bar\nEND:VEVENT\n"),
       {K::kDamaged, "t.ics", 6, {"FOO"}, D::kUnknownProperty}},
  };
  for (const auto& row : rows) {
    std::string agenda;
    std::vector<CalendarMessage> messages;
    const bool read = ImportCalendars(
        {{"t.ics", row.calendar}}, {{2027, 1, 1}, {2027, 1, 31}, "Asia/Tokyo"}, &agenda, &messages);
    EXPECT_EQ(!IsCalendarError(row.message.kind), read) << row.what;
    EXPECT_EQ(Shown(row.message), messages.empty() ? "none" : Shown(messages.back())) << row.what;
  }
}

std::string AsGiven(const std::string& name) { return name; }

// A source's record may take a whole line: %XX makes three bytes of each byte
// beyond ASCII, and a source of fewer bytes than half a line can overflow it.
TEST(CalendarEngine, SourceRecordsUpToALine) {
  std::string japanese;
  for (int i = 0; i < 136; ++i) japanese += "予";  // 408 bytes, 1224 as recorded
  const struct {
    std::string source;
    ImportOutcome outcome;
  } rows[] = {
      {"/nowhere/" + std::string(600, 'a') + ".ics", ImportOutcome::kCannotReadSource},
      {"/nowhere/" + std::string(1020, 'a') + ".ics", ImportOutcome::kSourceTooLong},
      {japanese + ".ics", ImportOutcome::kSourceTooLong},
  };
  for (const auto& row : rows) {
    ImportOrigin origin;
    origin.sources = {row.source};
    const ImportResult result = ImportAgenda(origin, "", {{2027, 1, 1}, {}, AsGiven, AsGiven});
    EXPECT_EQ(static_cast<int>(row.outcome), static_cast<int>(result.outcome))
        << row.source.size() << " bytes";
    if (row.outcome != ImportOutcome::kSourceTooLong) continue;
    EXPECT_EQ(Quoted(row.source, 200), result.subject);
    EXPECT_EQ(kLongestOriginLine, result.longest);
  }
}

// A zone's name comes from an agenda file's header too: only a name found as a
// zone in the zone data reaches libical, which would take any path.
TEST(CalendarEngine, ZoneNamesAreData) {
  const struct {
    const char* name;
    bool known;
  } rows[] = {
      {"Asia/Tokyo", true},          {"/usr/share/zoneinfo/Asia/Tokyo", false},
      {"Asia/../Asia/Tokyo", false}, {"Asia", false},  // a folder
      {"Asia/Tokyo\n", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.known, IsKnownZone(row.name)) << "\"" << row.name << "\"";
  }
}

}  // namespace
