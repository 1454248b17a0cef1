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

}  // namespace testing_support
