#include "tools/almanac/almanac.h"

#include <stdio.h>

#include <algorithm>
#include <array>

#include "tools/astronomy/astronomy.h"
#include "tools/dates/dates.h"

namespace {

constexpr int32_t kTerms = 24;
constexpr int32_t kVernalEquinox = 0, kAutumnalEquinox = 12, kWinterSolstice = 18,
                  kBeginningOfSpring = 21;

constexpr const char* kTermNames[kTerms] = {
    "春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑", "大暑", "立秋", "処暑", "白露",
    "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒", "立春", "雨水", "啓蟄",
};
// The terms in the order they fall in a Gregorian year.
constexpr int32_t kTermsInYearOrder[kTerms] = {19, 20, 21, 22, 23, 0,  1,  2,  3,  4,  5,  6,
                                               7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18};

constexpr const char* kRokuyoNames[6] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
constexpr const char* kStems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr const char* kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳",
                                       "午", "未", "申", "酉", "戌", "亥"};
constexpr int32_t kStemBoar = 4;  // 戊

// The 雑節 in the order entries of one day list them.
enum Zassetsu {
  kDoyo,
  kSetsubun,
  kHiganStart,
  kShanichi,
  kHiganEnd,
  kHachijuHachiya,
  kNyubai,
  kHangesho,
  kNihyakuToka,
  kNihyakuHatsuka,
  kZassetsuCount
};
constexpr const char* kZassetsuNames[kZassetsuCount] = {
    "土用の入り", "節分", "彼岸入り", "社日",     "彼岸明け",
    "八十八夜",   "入梅", "半夏生",   "二百十日", "二百二十日",
};

constexpr const char* kPhaseNames[4] = {"新月", "上弦", "満月", "下弦"};

// 天赦日 by the month's branch (子 0 ... 亥 11): the sexagenary day.
constexpr int32_t kTenshaDay[12] = {0, 0, 14, 14, 14, 30, 30, 30, 44, 44, 44, 0};
// 一粒万倍日 by the month's branch: the two day branches.
constexpr int32_t kIchiryuBranches[12][2] = {
    {11, 0},  // 子月: 亥 子
    {3, 0},   // 丑月: 卯 子
    {1, 6},   // 寅月: 丑 午
    {9, 2},   // 卯月: 酉 寅
    {0, 3},   // 辰月: 子 卯
    {3, 4},   // 巳月: 卯 辰
    {5, 6},   // 午月: 巳 午
    {9, 6},   // 未月: 酉 午
    {0, 7},   // 申月: 子 未
    {3, 8},   // 酉月: 卯 申
    {9, 6},   // 戌月: 酉 午
    {9, 10},  // 亥月: 酉 戌
};

// The branch of the solar-term month a 節 (odd term) begins: 立春 寅 ... 小寒 丑.
int32_t MonthBranchOfTerm(int32_t term) {
  return ((term - kBeginningOfSpring + kTerms) % kTerms / 2 + 2) % 12;
}

int32_t PositiveModulo(int64_t value, int32_t divisor) {
  const int32_t remainder = static_cast<int32_t>(value % divisor);
  return remainder < 0 ? remainder + divisor : remainder;
}

int32_t SexagenaryOfDay(int64_t dayNumber) {
  // 1970-01-01 is 辛巳 (17), which makes 2000-01-01 戊午 (54).
  return PositiveModulo(dayNumber + 17, 60);
}

// The JD (UT) at which the Sun reaches `longitude` in `year` (JST). Every
// longitude the almanac asks for falls at least four days from a new year,
// so a start from the mean motion, counted from the vernal equinox and taken
// back a year past 285° (early January on), finds the year's crossing.
double SunAtLongitudeInYear(int32_t year, double longitude) {
  const double offset = (longitude >= 285.0 ? longitude - 360.0 : longitude) * 365.2422 / 360.0;
  return SunLongitudeInstant(longitude, JulianDayOfDate({year, 3, 20}) + offset);
}

struct Event {
  int64_t day;
  int32_t minuteOfDay;
  AlmanacKind kind;
  int32_t order;  // within the kind, for one day
  std::string text;
};

// What the almanac of a range of years is computed from, once for the range:
// the solar terms of a year before to a year after, and the lunisolar months
// from the 冬至 month of the year before to the one of the year after.
class Tables {
 public:
  Tables(int32_t firstYear, int32_t lastYear);

