// The console on Windows: its code page, and the processes that share it.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

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

// `text` in code page `from` as UTF-16; UTF-8 is converted by
// tools/encodings/, any other code page by the system's table.
std::wstring ToWide(const std::string& text, UINT from) {
  if (from == CP_UTF8) return Utf8ToWide(text);
  const int size = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
  if (wide <= 0) return std::wstring();
  std::wstring utf16(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), size, &utf16[0], wide);
  return utf16;
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

// The program reads its command line as UTF-16 and hands it on as UTF-8
// (main.cpp), so its arguments are UTF-8 already.
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
