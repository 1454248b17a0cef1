// The almanac against published facts: lunisolar new years and leap months,
// the national observatory's solar-term and phase times and 雑節 days, a
// calendar maker's list of 天赦日 and 一粒万倍日, the 干支 anchors, and the
// range's first and last days. The whole 200 years are compared with an
// independent ephemeris by tests/tool/check_almanac_independent.py.
#include "tools/almanac/almanac.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/dates/dates.h"

namespace {

std::string Lunisolar(LunisolarDate date) {
  return std::to_string(date.year) + (date.leap ? " 閏" : " ") + std::to_string(date.month) + "/" +
         std::to_string(date.day);
}

std::string LunisolarOf(AgendaDate date) {
  LunisolarDate lunisolar;
  return LunisolarDateOf(date, &lunisolar) ? Lunisolar(lunisolar) : "none";
}

TEST(Almanac, LunisolarDates) {
  const struct {
    AgendaDate date;
    const char* expected;  // year, 閏 for a leap month, month/day
  } days[] = {
      // 旧正月 as published.
      {{2023, 1, 22}, "2023 1/1"},
      {{2024, 2, 10}, "2024 1/1"},
      {{2025, 1, 29}, "2025 1/1"},
      {{2026, 2, 17}, "2026 1/1"},
      {{1985, 2, 20}, "1985 1/1"},
      {{1985, 1, 21}, "1984 12/1"},
      // The first days of leap months.
      {{2020, 5, 23}, "2020 閏4/1"},
      {{2023, 3, 22}, "2023 閏2/1"},
      {{2025, 7, 25}, "2025 閏6/1"},
      // 2033-34 in the widely adopted reading.
      {{2033, 8, 25}, "2033 8/1"},
      {{2033, 9, 23}, "2033 9/1"},
      {{2033, 11, 22}, "2033 11/1"},
      {{2033, 12, 22}, "2033 閏11/1"},
      {{2034, 1, 20}, "2033 12/1"},
      {{2034, 2, 19}, "2034 1/1"},
      // The range's ends: 1900/01/01 is 明治32年12月1日.
      {{1900, 1, 1}, "1899 12/1"},
      {{1899, 12, 31}, "none"},
      {{2100, 1, 1}, "none"},
  };
  for (const auto& day : days) {
    EXPECT_EQ(day.expected, LunisolarOf(day.date)) << DateColumns(day.date);
  }
}

TEST(Almanac, LeapMonthsOfYears) {
  const struct {
    int32_t year, leapMonth;  // 0: none
  } years[] = {
      {2020, 4}, {2021, 0}, {2023, 2}, {2024, 0},  {2025, 6}, {2026, 0},
      {2027, 0}, {2028, 5}, {2031, 3}, {2033, 11}, {2034, 0},
  };
  for (const auto& year : years) {
    int32_t leapMonth = 0;
    for (const LunisolarMonth& month : LunisolarMonths(year.year, year.year)) {
      if (month.leap && month.firstDay.year == year.year) leapMonth = month.month;
    }
    EXPECT_EQ(year.leapMonth, leapMonth) << year.year;
  }
}

TEST(Almanac, MonthsFollowTheirPrincipalTerms) {
  // Over the 200 years, in each span from one 11月 to the next: a leap month
  // comes only in a span of 13 months, as its first month holding no 中気;
  // and where every other month of the span holds a 中気, each month holding
  // one carries that 中気's number. (A span of 12 months with a month lacking
  // 中気, as in 1984-85 and 2033, numbers its months in order.)
  std::vector<std::pair<int64_t, int32_t>> principal;  // day, month number
  for (int32_t year = kFirstAlmanacYear; year <= kLastAlmanacYear; ++year) {
    for (const SolarTerm& term : SolarTermsOfYear(year)) {
      if (term.term % 2 == 0) {
        principal.emplace_back(DayNumber(term.date), (term.term / 2 + 1) % 12 + 1);
      }
    }
  }
  const std::vector<LunisolarMonth> months = LunisolarMonths(kFirstAlmanacYear, kLastAlmanacYear);
  std::vector<std::vector<int32_t>> held(months.size());
  std::vector<size_t> spans;  // where each 11月 is
  for (size_t i = 0; i < months.size(); ++i) {
    const int64_t first = DayNumber(months[i].firstDay);
    for (const auto& term : principal) {
      if (term.first >= first && term.first < first + months[i].days)
        held[i].push_back(term.second);
    }
    if (months[i].month == 11 && !months[i].leap) spans.push_back(i);
  }
  ASSERT_GT(spans.size(), 199u);
  for (size_t span = 0; span + 1 < spans.size(); ++span) {
    const size_t start = spans[span], end = spans[span + 1];
    const std::string name = "span from " + DateColumns(months[start].firstDay);
    bool lacking = false, everyMonthHolds = true;
    int32_t leaps = 0;
    for (size_t i = start + 1; i < end; ++i) {
      if (months[i].leap) {
        ++leaps;
        EXPECT_TRUE(held[i].empty() && !lacking) << name << ": leap " << months[i].month;
      } else if (held[i].empty()) {
        everyMonthHolds = false;
      }
      lacking = lacking || held[i].empty();
    }
    EXPECT_EQ(end - start == 13 ? 1 : 0, leaps) << name << ", " << end - start << " months";
    for (size_t i = start; i < end && everyMonthHolds; ++i) {
      if (held[i].size() == 1 && !months[i].leap) {
        EXPECT_EQ(held[i][0], months[i].month) << DateColumns(months[i].firstDay);
      }
    }
  }
}

TEST(Almanac, SolarTermsAndMoonPhases) {
  // JST, from the national observatory's almanac and tables (2017-02-26:
  // 暦要項 2017), which round to the minute; 2027's terms by date alone. Our
  // instants lie within about 20 s of the observatory's, so a rounded minute
  // may differ by one.
  const struct {
    AgendaDate date;
    AlmanacKind kind;
    const char* text;
    int32_t minute;  // -1: the date alone
  } published[] = {
      {{2021, 2, 3}, AlmanacKind::kSekki, "立春", 23 * 60 + 59},
      {{2025, 3, 20}, AlmanacKind::kSekki, "春分", 18 * 60 + 1},
      {{2025, 6, 21}, AlmanacKind::kSekki, "夏至", 11 * 60 + 42},
      {{2025, 9, 23}, AlmanacKind::kSekki, "秋分", 3 * 60 + 19},
      {{2025, 12, 22}, AlmanacKind::kSekki, "冬至", 0 * 60 + 3},
      {{2027, 2, 4}, AlmanacKind::kSekki, "立春", -1},
      {{2027, 3, 21}, AlmanacKind::kSekki, "春分", -1},
      {{2017, 2, 26}, AlmanacKind::kMoon, "新月", 23 * 60 + 58},
      {{2022, 1, 3}, AlmanacKind::kMoon, "新月", 3 * 60 + 33},
      {{2022, 1, 18}, AlmanacKind::kMoon, "満月", 8 * 60 + 48},
      {{2022, 9, 26}, AlmanacKind::kMoon, "新月", 6 * 60 + 55},
      {{2022, 12, 23}, AlmanacKind::kMoon, "新月", 19 * 60 + 17},
      {{2023, 1, 22}, AlmanacKind::kMoon, "新月", 5 * 60 + 53},
      {{2023, 2, 6}, AlmanacKind::kMoon, "満月", 3 * 60 + 29},
      {{2023, 3, 22}, AlmanacKind::kMoon, "新月", 2 * 60 + 23},
      {{2023, 5, 20}, AlmanacKind::kMoon, "新月", 0 * 60 + 53},
      {{2023, 8, 31}, AlmanacKind::kMoon, "満月", 10 * 60 + 36},
  };
  const std::vector<AlmanacEntry> entries = AlmanacEntries(
      2017, 2027, AlmanacKindBit(AlmanacKind::kSekki) | AlmanacKindBit(AlmanacKind::kMoon));
  for (const auto& event : published) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const AlmanacEntry& e) {
      return e.kind == event.kind && CompareDates(e.date, event.date) == 0;
    });
    ASSERT_NE(entries.end(), found) << event.text << " on " << DateColumns(event.date);
    EXPECT_EQ(event.text, found->text) << DateColumns(event.date);
    if (event.minute >= 0) {
      EXPECT_LE(abs(found->minuteOfDay - event.minute), 1)
          << event.text << " on " << DateColumns(event.date) << ": minute " << found->minuteOfDay;
    }
  }
}

