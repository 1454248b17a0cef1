#include "tools/dates/dates.h"

#include <stdio.h>

#include <algorithm>

#include "agenda/calendar.h"

bool ParseDate(const std::string& text, AgendaDate* date) {
  int32_t parts[3] = {0, 0, 0};
  const size_t widths[3] = {4, 2, 2};
  size_t at = 0;
  char separator = '\0';
  for (int part = 0; part < 3; ++part) {
    if (part > 0) {
      if (at >= text.size() || (text[at] != '/' && text[at] != '-')) return false;
      if (separator != '\0' && text[at] != separator) return false;
      separator = text[at++];
    }
    size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
      parts[part] = parts[part] * 10 + (text[at] - '0');
    }
    if (digits == 0 || digits > widths[part]) return false;
  }
  const AgendaDate parsed = {parts[0], parts[1], parts[2]};
  if (at != text.size() || !IsValidDate(parsed)) return false;
  *date = parsed;
  return true;
}

std::string DateColumns(AgendaDate date) {
  char text[32];
  snprintf(text, sizeof text, "%04d/%02d/%02d", static_cast<int>(date.year),
           static_cast<int>(date.month), static_cast<int>(date.day));
  return text;
}

std::string ClockColumns(int32_t minuteOfDay) {
  char text[32];
  snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(minuteOfDay / 60),
           static_cast<int>(minuteOfDay % 60));
  return text;
}

AgendaDate AYearAfter(AgendaDate date) {
  const int32_t year = date.year + 1;
  return {year, date.month, std::min(date.day, DaysInMonth(year, date.month))};
}

int64_t DayNumber(AgendaDate date) {
  const int64_t y = date.year - (date.month <= 2);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
  return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

AgendaDate DateOfDay(int64_t dayNumber) {
  const int64_t z = dayNumber + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int32_t month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  const int32_t day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  return {static_cast<int32_t>(yoe + era * 400 + (month <= 2)), month, day};
}

int CompareDates(AgendaDate a, AgendaDate b) {
  if (a.year != b.year) return a.year < b.year ? -1 : 1;
  if (a.month != b.month) return a.month < b.month ? -1 : 1;
  return a.day < b.day ? -1 : a.day > b.day ? 1 : 0;
}
