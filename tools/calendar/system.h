// What the calendar bridge does differently on Linux (system_posix.cpp) and
// Windows (system_windows.cpp).
#pragma once

#include <string>

// A command-line argument (a file name, an entry's text) as UTF-8: on Linux
// arguments are UTF-8, on Windows in the system's ANSI code page.
std::string ArgumentToUtf8(const std::string& argument);

// Tells libical where its zone folder is when it has one of its own: on
// Windows the folder "zoneinfo" beside the program, shipped with it; on Linux
// libical reads the system's time zone data and nothing is done.
void FindZoneFolder();