TEST(Almanac, DaysOfTheYear) {
  // 雑節 of 暦要項 2025 (社日 2016 from a published calendar; 2024's 春分 was
  // a 癸 day, and the earlier 戊 day is ours), and a calendar maker's 2026
  // list of 天赦日 and the first quarter of its 一粒万倍日.
  const struct {
    int32_t year;
    AlmanacKind kind;
    const char* text;
    std::vector<const char*> dates;  // MM/DD
  } lists[] = {
      {2025, AlmanacKind::kZassetsu, "節分", {"02/02"}},
      {2025, AlmanacKind::kZassetsu, "彼岸入り", {"03/17", "09/20"}},
      {2025, AlmanacKind::kZassetsu, "彼岸明け", {"03/23", "09/26"}},
      {2025, AlmanacKind::kZassetsu, "八十八夜", {"05/01"}},
      {2025, AlmanacKind::kZassetsu, "入梅", {"06/11"}},
      {2025, AlmanacKind::kZassetsu, "半夏生", {"07/01"}},
      {2025, AlmanacKind::kZassetsu, "土用の入り", {"01/17", "04/17", "07/19", "10/20"}},
      {2025, AlmanacKind::kZassetsu, "二百十日", {"08/31"}},
      {2025, AlmanacKind::kZassetsu, "二百二十日", {"09/10"}},
      {2016, AlmanacKind::kZassetsu, "社日", {"03/17", "09/23"}},
      {2024, AlmanacKind::kZassetsu, "社日", {"03/15", "09/21"}},
      {2026,
       AlmanacKind::kSenjitsu,
       "天赦日",
       {"03/05", "05/04", "05/20", "07/19", "10/01", "12/16"}},
      {2026,
       AlmanacKind::kSenjitsu,
       "一粒万倍日",
       {"01/01", "01/02", "01/05", "01/14", "01/17", "01/26", "01/29", "02/08", "02/13", "02/20",
        "02/25", "03/04", "03/05", "03/12", "03/17", "03/24", "03/29"}},
  };
  for (const auto& list : lists) {
    std::string expected, actual;
    for (const char* date : list.dates) expected += std::string(date) + " ";
    const std::string last = list.dates.back();
    for (const AlmanacEntry& entry :
         AlmanacEntries(list.year, list.year, AlmanacKindBit(list.kind))) {
      const std::string date = DateColumns(entry.date).substr(5);
      if (entry.text == list.text && date <= last) actual += date + " ";
    }
    EXPECT_EQ(expected, actual) << list.year << " " << list.text;
  }
}

