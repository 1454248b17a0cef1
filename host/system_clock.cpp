#include "host/clock.h"

time_t CurrentInstant() { return time(nullptr); }
