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

// `text` in code page `from` as code page `to`; characters that `to` lacks
// come out as "?". UTF-8 is converted by tools/encodings/, any other code
// page by the system's table.
std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty() || from == to) return text;
  std::wstring utf16;
  if (from == CP_UTF8) {
    utf16 = Utf8ToWide(text);
  } else {
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
    if (wide <= 0) return text;
    utf16.assign(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(from, 0, text.data(), size, &utf16[0], wide);
  }
  if (to == CP_UTF8) return WideToUtf8(utf16);
  const int wide = static_cast<int>(utf16.size());
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

void PrintText(FILE* stream, const std::string& utf8) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    fputs(Utf8ToTerminalText(utf8).c_str(), stream);
    return;
  }
  // What the C runtime holds yet goes first, so that the order stays.
  fflush(stream);
  const std::wstring wide = Utf8ToWide(utf8);
  DWORD written = 0;
  for (size_t at = 0; at < wide.size(); at += written) {
    const DWORD units = static_cast<DWORD>(wide.size() - at < 8192 ? wide.size() - at : 8192);
    if (!WriteConsoleW(handle, wide.data() + at, units, &written, nullptr) || written == 0) return;
  }
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
