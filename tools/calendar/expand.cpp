#include "tools/calendar/expand.h"

#include <libical/ical.h>

namespace {

bool After(const icaltimetype& time, AgendaDate date) {
  if (time.year != date.year) return time.year > date.year;
  if (time.month != date.month) return time.month > date.month;
  return time.day > date.day;
}

}  // namespace

ExpandResult ExpandRule(const std::string& rule, AgendaDate from, AgendaDate until, size_t count,
                        std::vector<AgendaDate>* days) {
  icalerror_clear_errno();
  const icalrecurrencetype recurrence = icalrecurrencetype_from_string(rule.c_str());
  if (recurrence.freq == ICAL_NO_RECURRENCE || icalerrno != ICAL_NO_ERROR) {
    icalerror_clear_errno();
    return ExpandResult::kRuleRejected;
  }
  if (recurrence.freq < ICAL_DAILY_RECURRENCE) return ExpandResult::kNotWholeDays;
  icaltimetype start = icaltime_null_time();
  start.year = from.year;
  start.month = from.month;
  start.day = from.day;
  start.is_date = 1;
  icalrecur_iterator* it = icalrecur_iterator_new(recurrence, start);
  if (it == nullptr) {
    icalerror_clear_errno();
    return ExpandResult::kRuleRejected;
  }
  for (icaltimetype day = icalrecur_iterator_next(it);
       !icaltime_is_null_time(day) && !After(day, until) && (count == 0 || days->size() < count);
       day = icalrecur_iterator_next(it)) {
    const AgendaDate date = {day.year, day.month, day.day};
    // A rule with times of day names some days more than once.
    if (!days->empty() && days->back().year == date.year && days->back().month == date.month &&
        days->back().day == date.day) {
      continue;
    }
    days->push_back(date);
  }
  icalrecur_iterator_free(it);
  return ExpandResult::kDone;
}
