// make_zone_folder: writes the time zones of this machine's tzdata as the zone
// folder libical reads on Windows, where it has no system zone data of its
// own: zones.tab listing every zone, and Area/City.ics holding each zone's
// VTIMEZONE as this machine's libical makes it from tzdata.
//   make_zone_folder TZDATA-FOLDER OUTPUT-FOLDER
#include <dirent.h>
#include <libical/ical.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The zone names under `folder` (relative to `root`): files that begin with
// tzdata's "TZif" mark, outside the "posix" and "right" copies.
void FindZones(const std::string& root, const std::string& folder,
               std::vector<std::string>* zones) {
  DIR* dir = opendir((root + "/" + folder).c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name[0] == '.' || (folder.empty() && (name == "posix" || name == "right"))) continue;
    const std::string relative = folder.empty() ? name : folder + "/" + name;
    struct stat status;
    if (stat((root + "/" + relative).c_str(), &status) != 0) continue;
    if (S_ISDIR(status.st_mode)) {
      FindZones(root, relative, zones);
      continue;
    }
    char mark[4] = {0, 0, 0, 0};
    FILE* file = fopen((root + "/" + relative).c_str(), "rb");
    if (file == nullptr) continue;
    const bool tzif = fread(mark, 1, 4, file) == 4 && memcmp(mark, "TZif", 4) == 0;
    fclose(file);
    // libical's list names zones as Area/City; a bare name it finds itself.
    if (tzif && relative.find('/') != std::string::npos) zones->push_back(relative);
  }
  closedir(dir);
}

bool Write(const std::string& path, const std::string& text) {
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
  return fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: make_zone_folder TZDATA-FOLDER OUTPUT-FOLDER\n");
    return 2;
  }
  const std::string output = argv[2];
  std::vector<std::string> zones;
  FindZones(argv[1], "", &zones);
  std::sort(zones.begin(), zones.end());
  std::string table;
  size_t written = 0;
  for (const std::string& zone : zones) {
    icaltimezone* builtin = icaltimezone_get_builtin_timezone(zone.c_str());
    icalcomponent* vtimezone = builtin != nullptr ? icaltimezone_get_component(builtin) : nullptr;
    if (vtimezone == nullptr) continue;
    icalcomponent* calendar = icalcomponent_new_vcalendar();
    icalcomponent_add_property(calendar,
                               icalproperty_new_prodid("-//Vorlinde//make_zone_folder//EN"));
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_component(calendar, icalcomponent_new_clone(vtimezone));
    const std::string area = zone.substr(0, zone.rfind('/'));
    for (size_t slash = 0; (slash = area.find('/', slash + 1)) != std::string::npos;) {
      mkdir((output + "/" + area.substr(0, slash)).c_str(), 0755);
    }
    mkdir((output + "/" + area).c_str(), 0755);
    char* text = icalcomponent_as_ical_string_r(calendar);
    const bool ok = Write(output + "/" + zone + ".ics", text);
    icalmemory_free_buffer(text);
    icalcomponent_free(calendar);
    if (!ok) {
      fprintf(stderr, "make_zone_folder: cannot write %s/%s.ics\n", output.c_str(), zone.c_str());
      return 1;
    }
    // libical reads a position before the name; it is not used here.
    table += "+0000000 +0000000 " + zone + "\n";
    ++written;
  }
  if (written == 0 || !Write(output + "/zones.tab", table)) {
    fprintf(stderr, "make_zone_folder: no zones written to %s\n", output.c_str());
    return 1;
  }
  printf("make_zone_folder: %zu zones in %s\n", written, output.c_str());
  return 0;
}
