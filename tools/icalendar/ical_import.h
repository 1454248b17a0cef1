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

// Whether libical knows the time zone `name`.
bool IsKnownZone(const std::string& name);

// The agenda lines (Shift-JIS, CR LF) of the events of the calendars in the
// window: the dated lines in date order, then the wildcard lines in the
// calendars' order. False, with an error in `*messages`, when a calendar is
// not iCalendar or is damaged; warnings are added to `*messages` as well.
bool ImportCalendars(const std::vector<CalendarText>& calendars, const ImportOptions& options,
                     std::string* agenda, std::vector<CalendarMessage>* messages);
