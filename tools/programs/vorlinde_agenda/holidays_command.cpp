// holidays: Japan's national holidays as agenda lines (tools/holidays/).
#include <algorithm>

#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"
#include "tools/dates/dates.h"
#include "tools/holidays/holidays.h"
#include "tools/encodings/encodings.h"

int Holidays(const Arguments& arguments) {
  AgendaDate today;
  if (!arguments.Has("--from") && !Today(&today)) {
    Tell(stderr, kTextNoToday, {"--from"});
    return 2;
  }
  // The options' years are in the range already; today's need not be.
  const long from = arguments.Has("--from") ? arguments.Number("--from") : today.year;
  const long until = arguments.Has("--until") ? arguments.Number("--until")
                                              : std::min<long>(from + 1, kLastHolidayYear);
  if (from < kFirstHolidayYear || from > kLastHolidayYear) {
    Tell(stderr, kTextBadNumber,
         {"--from", std::to_string(from), std::to_string(kFirstHolidayYear),
          std::to_string(kLastHolidayYear)});
    return 2;
  }
  if (until < from) {
    Tell(stderr, kTextBadYears, {std::to_string(until), std::to_string(from)});
    return 2;
  }
  std::string agenda =
      "; vorlinde-agenda holidays " + std::to_string(from) + " - " + std::to_string(until) + "\r\n";
  bool substituted = false;
  for (long year = from; year <= until; ++year) {
    for (const Holiday& holiday : JapaneseHolidays(static_cast<int32_t>(year))) {
      agenda +=
          DateColumns(holiday.date) + " " + Utf8ToShiftJis(holiday.name, &substituted) + "\r\n";
    }
  }
  return WriteOutput(agenda, arguments.Text("--output"));
}
