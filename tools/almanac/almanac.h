// The Japanese almanac of a range of years, by the rules the national
// observatory has kept since 1873, over tools/astronomy/. Every date is a day
// of Japan Standard Time (UTC+9); every text is UTF-8.
//
//  - 二十四節気: the Sun's apparent longitude reaches 15°·k; the term falls on
//    the JST day of that instant.
//  - 旧暦: a month begins on the JST day that holds a new moon. The month
//    holding 冬至 is 11; months are numbered on from it in order. When 13
//    months run from one 冬至 month to the next, the first month after the
//    冬至 month that holds no 中気 is the leap month and carries the number of
//    the month before it; a span of 12 months has no leap month, even if one
//    of its months holds no 中気.
//    2033-34, where the old rules contradict one another: the span from the
//    冬至 month of 2032 to that of 2033 has 12 months, one of them without
//    中気 (from 2033/08/25), since the 冬至 month of 2033 (from 2033/11/22)
//    also holds 小雪; so the span gets no leap month and its months are
//    numbered in order (2033/08/25 begins 旧8月, although 秋分 falls in the
//    next month). The next span has 13 months, and its first month without
//    中気, from 2033/12/22, is 閏11月: the widely adopted reading. The
//    alternatives (閏7月 in 2033 or 閏1月 in 2034) would need 春分, 夏至 and
//    秋分 to fix their months' numbers, which these rules never do.
//  - 六曜: (旧暦 month + day) mod 6: 大安 赤口 先勝 友引 先負 仏滅; a leap month
//    counts as its number.
//  - 雑節: 節分 the day before 立春; 彼岸入り and 彼岸明け 3 days before and
//    after 春分 and 秋分; 社日 the 戊 day nearest 春分 and 秋分, and when the
//    equinox falls on a 癸 day, with 戊 days 5 days before and after, the one
//    before (the reading that keeps 社日 from following the equinox by more
//    than 4 days; another reading decides by the equinox's hour); 八十八夜,
//    二百十日 and 二百二十日 the 88th, 210th and 220th day counting 立春 as the
//    first; 入梅 the Sun at 80°, 半夏生 at 100°; 土用の入り at 297°, 27°, 117°
//    and 207°.
//  - 干支 of days: 2000/01/01 is 戊午. Solar-term months begin on the day of
//    their 節 (立春 寅月, 啓蟄 卯月, ... 小寒 丑月).
//  - 天赦日: 戊寅 in 寅卯辰 months, 甲午 in 巳午未, 戊申 in 申酉戌, 甲子 in 亥子丑.
//    一粒万倍日 by the day's branch in each month (almanac.cpp has the table).
//  - Times: moon phases and solar terms carry their JST minute, rounded to
//    the nearest as the observatory's almanac rounds (30 s up), except that
//    an instant from 23:59:30 on keeps 23:59 of its own day (JstTimeOf in
//    tools/astronomy/astronomy.h).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"

// The years the almanac is computed for (the Delta T and VSOP87 truncation
// hold to a minute over them).
constexpr int32_t kFirstAlmanacYear = 1900, kLastAlmanacYear = 2099;

enum class AlmanacKind { kKyureki = 0, kSekki = 1, kZassetsu = 2, kMoon = 3, kSenjitsu = 4 };

constexpr unsigned AlmanacKindBit(AlmanacKind kind) { return 1u << static_cast<unsigned>(kind); }
constexpr unsigned kAllAlmanacKinds = 0x1f;

struct AlmanacEntry {
  AgendaDate date;
  int32_t minuteOfDay;  // JST, 0 to 1439; -1 when untimed
  AlmanacKind kind;
  std::string text;  // UTF-8
};

// The almanac of the years firstYear to lastYear (clamped to the almanac's
// years; none when nothing is left) for the kinds whose AlmanacKindBit is
// set in `kinds`:
//  - kKyureki: one a day, "旧M月D日 六曜" or "旧閏M月D日 六曜", e.g. "旧1月1日 先勝";
//  - kSekki: the term's name, with its minute;
//  - kZassetsu: 節分 彼岸入り 社日 彼岸明け 八十八夜 入梅 半夏生 土用の入り
//    二百十日 二百二十日, untimed;
//  - kMoon: 新月 上弦 満月 下弦, with the minute;
//  - kSenjitsu: 天赦日 一粒万倍日, untimed.
// In date order; within a day by kind in the order above, then by minute,
// then in the order the kind's names are listed here.
std::vector<AlmanacEntry> AlmanacEntries(int32_t firstYear, int32_t lastYear, unsigned kinds);

// The 24 solar terms: term k is the Sun at 15°·k (0 春分, 1 清明, ... 23 啓蟄);
// even k are the 中気, odd k the 節.
const char* SolarTermName(int32_t term);

struct SolarTerm {
  int32_t term;      // 0 to 23
  double julianDay;  // UT
  AgendaDate date;   // JST
  int32_t minuteOfDay;
};

// The 24 terms falling in `year` (JST), in date order (小寒 first).
std::vector<SolarTerm> SolarTermsOfYear(int32_t year);

// A lunisolar month: `year` is the Gregorian year in which month 1 of its
// lunisolar year begins.
struct LunisolarMonth {
  AgendaDate firstDay;
  int32_t days;  // 29 or 30
  int32_t year, month;
  bool leap;
};

// The months that have days in firstYear to lastYear (clamped as above), in
// order.
std::vector<LunisolarMonth> LunisolarMonths(int32_t firstYear, int32_t lastYear);

struct LunisolarDate {
  int32_t year, month;
  bool leap;
  int32_t day;
};

// The lunisolar date of a day of the almanac's years; false for other days.
bool LunisolarDateOf(AgendaDate date, LunisolarDate* lunisolar);

// 0 大安, 1 赤口, 2 先勝, 3 友引, 4 先負, 5 仏滅.
int32_t Rokuyo(LunisolarDate date);
const char* RokuyoName(int32_t rokuyo);

// The day's place in the sexagenary cycle, 0 (甲子) to 59: stem index % 10
// (甲 0 ... 癸 9), branch index % 12 (子 0 ... 亥 11); its name, e.g. "戊午".
int32_t SexagenaryDay(AgendaDate date);
std::string SexagenaryName(int32_t sexagenary);
