#include "testing/time_zone.h"

#include <stdlib.h>
#include <time.h>

namespace fixed_clock {

TimeZone::TimeZone(const char* zone) {
  const char* old = getenv("TZ");
  hadOld_ = old != nullptr;
  if (hadOld_) old_ = old;
  setenv("TZ", zone, 1);
  tzset();
}

TimeZone::~TimeZone() {
  if (hadOld_) {
    setenv("TZ", old_.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace fixed_clock
