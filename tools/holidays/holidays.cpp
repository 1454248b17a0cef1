#include "tools/holidays/holidays.h"

#include <assert.h>

#include <algorithm>

#include "agenda/calendar.h"
#include "tools/dates/dates.h"

namespace {

// A holiday on the same day of a month in the years `first` to `last`: the
// `day`th, or, when `monday` is not 0, the `monday`th Monday of the month.
struct HolidayRule {
  int32_t first;
  int32_t last;
  int32_t month;
  int32_t day;
  int32_t monday;
  const char* name;
};

// The holidays the law names, with the years each stood on its day.
const HolidayRule kRules[] = {
    {1955, 2099, 1, 1, 0, "元日"},
    {1955, 1999, 1, 15, 0, "成人の日"},
    {2000, 2099, 1, 0, 2, "成人の日"},
    {1967, 2099, 2, 11, 0, "建国記念の日"},
    {2020, 2099, 2, 23, 0, "天皇誕生日"},
    {1955, 1988, 4, 29, 0, "天皇誕生日"},
    {1989, 2006, 4, 29, 0, "みどりの日"},
    {2007, 2099, 4, 29, 0, "昭和の日"},
    {1955, 2099, 5, 3, 0, "憲法記念日"},
    {2007, 2099, 5, 4, 0, "みどりの日"},
    {1955, 2099, 5, 5, 0, "こどもの日"},
    {1996, 2002, 7, 20, 0, "海の日"},
    {2003, 2019, 7, 0, 3, "海の日"},
    {2022, 2099, 7, 0, 3, "海の日"},
    {2016, 2019, 8, 11, 0, "山の日"},
    {2022, 2099, 8, 11, 0, "山の日"},
    {1966, 2002, 9, 15, 0, "敬老の日"},
    {2003, 2099, 9, 0, 3, "敬老の日"},
    {1966, 1999, 10, 10, 0, "体育の日"},
    {2000, 2019, 10, 0, 2, "体育の日"},
    {2022, 2099, 10, 0, 2, "スポーツの日"},
    {1955, 2099, 11, 3, 0, "文化の日"},
    {1955, 2099, 11, 23, 0, "勤労感謝の日"},
    {1989, 2018, 12, 23, 0, "天皇誕生日"},
    // Moved for the Olympic Games of 2020, held in 2021.
    {2020, 2020, 7, 23, 0, "海の日"},
    {2020, 2020, 7, 24, 0, "スポーツの日"},
    {2020, 2020, 8, 10, 0, "山の日"},
    {2021, 2021, 7, 22, 0, "海の日"},
    {2021, 2021, 7, 23, 0, "スポーツの日"},
    {2021, 2021, 8, 8, 0, "山の日"},
    // Single days, each made a holiday by a law of its own. The law of 2019
    // counts its two days as national holidays when it comes to the days
    // between two holidays; the others never lay where that would matter.
    {1959, 1959, 4, 10, 0, "皇太子明仁親王の結婚の儀"},
    {1989, 1989, 2, 24, 0, "昭和天皇の大喪の礼"},
    {1990, 1990, 11, 12, 0, "即位礼正殿の儀"},
    {1993, 1993, 6, 9, 0, "皇太子徳仁親王の結婚の儀"},
    {2019, 2019, 5, 1, 0, "天皇の即位の日"},
    {2019, 2019, 10, 22, 0, "即位礼正殿の儀"},
};

// The day the substitute holiday took effect, and the day the day between
// two holidays did.
constexpr AgendaDate kFirstSubstituteDay = {1973, 4, 12};
constexpr AgendaDate kFirstDayBetween = {1985, 12, 27};

// 0 for Sunday to 6 for Saturday.
int32_t DayOfWeek(AgendaDate date) {
  static const int32_t kMonthOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int32_t y = date.month < 3 ? date.year - 1 : date.year;
  return (y + y / 4 - y / 100 + y / 400 + kMonthOffsets[date.month - 1] + date.day) % 7;
}

int32_t FloorDiv(int32_t a, int32_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// The equinox moves 0.242194 days later each year and a day earlier after
// each leap day; `base1900` and `base1980` are its day, in millionths, in
// 1980 as fitted to 1900-1979 and to 1980-2099. Whole numbers keep the
// 32-bit build's floating point out of a result that must not move.
int32_t EquinoxDay(int32_t year, int32_t base1900, int32_t base1980) {
  assert(year >= 1900 && year <= 2099);
  const int32_t years = year - 1980;
  const int32_t base = year < 1980 ? base1900 : base1980;
  return (base + 242194 * years) / 1000000 - FloorDiv(years, 4);
}

bool Contains(const std::vector<Holiday>& holidays, AgendaDate date) {
  return std::any_of(holidays.begin(), holidays.end(), [date](const Holiday& holiday) {
    return CompareDates(holiday.date, date) == 0;
  });
}

}  // namespace

int32_t VernalEquinoxDay(int32_t year) { return EquinoxDay(year, 20835700, 20843100); }

int32_t AutumnalEquinoxDay(int32_t year) { return EquinoxDay(year, 23258800, 23248800); }

std::vector<Holiday> JapaneseHolidays(int32_t year) {
  assert(year >= kFirstHolidayYear && year <= kLastHolidayYear);
  std::vector<Holiday> named;
  for (const HolidayRule& rule : kRules) {
    if (year < rule.first || year > rule.last) continue;
    AgendaDate date = {year, rule.month, rule.day};
    if (rule.monday != 0) {
      date.day = 1;
      date.day += (8 - DayOfWeek(date)) % 7 + 7 * (rule.monday - 1);
    }
    named.push_back({date, rule.name});
  }
  named.push_back({{year, 3, VernalEquinoxDay(year)}, "春分の日"});
  named.push_back({{year, 9, AutumnalEquinoxDay(year)}, "秋分の日"});

  std::vector<Holiday> holidays = named;
  // A holiday on a Sunday gives the Monday off; from 2007 the first day after
  // it that is no holiday, as when Sunday 5/3 gives Wednesday 5/6.
  for (const Holiday& holiday : named) {
    if (DayOfWeek(holiday.date) != 0 || CompareDates(holiday.date, kFirstSubstituteDay) < 0) {
      continue;
    }
    AgendaDate next = AddDays(holiday.date, 1);
    while (year >= 2007 && Contains(named, next)) next = AddDays(next, 1);
    if (!Contains(named, next)) holidays.push_back({next, "振替休日（" + holiday.name + "）"});
  }
  // A day between two named holidays is a day off. Until 2006 the law left
  // out Sundays and substitute holidays; the law since leaves out nothing but
  // the named holidays, yet no Sunday lies between two of them after 2006.
  for (const Holiday& holiday : named) {
    const AgendaDate between = AddDays(holiday.date, 1);
    if (CompareDates(between, kFirstDayBetween) < 0 || DayOfWeek(between) == 0 ||
        Contains(holidays, between) || !Contains(named, AddDays(between, 1))) {
      continue;
    }
    holidays.push_back({between, "国民の休日"});
  }
  std::sort(holidays.begin(), holidays.end(),
            [](const Holiday& a, const Holiday& b) { return CompareDates(a.date, b.date) < 0; });
  return holidays;
}
