// Exporting agenda files as one iCalendar: an all-day event for each entry
// line, its wildcards as a repetition rule.
#pragma once

#include <time.h>

#include <string>
#include <vector>

#include "tools/checker/checker.h"
#include "tools/icalendar/messages.h"

struct AgendaFileName {
  std::string name;   // as it is opened
  std::string shown;  // as messages name it (UTF-8)
};

// What export tells: a message, and for kLeftOut and kFileLeftOut the
// checker's finding that is why, for the program to word (the message's
// arguments are left empty).
struct ExportMessage {
  CalendarMessage message;
  Finding why;
};

// The iCalendar text (UTF-8, CR LF, folded at 75 octets) of the entry lines of
// the files, in their order, `stamp` as each event's DTSTAMP. Each line is
// read as the plug-in reads it and asked about of the checker: a line it
// warns about is left out, and so is a file not saved as Shift-JIS, each
// told in `*messages` with the finding. False, with a kUnreadable message,
// when a file cannot be read.
bool ExportAgendas(const std::vector<AgendaFileName>& files, time_t stamp, std::string* ics,
                   std::vector<ExportMessage>* messages);

// `text` (CR LF lines) with every line longer than 75 octets folded, never
// inside a UTF-8 character.
std::string FoldLines(const std::string& text);
