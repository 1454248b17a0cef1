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
// the agenda file, else by its full path (RecordedSource); an agenda written
// to standard output has no place yet, and records its files as they were
// named. Bytes outside printable ASCII, the blank and "%" are written as %XX,
// so that any name comes back byte for byte.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "tools/agenda_lines/agenda_lines.h"

// The longest line of the origin: a longer one the plug-in would not read
// whole, and would take its rest for an entry.
constexpr size_t kLongestOriginLine = kLongestAgendaLine;

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
// `today` from `origin`. False when a line would be longer than
// kLongestOriginLine, `*unfit` then the index of the source it records, or
// the number of sources for another line.
bool WriteOrigin(const ImportOrigin& origin, AgendaDate today, std::string* header, size_t* unfit);

// The origin recorded in an agenda file's leading comment lines; false when
// they record none: import did not write the file.
bool ReadOrigin(const std::string& agenda, ImportOrigin* origin);

// How an agenda file to be written to `output` ("" for standard output)
// records `source`, a web address or a file as it opens from here.
std::string RecordedSource(const std::string& source, const std::string& output);

// Where the agenda file `agendaFile` finds the source it records as `recorded`,
// from here: RecordedSource the other way round.
std::string SourcePath(const std::string& recorded, const std::string& agendaFile);
