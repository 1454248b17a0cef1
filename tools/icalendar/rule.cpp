#include "tools/icalendar/rule.h"

icalrecurrencetype RuleAsWritten(icalrecurrencetype rule) {
  const short none = ICAL_RECURRENCE_ARRAY_MAX;
  if (rule.freq == ICAL_YEARLY_RECURRENCE && rule.by_month_day[0] != none &&
      rule.by_month[0] == none && rule.by_week_no[0] == none && rule.by_year_day[0] == none) {
    for (short month = 1; month <= 12; ++month) rule.by_month[month - 1] = month;
    rule.by_month[12] = none;
  }
  return rule;
}
