#include <libical/ical.h>
#include <windows.h>

#include <string>

#include "tools/encodings/encodings.h"
#include "tools/icalendar/system.h"

void FindZoneFolder() {
  // libical opens the zone files with the narrow functions: the folder is
  // given in the ANSI code page, or by its short name when that code page
  // lacks a character of it.
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return;
  path.resize(length);
  path.erase(path.find_last_of(L"\\/") + 1);
  path += L"zoneinfo";
  std::string folder;
  if (!AnsiName(WideToUtf8(path), &folder)) {
    std::wstring shortPath(32768, L'\0');
    const DWORD shortLength = GetShortPathNameW(path.c_str(), &shortPath[0], 32768);
    if (shortLength == 0 || shortLength >= 32768) return;
    shortPath.resize(shortLength);
    if (!AnsiName(WideToUtf8(shortPath), &folder)) return;
  }
  set_zone_directory(folder.c_str());
}
