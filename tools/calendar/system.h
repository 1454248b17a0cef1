// What the calendar bridge does differently on Linux (system_posix.cpp) and
// Windows (system_windows.cpp), besides converting text (shift_jis.h).
#pragma once

#include <string>

// Puts `temporary` in the place of `target`, replacing any file there, in one
// step. False when it could not.
bool ReplaceFileWith(const std::string& temporary, const std::string& target);

// Tells libical where its zone folder is when it has one of its own: on
// Windows the folder "zoneinfo" beside the program, shipped with it; on Linux
// libical reads the system's time zone data and nothing is done.
void FindZoneFolder();
