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
  return WideToUtf8(utf16);
}

std::wstring Utf8ToWide(const std::string& utf8) {
  const std::u16string utf16 = Utf8ToUtf16(utf8);
  return std::wstring(utf16.begin(), utf16.end());
}

std::string WideToUtf8(const std::wstring& wide) {
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

bool CodePage932Of(char32_t character, std::string* out) {
  std::u16string units;
  AppendUtf16(character, &units);
  const std::wstring wide(units.begin(), units.end());
  char converted[8];
  BOOL usedDefault = FALSE;
  const int bytes = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(),
                                        static_cast<int>(wide.size()), converted, sizeof converted,
                                        nullptr, &usedDefault);
  if (bytes <= 0 || usedDefault) return false;
  out->append(converted, static_cast<size_t>(bytes));
  return true;
}

bool AnsiName(const std::string& utf8, std::string* ansi) {
  ansi->clear();
  // Where the ANSI code page is UTF-8 every name has its bytes, and
  // WideCharToMultiByte would refuse the flag and the check below.
  if (GetACP() == CP_UTF8 || utf8.empty()) {
    *ansi = utf8;
    return true;
  }
  bool valid = true;
  const std::u16string units = Utf8ToUtf16(utf8, &valid);
  const std::wstring wide(units.begin(), units.end());
  const int size = static_cast<int>(wide.size());
  // A character the code page lacks is written "?", which no file name holds.
  const char question[] = "?";
  BOOL usedDefault = FALSE;
  const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                        question, &usedDefault);
  if (bytes <= 0) return false;
  ansi->assign(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, &(*ansi)[0], bytes, question,
                      &usedDefault);
  return valid && !usedDefault;
}

// The chip reads its list in the ANSI code page, as a file is opened here.
bool ToAnsiCodePage(const std::string& utf8, std::string* ansi) { return AnsiName(utf8, ansi); }
