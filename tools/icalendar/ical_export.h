// Exporting agenda files as one iCalendar: an all-day event for each entry
// line, its wildcards as a repetition rule.
#pragma once

#include <time.h>

#include <string>
#include <vector>

#include "tools/icalendar/messages.h"
#include "tools/checker/checker.h"

struct AgendaFileName {
  std::string name;   // as it is opened
  std::string shown;  // as messages name it (UTF-8)
};

// The iCalendar text (UTF-8, CR LF, folded at 75 octets) of the entry lines of
// the files, in their order, `stamp` as each event's DTSTAMP. Each line is
// read as the plug-in reads it and asked about of the checker: a line it
// warns about is left out, and so is a file not saved as Shift-JIS, each
// told in `*messages` in the checker's words. False, with a kUnreadable
// message, when a file cannot be read.
bool ExportAgendas(const std::vector<AgendaFileName>& files, const CheckOptions& checking,
                   time_t stamp, std::string* ics, std::vector<CalendarMessage>* messages);

// `text` (CR LF lines) with every line longer than 75 octets folded, never
// inside a UTF-8 character.
std::string FoldLines(const std::string& text);
