// Reading an iCalendar file with libical, with the line numbers libical does
// not keep: the file's content lines are scanned first, so that a file that
// is not iCalendar or is damaged is reported at its line, and every component
// libical gives back can be named by the line it begins on.
#pragma once

#include <libical/ical.h>
#include <stddef.h>

#include <string>
#include <vector>

#include "tools/icalendar/messages.h"

// A component of the file as scanned: where it begins and which content lines
// (property names, upper-cased) it holds, in the file's order.
struct ScannedComponent {
  size_t line = 0;
  std::vector<std::pair<std::string, size_t>> properties;
  std::vector<ScannedComponent> children;
};

struct CalendarFile {
  icalcomponent* root = nullptr;  // a VCALENDAR, or an XROOT holding several
  ScannedComponent scanned;       // the same tree, as scanned
  CalendarFile() = default;
  CalendarFile(const CalendarFile&) = delete;
  CalendarFile& operator=(const CalendarFile&) = delete;
  ~CalendarFile();
};

// Reads the iCalendar text `text` of the file `name` into `*file`. False, with
// an error in `*messages`, when it is not iCalendar or is damaged: libical
// could not read a property, or a date in it is not a date.
bool ReadCalendarFile(const std::string& name, const std::string& text, CalendarFile* file,
                      std::vector<CalendarMessage>* messages);
