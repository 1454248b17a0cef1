#include "host/clock.h"

AgendaDate LocalDateAt(time_t now, int dayOffset) {
  const struct tm* local = localtime(&now);
  if (local == nullptr) return AgendaDate{0, 0, 0};
  struct tm day = *local;
  if (dayOffset != 0) {
    // Noon of the neighbouring day, normalised by the C library, lies on that
    // calendar date whatever the length of the days in between.
    day.tm_mday += dayOffset;
    day.tm_hour = 12;
    day.tm_min = 0;
    day.tm_sec = 0;
    day.tm_isdst = -1;
    if (mktime(&day) == static_cast<time_t>(-1)) return AgendaDate{0, 0, 0};
  }
  return AgendaDate{day.tm_year + 1900, day.tm_mon + 1, day.tm_mday};
}

AgendaDate LocalDate(int dayOffset) { return LocalDateAt(CurrentInstant(), dayOffset); }
