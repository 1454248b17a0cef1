// Re-encoding an agenda file saved by today's editors (UTF-8 with or without
// a byte-order mark, UTF-16 with one) as the Shift-JIS the plug-in reads,
// character by character, so that line ends and everything else stay as they
// were.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "tools/encodings/encodings.h"

// A character that has no Shift-JIS form.
struct Unconvertible {
  size_t line;    // from 1
  size_t column;  // in characters, from 1
  char32_t character;
};

struct Conversion {
  Encoding from;
  std::string shiftJis;  // the converted bytes; empty unless from a Unicode encoding
  std::vector<Unconvertible> unconvertible;  // in the file's order
};

// The Shift-JIS bytes of `bytes`. Characters with no Shift-JIS form are listed
// and, when `substitute`, written as the customary substitute 〓; otherwise the
// conversion is not to be saved. A file that is Shift-JIS (or plain ASCII)
// already, or that is no valid text in any of the encodings, is only named.
Conversion ConvertToShiftJis(const std::string& bytes, bool substitute);
