#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

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

bool CharacterToShiftJis(char32_t character, std::string* out) {
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

std::string ToTerminalText(const std::string& shiftJis) { return ShiftJisToUtf8(shiftJis); }

std::string Utf8ToTerminalText(const std::string& utf8) { return utf8; }

std::string ArgumentToUtf8(const std::string& argument) { return argument; }

bool TerminalIsJapanese() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(name);
    if (value != nullptr && value[0] != '\0') return strncmp(value, "ja", 2) == 0;
  }
  return false;
}

void SetBinaryOutput() {}

bool CanShowDialogs() { return false; }

unsigned long ConsoleProcessCount() { return 0; }

bool InputIsConsole() { return isatty(STDIN_FILENO) != 0; }

bool MoveFileOver(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

FILE* CreateNewFile(const std::string& name) {
  const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
  return file;
}
