// The module's only view of the clock. The engine takes dates; only the entry
// points ask for today.
#pragma once

#include <time.h>

#include "agenda/agenda.h"

// The local calendar date `dayOffset` calendar days from today's local date,
// in `*date`. False, leaving `*date` alone, when the C library cannot convert
// the current instant to a local date.
bool LocalDate(int dayOffset, AgendaDate* date);

// The current instant. Kept in a file of its own so that test builds can link
// a clock they set instead.
time_t CurrentInstant();