  int32_t firstYear() const { return firstYear_; }
  int32_t lastYear() const { return lastYear_; }
  // The instant of `term` in `year`, firstYear - 1 to lastYear + 1.
  double TermInstant(int32_t year, int32_t term) const {
    return terms_[static_cast<size_t>(year - firstYear_ + 1)][static_cast<size_t>(term)];
  }
  int64_t TermDay(int32_t year, int32_t term) const {
    return JstDayNumberOf(TermInstant(year, term));
  }
  // The numbered months, from the 冬至 month of firstYear - 1 to the month
  // before the 冬至 month of lastYear + 1.
  const std::vector<LunisolarMonth>& months() const { return months_; }
  const std::vector<int64_t>& monthStarts() const { return monthStarts_; }
  int32_t firstLunation() const { return firstLunation_; }
  int32_t lastLunation() const { return lastLunation_; }

 private:
  void NumberMonths(const std::vector<int64_t>& newMoonDays);

  int32_t firstYear_, lastYear_;
  std::vector<std::array<double, kTerms>> terms_;
  int32_t firstLunation_ = 0, lastLunation_ = 0;
  std::vector<LunisolarMonth> months_;
  std::vector<int64_t> monthStarts_;  // day numbers of months_' first days
};

Tables::Tables(int32_t firstYear, int32_t lastYear) : firstYear_(firstYear), lastYear_(lastYear) {
  for (int32_t year = firstYear - 1; year <= lastYear + 1; ++year) {
    std::array<double, kTerms> instants{};
    for (int32_t term = 0; term < kTerms; ++term) {
      instants[static_cast<size_t>(term)] = SunAtLongitudeInYear(year, 15.0 * term);
    }
    terms_.push_back(instants);
  }
  // New moons from before the 冬至 month of firstYear - 1 (it begins after
  // November 20) to after the 冬至 month of lastYear + 1 has ended.
  firstLunation_ = LunationAt(JulianDayOfDate({firstYear - 1, 11, 1}));
  lastLunation_ = LunationAt(JulianDayOfDate({lastYear + 2, 2, 1}));
  std::vector<int64_t> newMoonDays;
  for (int32_t lunation = firstLunation_; lunation <= lastLunation_; ++lunation) {
    newMoonDays.push_back(JstDayNumberOf(MoonPhaseInstant(lunation, MoonPhase::kNewMoon)));
  }
  NumberMonths(newMoonDays);
}

void Tables::NumberMonths(const std::vector<int64_t>& newMoonDays) {
  // The days of every 中気 of the range, in order.
  std::vector<int64_t> principalDays;
  for (int32_t year = firstYear_ - 1; year <= lastYear_ + 1; ++year) {
    for (int32_t term = 0; term < kTerms; term += 2) principalDays.push_back(TermDay(year, term));
  }
  std::sort(principalDays.begin(), principalDays.end());
  // Month i runs from newMoonDays[i] to the day before newMoonDays[i + 1].
  const auto holdsPrincipalTerm = [&](size_t i) {
    const auto at = std::lower_bound(principalDays.begin(), principalDays.end(), newMoonDays[i]);
    return at != principalDays.end() && *at < newMoonDays[i + 1];
  };
  const auto monthHolding = [&](int64_t day) {
    const auto after = std::upper_bound(newMoonDays.begin(), newMoonDays.end(), day);
    return static_cast<size_t>(after - newMoonDays.begin()) - 1;
  };
  for (int32_t year = firstYear_ - 1; year <= lastYear_; ++year) {
    const size_t solstice = monthHolding(TermDay(year, kWinterSolstice));
    const size_t next = monthHolding(TermDay(year + 1, kWinterSolstice));
    size_t leap = next;  // none
    if (next - solstice == 13) {
      for (size_t i = solstice + 1; i < next; ++i) {
        if (!holdsPrincipalTerm(i)) {
          leap = i;
          break;
        }
      }
    }
    int32_t number = 11, lunisolarYear = year;
    for (size_t i = solstice; i < next; ++i) {
      const bool isLeap = i == leap;
      if (i != solstice && !isLeap) {
        number = number % 12 + 1;
        if (number == 1) lunisolarYear = year + 1;
      }
      months_.push_back({DateOfDay(newMoonDays[i]),
                         static_cast<int32_t>(newMoonDays[i + 1] - newMoonDays[i]), lunisolarYear,
                         number, isLeap});
      monthStarts_.push_back(newMoonDays[i]);
    }
  }
}

