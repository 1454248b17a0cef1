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

// A content line of the file as scanned: its property's name (upper-cased),
// where it begins, and the line unfolded.
struct ScannedProperty {
  std::string name;
  size_t line;
  std::string text;
};

// A component of the file as scanned: its name (upper-cased), where it
// begins, and its content lines and components, in the file's order.
struct ScannedComponent {
  std::string name;
  size_t line = 0;
  std::vector<ScannedProperty> properties;
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
// an error in `*messages`, when it is not iCalendar or is damaged: the lines
// do not nest, libical could not read a line (an empty value aside, which it
// drops), or a date in it is not a date. A damage libical found is told at
// the first line it cannot read on its own.
bool ReadCalendarFile(const std::string& name, const std::string& text, CalendarFile* file,
                      std::vector<CalendarMessage>* messages);
