#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>
#include <windows.h>

#include "tools/terminal.h"

namespace {

constexpr UINT kShiftJis = 932;

// The code page text is written in: the console's, or the system's ANSI code
// page when there is no console.
UINT OutputCodePage() {
  const UINT console = GetConsoleOutputCP();
  return console != 0 ? console : GetACP();
}

// `text` in code page `from` as code page `to`; characters that `to` lacks
// come out as "?".
std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty() || from == to) return text;
  const int size = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
  if (wide <= 0) return text;
  std::wstring utf16(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), size, &utf16[0], wide);
  const int bytes = WideCharToMultiByte(to, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return text;
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, utf16.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

}  // namespace

std::string ToTerminalText(const std::string& shiftJis) {
  return Convert(shiftJis, kShiftJis, OutputCodePage());
}

std::string Utf8ToTerminalText(const std::string& utf8) {
  return Convert(utf8, CP_UTF8, OutputCodePage());
}

std::string ArgumentToUtf8(const std::string& argument) {
  return Convert(argument, CP_ACP, CP_UTF8);
}

std::string ShiftJisToUtf8(const std::string& shiftJis) {
  return Convert(shiftJis, kShiftJis, CP_UTF8);
}

bool CharacterToShiftJis(char32_t character, std::string* out) {
  wchar_t units[2];
  int count = 1;
  if (character >= 0x10000) {
    units[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<wchar_t>(character);
  }
  char converted[8];
  BOOL usedDefault = FALSE;
  const int bytes = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, units, count, converted,
                                        sizeof converted, nullptr, &usedDefault);
  if (bytes <= 0 || usedDefault) return false;
  out->append(converted, static_cast<size_t>(bytes));
  return true;
}

bool TerminalIsJapanese() { return GetConsoleOutputCP() == kShiftJis || GetACP() == kShiftJis; }

void SetBinaryOutput() {
  fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

bool CanShowDialogs() { return true; }

unsigned long ConsoleProcessCount() {
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2);
}

bool InputIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

FILE* CreateNewFile(const std::string& name) {
  const int fd =
      _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
}