// Calls `visit(day, branch)` for each day from `firstDay` to `lastDay` of the
// tables' years with the branch (子 0 ... 亥 11) of its solar-term month.
template <typename Visit>
void ForEachMonthBranch(const Tables& tables, int64_t firstDay, int64_t lastDay, Visit visit) {
  // The 節 from 大雪 of the year before on, with the branch each begins.
  std::vector<std::pair<int64_t, int32_t>> starts;
  for (int32_t year = tables.firstYear() - 1; year <= tables.lastYear(); ++year) {
    for (int32_t term : kTermsInYearOrder) {
      if (term % 2 == 1) starts.emplace_back(tables.TermDay(year, term), MonthBranchOfTerm(term));
    }
  }
  size_t at = 0;
  for (int64_t day = firstDay; day <= lastDay; ++day) {
    while (at + 1 < starts.size() && starts[at + 1].first <= day) ++at;
    visit(day, starts[at].second);
  }
}

std::string KyurekiText(const LunisolarMonth& month, int32_t day) {
  char text[64];
  const LunisolarDate date = {month.year, month.month, month.leap, day};
  snprintf(text, sizeof text, "旧%s%d月%d日 %s", month.leap ? "閏" : "",
           static_cast<int>(month.month), static_cast<int>(day), RokuyoName(Rokuyo(date)));
  return text;
}

void AddZassetsu(const Tables& tables, int32_t year, std::vector<Event>* events) {
  const auto add = [&](int64_t day, Zassetsu which) {
    events->push_back({day, -1, AlmanacKind::kZassetsu, which, kZassetsuNames[which]});
  };
  const int64_t spring = tables.TermDay(year, kBeginningOfSpring);
  add(spring - 1, kSetsubun);
  add(spring + 87, kHachijuHachiya);
  add(spring + 209, kNihyakuToka);
  add(spring + 219, kNihyakuHatsuka);
  for (int32_t equinox : {kVernalEquinox, kAutumnalEquinox}) {
    const int64_t day = tables.TermDay(year, equinox);
    add(day - 3, kHiganStart);
    add(day + 3, kHiganEnd);
    // Days to the next 戊 day, 0 to 9; at 5 (a 癸 equinox) the earlier one.
    const int32_t ahead = PositiveModulo(kStemBoar - SexagenaryOfDay(day) % 10, 10);
    add(ahead < 5 ? day + ahead : day - (10 - ahead), kShanichi);
  }
  add(JstDayNumberOf(SunAtLongitudeInYear(year, 80)), kNyubai);
  add(JstDayNumberOf(SunAtLongitudeInYear(year, 100)), kHangesho);
  for (double longitude : {297.0, 27.0, 117.0, 207.0}) {
    add(JstDayNumberOf(SunAtLongitudeInYear(year, longitude)), kDoyo);
  }
}

}  // namespace

const char* SolarTermName(int32_t term) {
  return term >= 0 && term < kTerms ? kTermNames[term] : "";
}

std::vector<SolarTerm> SolarTermsOfYear(int32_t year) {
  std::vector<SolarTerm> terms;
  for (int32_t term : kTermsInYearOrder) {
    const double instant = SunAtLongitudeInYear(year, 15.0 * term);
    const JstTime jst = JstTimeOf(instant);
    terms.push_back({term, instant, jst.date, jst.minuteOfDay});
  }
  return terms;
}

std::vector<LunisolarMonth> LunisolarMonths(int32_t firstYear, int32_t lastYear) {
  firstYear = std::max(firstYear, kFirstAlmanacYear);
  lastYear = std::min(lastYear, kLastAlmanacYear);
  std::vector<LunisolarMonth> months;
  if (firstYear > lastYear) return months;
  const Tables tables(firstYear, lastYear);
  const int64_t firstDay = DayNumber({firstYear, 1, 1}), lastDay = DayNumber({lastYear, 12, 31});
  for (size_t i = 0; i < tables.months().size(); ++i) {
    const int64_t start = tables.monthStarts()[i];
    if (start + tables.months()[i].days > firstDay && start <= lastDay) {
      months.push_back(tables.months()[i]);
    }
  }
  return months;
}

bool LunisolarDateOf(AgendaDate date, LunisolarDate* lunisolar) {
  if (date.year < kFirstAlmanacYear || date.year > kLastAlmanacYear) return false;
  const int64_t day = DayNumber(date);
  for (const LunisolarMonth& month : LunisolarMonths(date.year, date.year)) {
    const int64_t start = DayNumber(month.firstDay);
    if (day >= start && day < start + month.days) {
      *lunisolar = {month.year, month.month, month.leap, static_cast<int32_t>(day - start + 1)};
      return true;
    }
  }
  return false;
}

