// Exporting agenda files as one iCalendar: an all-day event for each entry
// line, its wildcards as a repetition rule.
#pragma once

#include <stddef.h>
#include <time.h>

#include <map>
#include <string>
#include <vector>

#include "tools/calendar/messages.h"

struct AgendaExportFile {
  std::string name;
  // Why the whole file is left out (it is not Shift-JIS), or empty.
  std::string fileLeftOut;
  // The lines left out, by number (from 1), with why: those the checker finds
  // the plug-in reads otherwise than they look.
  std::map<size_t, std::string> linesLeftOut;
};

// The iCalendar text (UTF-8, CR LF, folded at 75 octets) of the entry lines of
// the files, in their order, `stamp` as each event's DTSTAMP. The lines and
// files left out are told in `*messages`. False when a file cannot be read.
bool ExportAgendas(const std::vector<AgendaExportFile>& files, time_t stamp, std::string* ics,
                   std::vector<CalendarMessage>* messages);

// `text` (CR LF lines) with every line longer than 75 octets folded, never
// inside a UTF-8 character.
std::string FoldLines(const std::string& text);
