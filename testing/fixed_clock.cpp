#include "testing/fixed_clock.h"

#include "host/clock.h"

namespace {

bool isSet = false;
time_t fixedInstant = 0;

}  // namespace

time_t CurrentInstant() { return isSet ? fixedInstant : time(nullptr); }

namespace fixed_clock {

void Set(time_t instant) {
  fixedInstant = instant;
  isSet = true;
}

time_t LocalInstant(int year, int month, int day, int hour, int minute) {
  struct tm local = {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_isdst = -1;
  return mktime(&local);
}

}  // namespace fixed_clock
