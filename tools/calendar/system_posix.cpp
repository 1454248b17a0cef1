#include "tools/calendar/system.h"

void FindZoneFolder() {}
