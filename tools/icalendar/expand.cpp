#include "tools/icalendar/expand.h"

#include <libical/ical.h>

#include "tools/dates/dates.h"
#include "tools/icalendar/rule.h"

namespace {

bool After(const icaltimetype& time, AgendaDate date) {
  return CompareDates({time.year, time.month, time.day}, date) > 0;
}

bool NamesWeekday(const icalrecurrencetype& rule, int weekday) {
  for (const short* day = rule.by_day; *day != ICAL_RECURRENCE_ARRAY_MAX; ++day) {
    if (icalrecurrencetype_day_day_of_week(*day) == weekday) return true;
  }
  return false;
}

// libical counts a weekly rule's weeks from its first day's week only when
// that day is one the rule names; from any other day it counts weeks that
// begin on Sunday, whatever WKST says. The repetition therefore starts from
// the first day the rule names in the week of `from` (from `from` on), or
// failing that in the week INTERVAL weeks later: the same days, with weeks
// as WKST sets them.
icaltimetype FirstDay(const icalrecurrencetype& rule, const icaltimetype& from) {
  if (rule.freq != ICAL_WEEKLY_RECURRENCE || rule.by_day[0] == ICAL_RECURRENCE_ARRAY_MAX) {
    return from;
  }
  const int weekStart = rule.week_start == ICAL_NO_WEEKDAY ? ICAL_MONDAY_WEEKDAY : rule.week_start;
  icaltimetype week = from;
  icaltime_adjust(&week, -((icaltime_day_of_week(from) - weekStart + 7) % 7), 0, 0, 0);
  for (int weeks : {0, rule.interval > 1 ? rule.interval : 1}) {
    for (int d = 0; d < 7; ++d) {
      icaltimetype day = week;
      icaltime_adjust(&day, weeks * 7 + d, 0, 0, 0);
      if (icaltime_compare_date_only(day, from) >= 0 &&
          NamesWeekday(rule, icaltime_day_of_week(day))) {
        return day;
      }
    }
  }
  return from;
}

}  // namespace

ExpandResult ExpandRule(const std::string& text, AgendaDate from, AgendaDate until, size_t count,
                        std::vector<AgendaDate>* days) {
  icalerror_clear_errno();
  const icalrecurrencetype rule = RuleAsWritten(icalrecurrencetype_from_string(text.c_str()));
  if (rule.freq == ICAL_NO_RECURRENCE || icalerrno != ICAL_NO_ERROR) {
    icalerror_clear_errno();
    return ExpandResult::kRuleRejected;
  }
  if (rule.freq < ICAL_DAILY_RECURRENCE) return ExpandResult::kNotWholeDays;
  icaltimetype start = icaltime_null_time();
  start.year = from.year;
  start.month = from.month;
  start.day = from.day;
  start.is_date = 1;
  icalrecur_iterator* it = icalrecur_iterator_new(rule, FirstDay(rule, start));
  if (it == nullptr) {
    icalerror_clear_errno();
    return ExpandResult::kPartsConflict;
  }
  for (icaltimetype day = icalrecur_iterator_next(it);
       !icaltime_is_null_time(day) && !After(day, until) && (count == 0 || days->size() < count);
       day = icalrecur_iterator_next(it)) {
    const AgendaDate date = {day.year, day.month, day.day};
    // A rule with times of day names some days more than once.
    if (!days->empty() && CompareDates(days->back(), date) == 0) continue;
    days->push_back(date);
  }
  icalrecur_iterator_free(it);
  return ExpandResult::kDone;
}
