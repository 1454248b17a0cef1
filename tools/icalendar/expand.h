// Expanding one repetition rule (RFC 5545 RRULE) into the days it names.
#pragma once

#include <string>
#include <vector>

#include "agenda/agenda.h"

enum class ExpandResult {
  kDone,
  kRuleRejected,   // not a repetition rule at all
  kPartsConflict,  // a rule whose parts cannot go together (BYMONTHDAY in a weekly rule)
  kNotWholeDays,   // it repeats more often than daily
};

// The days of `rule` from `from` on (the repetition's first day), to `until`
// at the latest and at most `count` of them (0 for no limit), in `*days`.
// The rule's own COUNT and UNTIL apply as well. `from` need not be a day the
// rule names: a weekly rule's weeks are then counted from the week `from`
// falls in, a week beginning on the rule's WKST (Monday unless it says).
ExpandResult ExpandRule(const std::string& rule, AgendaDate from, AgendaDate until, size_t count,
                        std::vector<AgendaDate>* days);
