// Whether a chip can read a path from its list of files: the plug-in reads
// the list in the ANSI code page (Shift-JIS on a Japanese Windows, where a
// Japanese character takes two bytes), a line of at most `limit` bytes; a
// longer line, or a character the code page lacks, and the chip finds
// nothing.
#pragma once

#include <stddef.h>

#include <string>

struct ChipReading {
  enum Kind {
    kFits,
    kTooLong,        // `bytes` in the code page, more than `limit`
    kNotInCodePage,  // a character the code page lacks
  } kind = kFits;
  size_t bytes = 0;
  size_t limit = 0;
};

// How a chip reads the path `utf8` (UTF-8) when it is written into it.
ChipReading ChipCanRead(const std::string& utf8);
