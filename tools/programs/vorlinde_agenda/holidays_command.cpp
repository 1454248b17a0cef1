// holidays: Japan's national holidays as agenda lines (tools/holidays/).
#include <algorithm>

#include "tools/dates/dates.h"
#include "tools/encodings/encodings.h"
#include "tools/holidays/holidays.h"
#include "tools/programs/vorlinde_agenda/names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"

int Holidays(const Arguments& arguments) {
  AgendaDate today;
  if (!arguments.Has(kFromOption) && !Today(&today)) {
    Tell(stderr, kTextNoToday, {kFromOption});
    return 2;
  }
  // The options' years are in the range already; today's need not be.
  const long from = arguments.Has(kFromOption) ? arguments.Number(kFromOption) : today.year;
  const long until = arguments.Has(kUntilOption) ? arguments.Number(kUntilOption)
                                                 : std::min<long>(from + 1, kLastHolidayYear);
  if (from < kFirstHolidayYear || from > kLastHolidayYear) {
    Tell(stderr, kTextBadNumber,
         {kFromOption, std::to_string(from), std::to_string(kFirstHolidayYear),
          std::to_string(kLastHolidayYear)});
    return 2;
  }
  if (until < from) {
    Tell(stderr, kTextBadYears, {std::to_string(until), std::to_string(from)});
    return 2;
  }
  std::string agenda = "; " + std::string(kProgramName) + " holidays " + std::to_string(from) +
                       " - " + std::to_string(until) + "\r\n";
  bool substituted = false;
  for (long year = from; year <= until; ++year) {
    for (const Holiday& holiday : JapaneseHolidays(static_cast<int32_t>(year))) {
      agenda +=
          DateColumns(holiday.date) + " " + Utf8ToShiftJis(holiday.name, &substituted) + "\r\n";
    }
  }
  return WriteOutput(agenda, arguments.Text(kOutputOption));
}
