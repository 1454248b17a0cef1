// The terminal on Linux: UTF-8, its language from the locale messages follow.
#include <stdlib.h>
#include <unistd.h>

#include "tools/console/console.h"
#include "tools/encodings/encodings.h"

void PrintText(FILE* stream, const std::string& utf8) { fputs(utf8.c_str(), stream); }

void PrintShiftJis(FILE* stream, const std::string& shiftJis) {
  fputs(ShiftJisToUtf8(shiftJis).c_str(), stream);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::string EnvironmentText(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? value : "";
}

std::string ArgumentToUtf8(const std::string& argument) { return argument; }

bool TerminalIsJapanese(const std::string& messageLocale) {
  return messageLocale.compare(0, 2, "ja") == 0;
}

void SetBinaryOutput() {}

unsigned long ConsoleProcessCount() { return 0; }

bool InputIsConsole() { return isatty(STDIN_FILENO) != 0; }
