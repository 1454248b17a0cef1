// Local dates for today and the days around it, in time zones with and
// without daylight saving.
#include "host/clock.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <string>

#include "tests/fixed_clock.h"
#include "tests/time_zone.h"

namespace {

std::string Text(bool converted, AgendaDate date) {
  if (!converted) return "(not converted)";
  return std::to_string(date.year) + "-" + std::to_string(date.month) + "-" +
         std::to_string(date.day);
}

TEST(LocalDateAt, DaysAroundAnInstant) {
  const struct {
    const char* zone;
    int year, month, day, hour, minute;
    int offset;
    const char* expected;
  } cases[] = {
      {"Asia/Tokyo", 1998, 4, 1, 12, 0, 0, "1998-4-1"},
      {"Asia/Tokyo", 2000, 3, 1, 0, 0, -1, "2000-2-29"},
      {"Asia/Tokyo", 2000, 2, 28, 23, 59, 1, "2000-2-29"},
      {"Asia/Tokyo", 1999, 3, 1, 0, 30, -1, "1999-2-28"},
      {"Asia/Tokyo", 1999, 12, 31, 23, 59, 1, "2000-1-1"},
      {"Asia/Tokyo", 2000, 1, 1, 0, 0, -1, "1999-12-31"},
      {"Asia/Tokyo", 2026, 4, 30, 18, 0, 1, "2026-5-1"},
      // A day of 25 hours: 00:30 plus 86400 s would still be the same date.
      {"America/New_York", 2026, 11, 1, 0, 30, 1, "2026-11-2"},
      {"America/New_York", 2026, 11, 1, 23, 30, -1, "2026-10-31"},
      {"America/New_York", 2026, 11, 2, 0, 30, -1, "2026-11-1"},
      // A day of 23 hours: 23:30 plus 86400 s would skip a date.
      {"America/New_York", 2026, 3, 7, 23, 30, 1, "2026-3-8"},
      {"America/New_York", 2026, 3, 8, 23, 30, 1, "2026-3-9"},
      {"America/New_York", 2026, 3, 9, 0, 30, -1, "2026-3-8"},
      {"America/New_York", 2026, 3, 8, 0, 30, -1, "2026-3-7"},
      {"UTC", 2026, 12, 8, 15, 0, 0, "2026-12-8"},
  };
  for (const auto& c : cases) {
    fixed_clock::TimeZone zone(c.zone);
    const time_t instant = fixed_clock::LocalInstant(c.year, c.month, c.day, c.hour, c.minute);
    AgendaDate date;
    const bool converted = LocalDateAt(instant, c.offset, &date);
    EXPECT_EQ(c.expected, Text(converted, date))
        << c.zone << " " << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":"
        << c.minute << " offset " << c.offset;
  }
}

TEST(LocalDate, FollowsTheClock) {
  fixed_clock::TimeZone zone("Asia/Tokyo");
  fixed_clock::Set(fixed_clock::LocalInstant(1999, 12, 31, 9, 0));
  AgendaDate date;
  EXPECT_EQ("1999-12-31", Text(LocalDate(0, &date), date));
  EXPECT_EQ("2000-1-1", Text(LocalDate(1, &date), date));
  EXPECT_EQ("1999-12-30", Text(LocalDate(-1, &date), date));
}

}  // namespace
