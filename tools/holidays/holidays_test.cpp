// The equinox days of Japan's holidays, as officially announced for 2000-2026.
// Not covered: the other holidays (tests/tool/check_agenda_tool.py holds the
// holidays subcommand to the government's lists in tests/tool/holidays/).
#include "tools/holidays/holidays.h"

#include <gtest/gtest.h>

namespace {

TEST(Holidays, AnnouncedEquinoxDays) {
  const struct {
    int32_t year, march, september;
  } announced[] = {
      {2000, 20, 23}, {2001, 20, 23}, {2002, 21, 23}, {2003, 21, 23}, {2004, 20, 23},
      {2005, 20, 23}, {2006, 21, 23}, {2007, 21, 23}, {2008, 20, 23}, {2009, 20, 23},
      {2010, 21, 23}, {2011, 21, 23}, {2012, 20, 22}, {2013, 20, 23}, {2014, 21, 23},
      {2015, 21, 23}, {2016, 20, 22}, {2017, 20, 23}, {2018, 21, 23}, {2019, 21, 23},
      {2020, 20, 22}, {2021, 20, 23}, {2022, 21, 23}, {2023, 21, 23}, {2024, 20, 22},
      {2025, 20, 23}, {2026, 20, 23},
  };
  for (const auto& days : announced) {
    EXPECT_EQ(days.march, VernalEquinoxDay(days.year)) << days.year << "'s 春分の日";
    EXPECT_EQ(days.september, AutumnalEquinoxDay(days.year)) << days.year << "'s 秋分の日";
  }
}

}  // namespace
