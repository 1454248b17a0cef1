// holidays: Japan's national holidays as agenda lines (tools/holidays/);
// and the years it and almanac are asked for.
#include <algorithm>

#include "tools/dates/dates.h"
#include "tools/encodings/encodings.h"
#include "tools/holidays/holidays.h"
#include "tools/programs/vorlinde_agenda/names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"

bool ReadYears(const Arguments& arguments, long first, long last, long* from, long* until) {
  AgendaDate today;
  if (!arguments.Has(kFromOption) && !Today(&today)) {
    Tell(stderr, kTextNoToday, {kFromOption});
    return false;
  }
  // The options' years are in the range already; today's need not be.
  *from = arguments.Has(kFromOption) ? arguments.Number(kFromOption) : today.year;
  *until = arguments.Has(kUntilOption) ? arguments.Number(kUntilOption)
                                       : std::min<long>(*from + 1, last);
  if (*from < first || *from > last) {
    Tell(stderr, kTextBadNumber,
         {kFromOption, std::to_string(*from), std::to_string(first), std::to_string(last)});
    return false;
  }
  if (*until < *from) {
    Tell(stderr, kTextBadYears, {std::to_string(*until), std::to_string(*from)});
    return false;
  }
  return true;
}

int Holidays(const Arguments& arguments) {
  long from = 0, until = 0;
  if (!ReadYears(arguments, kFirstHolidayYear, kLastHolidayYear, &from, &until)) return 2;
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
