// Code page 932 on Linux: glibc's iconv, whose CP932 is Windows' table.
#include <errno.h>
#include <iconv.h>

#include "tools/encodings/code_page.h"
#include "tools/encodings/encodings.h"

std::string ShiftJisToUtf8(const std::string& shiftJis) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return shiftJis;
  std::string out;
  char* in = const_cast<char*>(shiftJis.data());
  size_t inLeft = shiftJis.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (done == static_cast<size_t>(-1) && errno != E2BIG) {
      // A byte that is not Shift-JIS: show a mark and go on after it.
      out += '?';
      ++in;
      --inLeft;
    }
  }
  iconv_close(cd);
  return out;
}

bool CodePage932Of(char32_t character, std::string* out) {
  static const iconv_t cd = iconv_open("CP932", "UTF-32LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char in[4] = {static_cast<char>(character), static_cast<char>(character >> 8),
                static_cast<char>(character >> 16), static_cast<char>(character >> 24)};
  char converted[8];
  char* inPtr = in;
  char* outPtr = converted;
  size_t inLeft = sizeof in, outLeft = sizeof converted;
  const bool done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  if (done) out->append(converted, outPtr - converted);
  return done;
}

bool ToAnsiCodePage(const std::string& utf8, std::string* ansi) {
  bool substituted = false;
  *ansi = Utf8ToShiftJis(utf8, &substituted);
  return !substituted;
}

bool AnsiName(const std::string& utf8, std::string* ansi) {
  *ansi = utf8;
  return true;
}
