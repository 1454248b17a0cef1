// Importing iCalendar files into an agenda file: the events of a window of
// days as agenda lines, a repetition the format can say exactly as one
// wildcard line.
#pragma once

#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "tools/icalendar/messages.h"

struct ImportOptions {
  AgendaDate from;   // the window's first day
  AgendaDate until;  // its last day
  // The time zone local times are given in (a name such as "Asia/Tokyo"), or
  // empty for the machine's own.
  std::string zone;
};

struct CalendarText {
  std::string name;  // the file or address, as messages name it (UTF-8)
  std::string text;  // its contents
};

// Whether `name` reads as a zone's name: letters, digits, "/", "_", "-" and
// "+", not absolute and with no "..", so that it names nothing outside the
// zone data whoever wrote it (an agenda file's header is data).
bool IsZoneName(const std::string& name);

// Whether `name` is a zone's name that the zone data holds and libical knows.
bool IsKnownZone(const std::string& name);

// The agenda lines (Shift-JIS, CR LF) of the events of the calendars in the
// window: the dated lines in date order, then the wildcard lines in the
// calendars' order. False, with an error in `*messages`, when a calendar is
// not iCalendar or is damaged; warnings are added to `*messages` as well.
bool ImportCalendars(const std::vector<CalendarText>& calendars, const ImportOptions& options,
                     std::string* agenda, std::vector<CalendarMessage>* messages);
