// Calendar arithmetic on dates of the proleptic Gregorian calendar. A day is
// a calendar day, never 86400 seconds, so that a day's neighbours are right
// whatever daylight saving does to the length of the days in between.
#pragma once

#include <stdint.h>

#include "agenda/agenda.h"

bool IsLeapYear(int32_t year);

// The number of days of `month` (1 to 12) in `year`; 0 for any other month.
int32_t DaysInMonth(int32_t year, int32_t month);

// Whether `date` names a day the calendar has (a year from 1 on).
bool IsValidDate(AgendaDate date);

// The date `days` calendar days after `date` (before it when negative).
// `date` must be valid.
AgendaDate AddDays(AgendaDate date, int32_t days);
