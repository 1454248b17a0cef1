// Where an agenda file that import wrote came from, written in its leading
// comment lines (which the plug-in passes over), so that refresh can make the
// file again from the same calendars, in the same time zone, with its window
// of days moved to the day it runs:
//   ; vorlinde-agenda import 2026/12/02 - 2027/12/09
//   ; source: calendar.ics
//   ; source: https://calendar.example.com/private-key/basic.ics
//   ; zone: Asia/Tokyo
//   ; window: -7 days to +1 year
// A source is a web address, or a file: by its name alone when it lies beside
// the agenda file, else by its full path. Bytes outside printable ASCII, and
// "%", are written as %XX, so that any name comes back byte for byte.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"

// A window of days counted from the day of the import.
struct ImportWindow {
  int32_t fromDays = -7;   // the first day
  bool untilAYear = true;  // the last day a year after the day of the import,
  int32_t untilDays = 0;   // or this many days after it

  AgendaDate First(AgendaDate today) const;
  AgendaDate Last(AgendaDate today) const;
};

struct ImportOrigin {
  std::vector<std::string> sources;
  std::string zone;  // empty: the time zone of the machine the import runs on
  ImportWindow window;
};

// The leading comment lines (ASCII, CR LF) of an agenda file imported on
// `today` from `origin`. False when a line would be too long for the plug-in
// to read it whole, and so be taken for an entry.
bool WriteOrigin(const ImportOrigin& origin, AgendaDate today, std::string* header);

// The origin recorded in an agenda file's leading comment lines; false when
// they record none: import did not write the file.
bool ReadOrigin(const std::string& agenda, ImportOrigin* origin);
