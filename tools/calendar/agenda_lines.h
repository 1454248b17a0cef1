// The lines the calendar bridge writes into agenda files: a date in the fixed
// columns and an entry text that the module and the checker read back
// exactly as meant.
#pragma once

#include <stddef.h>

#include <string>

#include "agenda/agenda.h"

// The longest line the module reads whole.
constexpr size_t kLongestAgendaLine = 1023;

// "YYYY/MM/DD"; a zero field is written as zeros (a wildcard).
std::string DateColumns(AgendaDate date);

// A summary (UTF-8) as an entry text in Shift-JIS of at most `room` bytes:
// line breaks, tabs and other control characters become spaces, leading
// blanks go (the module skips them), an empty text becomes "（無題）", and a
// character cut at `room` is left out whole. `*substituted` and `*shortened`
// are set when a character had to be given the geta mark or the text was cut.
std::string EntryText(const std::string& summary, size_t room, bool* substituted, bool* shortened);
