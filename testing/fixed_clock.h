// The clock of the unit-test programs: the module's objects are linked with
// this instead of the system clock, so tests compose for any instant.
#pragma once

#include <time.h>

namespace fixed_clock {

// Sets the instant the module takes as "now"; until set, it is the real time.
void Set(time_t instant);
// The instant of a local date and time in the current time zone.
time_t LocalInstant(int year, int month, int day, int hour, int minute);

}  // namespace fixed_clock
