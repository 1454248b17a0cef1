#include <libical/ical.h>
#include <windows.h>

#include <string>

#include "tools/encodings/encodings.h"
#include "tools/icalendar/system.h"

namespace {

// The program's zone folder (wide), "" when the program's path cannot be had.
std::wstring ZoneFolder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return L"";
  path.resize(length);
  path.erase(path.find_last_of(L"\\/") + 1);
  return path + L"zoneinfo";
}

}  // namespace

void FindZoneFolder() {
  // libical opens the zone files with the narrow functions: the folder is
  // given in the ANSI code page, or by its short name when that code page
  // lacks a character of it.
  const std::wstring path = ZoneFolder();
  if (path.empty()) return;
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

bool ZoneFileFound(const std::string& name) {
  const std::wstring folder = ZoneFolder();
  if (folder.empty()) return false;
  const DWORD attributes =
      GetFileAttributesW((folder + L"\\" + Utf8ToWide(name) + L".ics").c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}
