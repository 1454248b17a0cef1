// Code page 932 on Windows: the system's own table.
#include <windows.h>

#include "tools/encodings/code_page.h"
#include "tools/encodings/encodings.h"

namespace {

constexpr UINT kShiftJis = 932;

}  // namespace

std::string ShiftJisToUtf8(const std::string& shiftJis) {
  if (shiftJis.empty()) return shiftJis;
  const int size = static_cast<int>(shiftJis.size());
  const int wide = MultiByteToWideChar(kShiftJis, 0, shiftJis.data(), size, nullptr, 0);
  if (wide <= 0) return shiftJis;
  std::wstring utf16(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(kShiftJis, 0, shiftJis.data(), size, &utf16[0], wide);
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return shiftJis;
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

bool CodePage932Of(char32_t character, std::string* out) {
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
