// The module's only view of the clock. The engine takes dates; only the entry
// points ask for today.
#pragma once

#include <time.h>

#include "agenda/agenda.h"

// The local calendar date `dayOffset` days from the local day of `now`. A day
// is a calendar day, not 86400 seconds, so daylight-saving changes do not
// skip or repeat a date.
AgendaDate LocalDateAt(time_t now, int dayOffset);

// The same for the current instant.
AgendaDate LocalDate(int dayOffset);

// The current instant. Kept in a file of its own so that test builds can link
// a clock they set instead.
time_t CurrentInstant();
