// Dates as the agenda tool reads and writes them: typed on its command line,
// written in an agenda line's date columns, and counted in days and years.
#pragma once

#include <stdint.h>

#include <string>

#include "agenda/agenda.h"

// A date written as YYYY/MM/DD or YYYY-MM-DD (1 to 4 digits of year, 1 or 2
// of month and day, nothing else) that the calendar has.
bool ParseDate(const std::string& text, AgendaDate* date);

// "YYYY/MM/DD"; a zero field is written as zeros (a wildcard).
std::string DateColumns(AgendaDate date);

// "HH:MM" of a minute of the day (0 to 1439), as a timed entry writes it.
std::string ClockColumns(int32_t minuteOfDay);

// The same day a year later; 29 February gives 28 February of a common year.
AgendaDate AYearAfter(AgendaDate date);

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// the date of such a day.
int64_t DayNumber(AgendaDate date);
AgendaDate DateOfDay(int64_t dayNumber);

// Negative, zero or positive as `a` comes before, on or after `b`.
int CompareDates(AgendaDate a, AgendaDate b);