int32_t Rokuyo(LunisolarDate date) { return (date.month + date.day) % 6; }

const char* RokuyoName(int32_t rokuyo) {
  return rokuyo >= 0 && rokuyo < 6 ? kRokuyoNames[rokuyo] : "";
}

int32_t SexagenaryDay(AgendaDate date) { return SexagenaryOfDay(DayNumber(date)); }

std::string SexagenaryName(int32_t sexagenary) {
  const int32_t index = PositiveModulo(sexagenary, 60);
  return std::string(kStems[index % 10]) + kBranches[index % 12];
}

std::vector<AlmanacEntry> AlmanacEntries(int32_t firstYear, int32_t lastYear, unsigned kinds) {
  firstYear = std::max(firstYear, kFirstAlmanacYear);
  lastYear = std::min(lastYear, kLastAlmanacYear);
  std::vector<AlmanacEntry> entries;
  if (firstYear > lastYear || (kinds & kAllAlmanacKinds) == 0) return entries;
  const Tables tables(firstYear, lastYear);
  const int64_t firstDay = DayNumber({firstYear, 1, 1}), lastDay = DayNumber({lastYear, 12, 31});
  const auto wanted = [kinds](AlmanacKind kind) { return (kinds & AlmanacKindBit(kind)) != 0; };

  std::vector<Event> events;
  if (wanted(AlmanacKind::kKyureki)) {
    for (size_t i = 0; i < tables.months().size(); ++i) {
      const LunisolarMonth& month = tables.months()[i];
      for (int32_t day = 1; day <= month.days; ++day) {
        const int64_t dayNumber = tables.monthStarts()[i] + day - 1;
        if (dayNumber < firstDay || dayNumber > lastDay) continue;
        events.push_back({dayNumber, -1, AlmanacKind::kKyureki, 0, KyurekiText(month, day)});
      }
    }
  }
  for (int32_t year = firstYear; year <= lastYear; ++year) {
    if (wanted(AlmanacKind::kSekki)) {
      for (int32_t term = 0; term < kTerms; ++term) {
        const JstTime jst = JstTimeOf(tables.TermInstant(year, term));
        events.push_back(
            {DayNumber(jst.date), jst.minuteOfDay, AlmanacKind::kSekki, 0, kTermNames[term]});
      }
    }
    if (wanted(AlmanacKind::kZassetsu)) AddZassetsu(tables, year, &events);
  }
  if (wanted(AlmanacKind::kMoon)) {
    for (int32_t lunation = tables.firstLunation(); lunation <= tables.lastLunation(); ++lunation) {
      for (int32_t phase = 0; phase < 4; ++phase) {
        const JstTime jst = JstTimeOf(MoonPhaseInstant(lunation, static_cast<MoonPhase>(phase)));
        const int64_t day = DayNumber(jst.date);
        if (day < firstDay || day > lastDay) continue;
        events.push_back({day, jst.minuteOfDay, AlmanacKind::kMoon, phase, kPhaseNames[phase]});
      }
    }
  }
  if (wanted(AlmanacKind::kSenjitsu)) {
    ForEachMonthBranch(tables, firstDay, lastDay, [&](int64_t day, int32_t branch) {
      const int32_t sexagenary = SexagenaryOfDay(day);
      if (sexagenary == kTenshaDay[branch]) {
        events.push_back({day, -1, AlmanacKind::kSenjitsu, 0, "天赦日"});
      }
      const int32_t dayBranch = sexagenary % 12;
      if (dayBranch == kIchiryuBranches[branch][0] || dayBranch == kIchiryuBranches[branch][1]) {
        events.push_back({day, -1, AlmanacKind::kSenjitsu, 1, "一粒万倍日"});
      }
    });
  }

  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    if (a.day != b.day) return a.day < b.day;
    if (a.kind != b.kind) return a.kind < b.kind;
    if (a.minuteOfDay != b.minuteOfDay) return a.minuteOfDay < b.minuteOfDay;
    return a.order < b.order;
  });
  entries.reserve(events.size());
  for (Event& event : events) {
    entries.push_back({DateOfDay(event.day), event.minuteOfDay, event.kind, std::move(event.text)});
  }
  return entries;
}
