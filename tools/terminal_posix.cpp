#include <errno.h>
#include <iconv.h>
#include <stdlib.h>
#include <string.h>

#include "tools/terminal.h"

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

std::string ToTerminalText(const std::string& shiftJis) { return ShiftJisToUtf8(shiftJis); }

std::string Utf8ToTerminalText(const std::string& utf8) { return utf8; }

bool TerminalIsJapanese() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(name);
    if (value != nullptr && value[0] != '\0') return strncmp(value, "ja", 2) == 0;
  }
  return false;
}

void SetBinaryOutput() {}

bool CanShowDialogs() { return false; }
