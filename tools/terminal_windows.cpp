#include <windows.h>

#include "tools/terminal.h"

std::string ToTerminalText(const std::string& shiftJis) {
  if (shiftJis.empty()) return shiftJis;
  const int size = static_cast<int>(shiftJis.size());
  const int wide = MultiByteToWideChar(932, 0, shiftJis.data(), size, nullptr, 0);
  if (wide <= 0) return shiftJis;
  std::wstring utf16(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(932, 0, shiftJis.data(), size, &utf16[0], wide);
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

bool CanShowDialogs() { return true; }
