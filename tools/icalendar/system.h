// What the calendar bridge does differently on Linux (system_posix.cpp) and
// Windows (system_windows.cpp).
#pragma once

#include <string>

// Tells libical where its zone folder is when it has one of its own: on
// Windows the folder "zoneinfo" beside the program, shipped with it; on Linux
// libical reads the system's time zone data and nothing is done.
void FindZoneFolder();

// Whether the zone data libical reads holds the zone `name` (already a zone's
// name, as IsKnownZone checks) as a regular file: on Linux
// /usr/share/zoneinfo/NAME, on Windows zoneinfo\\NAME.ics beside the program.
bool ZoneFileFound(const std::string& name);
