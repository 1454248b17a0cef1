#include <libical/ical.h>
#include <windows.h>

#include "tools/calendar/shift_jis.h"
#include "tools/calendar/system.h"

bool AppendShiftJisCharacter(uint32_t codePoint, std::string* out) {
  if (codePoint < 0x80) {
    *out += static_cast<char>(codePoint);
    return true;
  }
  wchar_t utf16[2];
  int units = 1;
  if (codePoint >= 0x10000) {
    utf16[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
    utf16[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    units = 2;
  } else {
    utf16[0] = static_cast<wchar_t>(codePoint);
  }
  // No "best fit" stand-ins (a plain letter for an accented one): a character
  // the code page lacks is reported, as on Linux.
  char bytes[8];
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, utf16, units, bytes,
                                         sizeof bytes, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return false;
  out->append(bytes, length);
  return true;
}

std::string ArgumentToUtf8(const std::string& argument) {
  if (argument.empty()) return argument;
  const int size = static_cast<int>(argument.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, argument.data(), size, nullptr, 0);
  if (wide <= 0) return argument;
  std::wstring utf16(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, argument.data(), size, &utf16[0], wide);
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return argument;
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

bool ReplaceFileWith(const std::string& temporary, const std::string& target) {
  return MoveFileExA(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void FindZoneFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  std::string folder(path, length);
  folder.erase(folder.find_last_of("\\/") + 1);
  set_zone_directory((folder + "zoneinfo").c_str());
}
