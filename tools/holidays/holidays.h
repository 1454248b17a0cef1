// Japan's national holidays of a year, computed by the rules of the national
// holidays law as it stood in that year and of the laws that made single days
// holidays. Names are UTF-8 and follow the Cabinet Office's list, with two
// choices of ours where that list writes only "休日": a substitute holiday is
// "振替休日（" + the name of the Sunday holiday it stands for + "）", e.g.
// "振替休日（建国記念の日）", and a day off between two holidays is "国民の休日".
// The single days carry the names the laws that made them gave them, e.g.
// "昭和天皇の大喪の礼".
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"

// The years the rules are known for: the equinox formula holds to 2099.
constexpr int32_t kFirstHolidayYear = 1955, kLastHolidayYear = 2099;

struct Holiday {
  AgendaDate date;
  std::string name;  // UTF-8
};

// The holidays of `year` (kFirstHolidayYear to kLastHolidayYear), in date order.
std::vector<Holiday> JapaneseHolidays(int32_t year);

// The day of March of the vernal equinox and the day of September of the
// autumnal equinox in Japan, by the usual approximation for 1900 to 2099.
int32_t VernalEquinoxDay(int32_t year);
int32_t AutumnalEquinoxDay(int32_t year);
