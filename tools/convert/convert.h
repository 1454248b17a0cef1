// Re-encoding an agenda file saved by today's editors (UTF-8 with or without
// a byte-order mark, UTF-16 with one) as the Shift-JIS the plug-in reads,
// character by character, so that line ends and everything else stay as they
// were.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

enum class SourceEncoding {
  kShiftJis,
  kUtf8,
  kUtf8ByteOrderMark,
  kUtf16LittleEndian,
  kUtf16BigEndian,
  kNotText
};

// A character that has no Shift-JIS form.
struct Unconvertible {
  size_t line;    // from 1
  size_t column;  // in characters, from 1
  char32_t character;
};

struct Conversion {
  SourceEncoding from;
  std::string shiftJis;  // the converted bytes; empty unless from a Unicode encoding
  std::vector<Unconvertible> unconvertible;  // in the file's order
};

// The Shift-JIS bytes of `bytes`. Characters with no Shift-JIS form are listed
// and, when `substitute`, written as the customary substitute 〓; otherwise the
// conversion is not to be saved. A file that is Shift-JIS (or plain ASCII)
// already, or that is no valid text in any of the encodings, is only named.
Conversion ConvertToShiftJis(const std::string& bytes, bool substitute);

// The character as UTF-8.
std::string Utf8Of(char32_t character);

// UTF-8 text (a calendar's summary) in Shift-JIS, each character as
// ConvertToShiftJis writes it; a character with no Shift-JIS form, or a byte
// that is not UTF-8, becomes 〓, and `*substituted` is then set.
std::string Utf8ToShiftJis(const std::string& utf8, bool* substituted);
