// What the calendar bridge does differently on Linux (system_posix.cpp) and
// Windows (system_windows.cpp).
#pragma once

// Tells libical where its zone folder is when it has one of its own: on
// Windows the folder "zoneinfo" beside the program, shipped with it; on Linux
// libical reads the system's time zone data and nothing is done.
void FindZoneFolder();
