// Repetition rules where libical reads them otherwise than RFC 5545 does.
#pragma once

#include <libical/ical.h>

// `rule` as RFC 5545's table of BYxxx parts reads it. A yearly rule with
// BYMONTHDAY but no BYMONTH, BYWEEKNO or BYYEARDAY names those days of every
// month (BYMONTHDAY expands a yearly rule), where libical would take the
// first occurrence's month alone: the rule comes back with BYMONTH=1..12,
// which names the same days.
icalrecurrencetype RuleAsWritten(icalrecurrencetype rule);
