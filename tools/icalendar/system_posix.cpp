#include "tools/icalendar/system.h"

void FindZoneFolder() {}
