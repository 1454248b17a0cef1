// Bytes as printable text for failure messages, shared by the tests and the
// fuzz targets: ASCII as is, every other byte as \xNN, so that Shift-JIS
// differences show.
#pragma once

#include <stdio.h>

#include <string>

namespace testing_support {

inline std::string Escaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

// Where two long byte strings first differ, with the bytes around it from
// each, escaped: for failure messages too long to show whole.
inline std::string FirstDifference(const std::string& expected, const std::string& got) {
  size_t at = 0;
  while (at < expected.size() && at < got.size() && expected[at] == got[at]) ++at;
  if (at == expected.size() && at == got.size()) return "no difference";
  const size_t from = at > 16 ? at - 16 : 0;
  return "first difference at byte " + std::to_string(at) + " of " +
         std::to_string(expected.size()) + " expected, " + std::to_string(got.size()) +
         " got: expected \"..." + Escaped(expected.substr(from, 48)) + "...\", got \"..." +
         Escaped(got.substr(from, 48)) + "...\"";
}

}  // namespace testing_support
