// Japan's holidays against the published lists: the equinox days as
// officially announced for 2000-2026 and as they fell on both sides of the
// formula's change in 1980; substitute holidays before and after the law of
// 1973 took effect and by its rule of 2007; citizens' holidays (国民の休日)
// before and after the law of 1985, never on a Sunday, and between the
// single-day holidays of 2019.
// Not covered: whole years (tests/tool/check_agenda_tool.py holds the
// holidays subcommand to the government's lists in tests/tool/holidays/).
#include "tools/holidays/holidays.h"

#include <gtest/gtest.h>

#include "tools/dates/dates.h"

namespace {

TEST(Holidays, AnnouncedEquinoxDays) {
  const struct {
    int32_t year, march, september;
  } announced[] = {
      // Either side of 1980, where the formula's base changes, and the years
      // in which the days move.
      {1955, 21, 24},
      {1959, 21, 24},
      {1960, 20, 23},
      {1979, 21, 24},
      {1980, 20, 23},
      {1988, 20, 23},
      {1992, 20, 23},
      {1993, 20, 23},
      {1996, 20, 23},
      {1997, 20, 23},
      {1998, 21, 23},
      // As announced each year.
      {2000, 20, 23},
      {2001, 20, 23},
      {2002, 21, 23},
      {2003, 21, 23},
      {2004, 20, 23},
      {2005, 20, 23},
      {2006, 21, 23},
      {2007, 21, 23},
      {2008, 20, 23},
      {2009, 20, 23},
      {2010, 21, 23},
      {2011, 21, 23},
      {2012, 20, 22},
      {2013, 20, 23},
      {2014, 21, 23},
      {2015, 21, 23},
      {2016, 20, 22},
      {2017, 20, 23},
      {2018, 21, 23},
      {2019, 21, 23},
      {2020, 20, 22},
      {2021, 20, 23},
      {2022, 21, 23},
      {2023, 21, 23},
      {2024, 20, 22},
      {2025, 20, 23},
      {2026, 20, 23},
  };
  for (const auto& days : announced) {
    EXPECT_EQ(days.march, VernalEquinoxDay(days.year)) << days.year << "'s 春分の日";
    EXPECT_EQ(days.september, AutumnalEquinoxDay(days.year)) << days.year << "'s 秋分の日";
  }
}

TEST(Holidays, SubstituteAndCitizensHolidays) {
  const struct {
    const char* date;
    const char* name;  // "" for a day that is no holiday
  } published[] = {
      // Substitute holidays: none before 1973/04/12, then the Monday after a
      // Sunday holiday, and from 2007 the first day after it that is no
      // holiday.
      {"1973/02/12", ""},
      {"1973/04/30", "振替休日（天皇誕生日）"},
      {"1973/09/24", "振替休日（秋分の日）"},
      {"1998/05/04", "振替休日（憲法記念日）"},
      {"2008/05/06", "振替休日（みどりの日）"},
      {"2009/05/06", "振替休日（憲法記念日）"},
      {"2019/05/06", "振替休日（こどもの日）"},
      {"2020/02/24", "振替休日（天皇誕生日）"},
      {"2020/05/06", "振替休日（憲法記念日）"},
      {"2021/08/09", "振替休日（山の日）"},
      // Citizens' holidays: none before 1985/12/27, never a Sunday, and from
      // 2007 a day between two holidays, the single days of 2019 counted.
      {"1985/05/04", ""},
      {"1986/05/04", ""},
      {"1988/05/04", "国民の休日"},
      {"2009/09/22", "国民の休日"},
      {"2015/09/22", "国民の休日"},
      {"2019/04/30", "国民の休日"},
      {"2019/05/02", "国民の休日"},
      {"2026/09/22", "国民の休日"},
  };
  for (const auto& day : published) {
    AgendaDate date;
    ASSERT_TRUE(ParseDate(day.date, &date)) << day.date;
    std::string got;
    for (const Holiday& holiday : JapaneseHolidays(date.year)) {
      if (CompareDates(holiday.date, date) == 0) got = holiday.name;
    }
    EXPECT_EQ(day.name, got) << day.date << ": want \"" << day.name << "\", got \"" << got << "\"";
  }
}

}  // namespace
