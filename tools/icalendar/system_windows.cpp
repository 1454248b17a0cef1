#include <libical/ical.h>
#include <windows.h>

#include <string>

#include "tools/icalendar/system.h"

namespace {

// The program's zone folder, "" when the program's path cannot be had.
std::string ZoneFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return "";
  std::string folder(path, length);
  folder.erase(folder.find_last_of("\\/") + 1);
  return folder + "zoneinfo";
}

}  // namespace

void FindZoneFolder() {
  const std::string folder = ZoneFolder();
  if (!folder.empty()) set_zone_directory(folder.c_str());
}

bool ZoneFileFound(const std::string& name) {
  const std::string folder = ZoneFolder();
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesA((folder + "\\" + name + ".ics").c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}
