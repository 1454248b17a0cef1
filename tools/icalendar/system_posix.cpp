#include <sys/stat.h>

#include "tools/icalendar/system.h"

void FindZoneFolder() {}

bool ZoneFileFound(const std::string& name) {
  struct stat status;
  const std::string path = "/usr/share/zoneinfo/" + name;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}