TEST(Almanac, SexagenaryAnchors) {
  const struct {
    AgendaDate date;
    const char* name;
  } anchors[] = {{{2000, 1, 1}, "戊午"}, {{1900, 1, 1}, "甲戌"}, {{1899, 12, 31}, "癸酉"}};
  for (const auto& anchor : anchors) {
    EXPECT_EQ(anchor.name, SexagenaryName(SexagenaryDay(anchor.date))) << DateColumns(anchor.date);
  }
}

TEST(Almanac, EntriesOfADayAndOfTheRange) {
  const std::vector<AlmanacEntry> entries = AlmanacEntries(2025, 2025, kAllAlmanacKinds);
  const struct {
    AgendaDate date;
    std::vector<std::string> texts;  // all kinds, in order
  } days[] = {
      {{2025, 3, 20}, {"旧2月21日 仏滅", "春分", "社日"}},
      {{2025, 9, 26}, {"旧8月5日 赤口", "社日", "彼岸明け"}},
      {{2025, 1, 29}, {"旧1月1日 先勝", "新月"}},
  };
  for (const auto& day : days) {
    std::vector<std::string> texts;
    for (const AlmanacEntry& entry : entries) {
      if (CompareDates(entry.date, day.date) == 0) texts.push_back(entry.text);
    }
    EXPECT_EQ(day.texts, texts) << DateColumns(day.date);
  }

  // Asked beyond the range, the almanac gives its first and last years whole.
  const struct {
    int32_t first, last;
    unsigned kinds;
    size_t count;
    AgendaDate firstDate, lastDate;
  } ranges[] = {
      {1899, 1900, AlmanacKindBit(AlmanacKind::kKyureki), 365, {1900, 1, 1}, {1900, 12, 31}},
      {2099, 2100, AlmanacKindBit(AlmanacKind::kKyureki), 365, {2099, 1, 1}, {2099, 12, 31}},
      {2024, 2024, AlmanacKindBit(AlmanacKind::kZassetsu), 16, {2024, 1, 18}, {2024, 10, 20}},
      {2100, 2110, kAllAlmanacKinds, 0, {}, {}},
  };
  for (const auto& range : ranges) {
    const std::vector<AlmanacEntry> got = AlmanacEntries(range.first, range.last, range.kinds);
    ASSERT_EQ(range.count, got.size()) << range.first << "-" << range.last;
    if (got.empty()) continue;
    EXPECT_EQ(DateColumns(range.firstDate), DateColumns(got.front().date)) << range.first;
    EXPECT_EQ(DateColumns(range.lastDate), DateColumns(got.back().date)) << range.last;
  }
}

}  // namespace
