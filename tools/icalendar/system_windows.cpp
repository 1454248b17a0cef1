#include <libical/ical.h>
#include <windows.h>

#include <string>

#include "tools/icalendar/system.h"

void FindZoneFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  std::string folder(path, length);
  folder.erase(folder.find_last_of("\\/") + 1);
  set_zone_directory((folder + "zoneinfo").c_str());
}
