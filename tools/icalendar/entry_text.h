// The entry texts the calendar bridge writes into agenda lines: texts that
// the module and the checker read back exactly as meant.
#pragma once

#include <stddef.h>

#include <string>

#include "agenda/line.h"

// Where the entry text begins in the lines the calendar bridge writes: after
// the date columns and a blank, and after a time of day or the end of an
// event continued from an earlier day:
//   "2027/01/05 Kick-off"          an all-day entry
//   "2027/01/05 10:00 Kick-off"    "hh:mm " where an event starts
//   "2027/01/06 ～18:00 Kick-off"  "～hh:mm " where it ends on a later day (the
//                                  wave dash two bytes in Shift-JIS), "～ " between
constexpr size_t kEntryTextAt = kAgendaTextColumn + 1;
constexpr size_t kTimedEntryTextAt = kEntryTextAt + sizeof "hh:mm " - 1;
constexpr size_t kContinuedEntryTextAt = kTimedEntryTextAt + 2;

// A summary (UTF-8) as an entry text in Shift-JIS of at most `room` bytes:
// line breaks, tabs and other control characters become spaces, leading
// blanks go (the module skips them), an empty text becomes "（無題）", and a
// character cut at `room` is left out whole. `*substituted` and `*shortened`
// are set when a character had to be given the geta mark or the text was cut.
std::string EntryText(const std::string& summary, size_t room, bool* substituted, bool* shortened);
