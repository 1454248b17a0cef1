// The terminal on Linux: UTF-8, its language from the locale variables.
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "tools/console/console.h"
#include "tools/encodings/encodings.h"

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

unsigned long ConsoleProcessCount() { return 0; }

bool InputIsConsole() { return isatty(STDIN_FILENO) != 0; }
