// The entry texts the calendar bridge writes into agenda lines: texts that
// the module and the checker read back exactly as meant.
#pragma once

#include <stddef.h>

#include <string>

// A summary (UTF-8) as an entry text in Shift-JIS of at most `room` bytes:
// line breaks, tabs and other control characters become spaces, leading
// blanks go (the module skips them), an empty text becomes "（無題）", and a
// character cut at `room` is left out whole. `*substituted` and `*shortened`
// are set when a character had to be given the geta mark or the text was cut.
std::string EntryText(const std::string& summary, size_t room, bool* substituted, bool* shortened);
