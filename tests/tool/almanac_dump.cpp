// Prints the almanac of FIRST-YEAR to LAST-YEAR for
// check_almanac_independent.py, as UTF-8 lines:
//   entries: "YYYY/MM/DD HH:MM KIND TEXT" ("--:--" when untimed; KIND is
//            kyureki, sekki, zassetsu, moon or senjitsu), in the almanac's order;
//   --instants: "term YEAR K JD DT" for each solar term of each year and
//            "phase LUNATION P JD DT" for each moon phase (P 0 new to 3 last
//            quarter) falling in the years, JD in UT with 6 decimals and DT
//            the Delta T taken for it in seconds.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tools/almanac/almanac.h"
#include "tools/astronomy/astronomy.h"
#include "tools/dates/dates.h"

namespace {

const char* KindName(AlmanacKind kind) {
  switch (kind) {
    case AlmanacKind::kKyureki:
      return "kyureki";
    case AlmanacKind::kSekki:
      return "sekki";
    case AlmanacKind::kZassetsu:
      return "zassetsu";
    case AlmanacKind::kMoon:
      return "moon";
    case AlmanacKind::kSenjitsu:
      return "senjitsu";
  }
  return "?";
}

void PrintInstants(int32_t firstYear, int32_t lastYear) {
  for (int32_t year = firstYear; year <= lastYear; ++year) {
    for (const SolarTerm& term : SolarTermsOfYear(year)) {
      printf("term %d %d %.6f %.2f\n", static_cast<int>(year), static_cast<int>(term.term),
             term.julianDay, DeltaTSeconds(DecimalYear(term.julianDay)));
    }
  }
  const int32_t first = LunationAt(JulianDayOfJstMidnight({firstYear, 1, 1})) - 1;
  const int32_t last = LunationAt(JulianDayOfJstMidnight({lastYear + 1, 1, 1})) + 1;
  for (int32_t lunation = first; lunation <= last; ++lunation) {
    for (int phase = 0; phase < 4; ++phase) {
      const double instant = MoonPhaseInstant(lunation, static_cast<MoonPhase>(phase));
      const int32_t year = JstDateOf(instant).year;
      if (year < firstYear || year > lastYear) continue;
      printf("phase %d %d %.6f %.2f\n", static_cast<int>(lunation), phase, instant,
             DeltaTSeconds(DecimalYear(instant)));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool instants = argc > 1 && strcmp(argv[1], "--instants") == 0;
  const int first = instants ? 2 : 1;
  if (argc != first + 2) {
    fputs("usage: almanac_dump [--instants] FIRST-YEAR LAST-YEAR\n", stderr);
    return 2;
  }
  const int32_t firstYear = atoi(argv[first]), lastYear = atoi(argv[first + 1]);
  if (instants) {
    PrintInstants(firstYear, lastYear);
    return 0;
  }
  for (const AlmanacEntry& entry : AlmanacEntries(firstYear, lastYear, kAllAlmanacKinds)) {
    char time[16] = "--:--";
    if (entry.minuteOfDay >= 0) {
      snprintf(time, sizeof time, "%02d:%02d", static_cast<int>(entry.minuteOfDay / 60),
               static_cast<int>(entry.minuteOfDay % 60));
    }
    printf("%s %s %s %s\n", DateColumns(entry.date).c_str(), time, KindName(entry.kind),
           entry.text.c_str());
  }
  return 0;
}
