#include "agenda/calendar.h"

bool IsLeapYear(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int32_t DaysInMonth(int32_t year, int32_t month) {
  static const int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(AgendaDate date) {
  return date.year >= 1 && date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

AgendaDate AddDays(AgendaDate date, int32_t days) {
  // Steps a day at a time: the module moves a day, the agenda tool a year at
  // most, so there is nothing to gain from anything cleverer.
  for (; days > 0; --days) {
    if (++date.day > DaysInMonth(date.year, date.month)) {
      date.day = 1;
      if (++date.month > 12) {
        date.month = 1;
        ++date.year;
      }
    }
  }
  for (; days < 0; ++days) {
    if (--date.day < 1) {
      if (--date.month < 1) {
        date.month = 12;
        --date.year;
      }
      date.day = DaysInMonth(date.year, date.month);
    }
  }
  return date;
}
