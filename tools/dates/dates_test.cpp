// Dates as the agenda tool reads them from its command line and counts them.
// Not covered: the module's calendar arithmetic (dates_test.cpp).
#include "tools/dates/dates.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ToolDates, ParseDate) {
  const struct {
    const char* text;
    const char* read;  // as DateColumns writes it, or "" for refused
  } cases[] = {
      {"2026/12/24", "2026/12/24"},
      {"2026-12-24", "2026/12/24"},
      {"2026/1/5", "2026/01/05"},
      {"1/1/1", "0001/01/01"},
      {"2000/02/29", "2000/02/29"},
      {"2026/12-24", ""},
      {"2100/02/29", ""},
      {"2026/02/30", ""},
      {"2026/13/01", ""},
      {"0000/01/01", ""},
      {"12026/01/01", ""},
      {"2026/012/01", ""},
      {"+2026/12/24", ""},
      {" 2026/12/24", ""},
      {"2026/12/24 ", ""},
      {"2026/12/24x", ""},
      {"2026/12/", ""},
      {"tomorrow", ""},
  };
  for (const auto& c : cases) {
    AgendaDate date = {0, 0, 0};
    const bool read = ParseDate(c.text, &date);
    EXPECT_EQ(c.read, read ? DateColumns(date) : "") << c.text;
  }
}

TEST(ToolDates, AYearAfter) {
  const struct {
    AgendaDate from;
    const char* after;
  } cases[] = {
      {{2027, 3, 1}, "2028/03/01"},
      {{2028, 2, 29}, "2029/02/28"},
      {{2027, 2, 28}, "2028/02/28"},
      {{2026, 12, 31}, "2027/12/31"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.after, DateColumns(AYearAfter(c.from)));
}

TEST(ToolDates, DayNumberCountsCalendarDays) {
  const struct {
    AgendaDate date;
    int64_t number;
  } cases[] = {
      {{1970, 1, 1}, 0},      {{1969, 12, 31}, -1},   {{2000, 3, 1}, 11017},
      {{2038, 1, 19}, 24855}, {{2028, 2, 29}, 21243}, {{1600, 1, 1}, -135140},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.number, DayNumber(c.date)) << DateColumns(c.date);
    EXPECT_EQ(DateColumns(c.date), DateColumns(DateOfDay(c.number))) << c.number;
  }
}

TEST(ToolDates, CompareDates) {
  const struct {
    AgendaDate a, b;
    int order;  // the sign of CompareDates(a, b)
  } cases[] = {
      {{2027, 1, 1}, {2027, 1, 1}, 0},    {{2026, 12, 31}, {2027, 1, 1}, -1},
      {{2027, 2, 1}, {2027, 1, 31}, 1},   {{2027, 1, 2}, {2027, 1, 1}, 1},
      {{1999, 12, 31}, {2000, 1, 1}, -1}, {{2038, 1, 19}, {2038, 1, 20}, -1},
  };
  const auto sign = [](int n) { return (n > 0) - (n < 0); };
  for (const auto& c : cases) {
    EXPECT_EQ(c.order, sign(CompareDates(c.a, c.b))) << DateColumns(c.a) << " " << DateColumns(c.b);
    EXPECT_EQ(-c.order, sign(CompareDates(c.b, c.a)))
        << DateColumns(c.b) << " " << DateColumns(c.a);
  }
}

}  // namespace
