// The per-chip state behind a chip handle, kept in a movable local block.
// Only host/ reads or writes it (and tests that look inside).
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

struct ChipState {
  HLOCAL memoText;     // the memo shown, NUL-terminated, or null
  int32_t memoLength;  // its length without the NUL
  int32_t year;        // the date the memo was composed for
  int32_t month;
  int32_t day;
  int32_t selectedDay;  // the day command shown, 0 before the first text
  HLOCAL fileListCopy;  // the chip's text as of the last update with one
};

static_assert(sizeof(void*) != 4 ||
                  (sizeof(ChipState) == 28 && offsetof(ChipState, selectedDay) == 20 &&
                   offsetof(ChipState, fileListCopy) == 24),
              "a chip state is seven 32-bit fields on the product's platform");
