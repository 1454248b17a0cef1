#include <libical/ical.h>
#include <windows.h>

#include "tools/calendar/system.h"

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

void FindZoneFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  std::string folder(path, length);
  folder.erase(folder.find_last_of("\\/") + 1);
  set_zone_directory((folder + "zoneinfo").c_str());
}
