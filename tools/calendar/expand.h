// Expanding one repetition rule (RFC 5545 RRULE) into the days it names.
#pragma once

#include <string>
#include <vector>

#include "agenda/agenda.h"

enum class ExpandResult { kDone, kRuleRejected, kNotWholeDays };

// The days of `rule` from `from` on (the repetition's first day), to `until`
// at the latest and at most `count` of them (0 for no limit), in `*days`.
// The rule's own COUNT and UNTIL apply as well. kRuleRejected when libical
// cannot read the rule, kNotWholeDays when it repeats more often than daily.
ExpandResult ExpandRule(const std::string& rule, AgendaDate from, AgendaDate until, size_t count,
                        std::vector<AgendaDate>* days);
