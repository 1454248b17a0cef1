#include "tools/calendar/system.h"

std::string ArgumentToUtf8(const std::string& argument) { return argument; }

void FindZoneFolder() {}
