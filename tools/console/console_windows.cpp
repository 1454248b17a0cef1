// The console on Windows: its code page, the processes that share it, and
// the command line and environment read in UTF-16.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "tools/console/console.h"
#include "tools/encodings/encodings.h"

namespace {

constexpr UINT kShiftJis = 932;

// The code page text is written in: the console's, or the system's ANSI code
// page when there is no console.
UINT OutputCodePage() {
  const UINT console = GetConsoleOutputCP();
  return console != 0 ? console : GetACP();
}

// `text` (UTF-8, or Shift-JIS as code page 932) as UTF-16.
std::wstring ToWide(const std::string& text, UINT from) {
  return Utf8ToWide(from == CP_UTF8 ? text : ShiftJisToUtf8(text));
}

// `text` in code page `from` as code page `to`; characters that `to` lacks
// come out as "?".
std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty() || from == to) return text;
  const std::wstring utf16 = ToWide(text, from);
  if (to == CP_UTF8) return WideToUtf8(utf16);
  const int wide = static_cast<int>(utf16.size());
  const int bytes = WideCharToMultiByte(to, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return text;
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, utf16.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

// Writes `text` (in code page `from`) to `stream`: to a console as UTF-16,
// so that the console's code page does not matter; to anything else (a
// file, a pipe) in the output code page.
void Print(FILE* stream, const std::string& text, UINT from) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    fputs(Convert(text, from, OutputCodePage()).c_str(), stream);
    return;
  }
  // What the C runtime holds yet goes first, so that the order stays.
  fflush(stream);
  const std::wstring wide = ToWide(text, from);
  DWORD written = 0;
  for (size_t at = 0; at < wide.size(); at += written) {
    const DWORD units = static_cast<DWORD>(wide.size() - at < 8192 ? wide.size() - at : 8192);
    if (!WriteConsoleW(handle, wide.data() + at, units, &written, nullptr) || written == 0) return;
  }
}

}  // namespace

void PrintText(FILE* stream, const std::string& utf8) { Print(stream, utf8, CP_UTF8); }

void PrintShiftJis(FILE* stream, const std::string& shiftJis) {
  Print(stream, shiftJis, kShiftJis);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(WideToUtf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

std::string EnvironmentText(const char* name) {
  // getenv, and msvcrt's _wgetenv made from it, give the ANSI code page.
  const std::wstring wide = Utf8ToWide(name);
  const DWORD size = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (size == 0) return std::string();
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(wide.c_str(), &value[0], size);
  return length < size ? WideToUtf8(value.substr(0, length)) : std::string();
}

// ProgramArguments reads the command line as UTF-16 and hands it on as
// UTF-8, so the arguments are UTF-8 already.
std::string ArgumentToUtf8(const std::string& argument) { return argument; }

bool TerminalIsJapanese(const std::string&) {
  return GetConsoleOutputCP() == kShiftJis || GetACP() == kShiftJis;
}

void SetBinaryOutput() {
  fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

unsigned long ConsoleProcessCount() {
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2);
}

bool InputIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}
