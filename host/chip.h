// What host/ offers the rest of the module: the memo of a day, and a chip's
// day as its menu shows and changes it. Only host/ touches a chip's state.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

#include "agenda/agenda.h"
#include "host/vorlinde.h"

// Composes into `*memoText`, releasing the memo it held, the memo of the
// local date `dayOffset` calendar days from today, from the file list's first
// `listLength` bytes; `*length` and `*date` receive its length and date.
// False, changing nothing, when the clock cannot be converted to a date.
bool ComposeMemoOfDay(const char* fileList, size_t listLength, int dayOffset, HLOCAL* memoText,
                      int32_t* length, AgendaDate* date);

// The day command whose memo the chip shows; 0 before it has shown one, and
// for no chip.
int32_t ShownDay(ChipHandle chip);

// Makes the chip show the memo of the day `dayCommand` (CMD_YESTERDAY to
// CMD_TOMORROW) names, recomposed from its stored file list. False, changing
// nothing, when the chip already shows that day (even if the date has
// changed since), keeps no file list, or the clock cannot be converted.
bool ShowDay(ChipHandle chip, int32_t dayCommand);
