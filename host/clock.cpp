#include "host/clock.h"

#include "agenda/calendar.h"

// time_t is 64 bits wide in every build (the Windows builds ask the C runtime
// for its 64-bit functions), so dates past 2038 convert like any other.
static_assert(sizeof(time_t) == 8, "the clock keeps time in 64 bits");

bool LocalDate(int dayOffset, AgendaDate* date) {
  const time_t now = CurrentInstant();
  const struct tm* local = localtime(&now);
  if (local == nullptr) return false;
  const AgendaDate today = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
  *date = AddDays(today, dayOffset);
  return true;
}
