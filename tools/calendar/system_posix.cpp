#include <iconv.h>
#include <stdio.h>

#include "tools/calendar/shift_jis.h"
#include "tools/calendar/system.h"

bool AppendShiftJisCharacter(uint32_t codePoint, std::string* out) {
  if (codePoint < 0x80) {
    *out += static_cast<char>(codePoint);
    return true;
  }
  static iconv_t cd = iconv_open("CP932", "UTF-32LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char in[4] = {static_cast<char>(codePoint), static_cast<char>(codePoint >> 8),
                static_cast<char>(codePoint >> 16), 0};
  char bytes[8];
  char* inPtr = in;
  size_t inLeft = sizeof in;
  char* outPtr = bytes;
  size_t outLeft = sizeof bytes;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
  out->append(bytes, outPtr - bytes);
  return true;
}

std::string ArgumentToUtf8(const std::string& argument) { return argument; }

bool ReplaceFileWith(const std::string& temporary, const std::string& target) {
  return rename(temporary.c_str(), target.c_str()) == 0;
}

void FindZoneFolder() {}
