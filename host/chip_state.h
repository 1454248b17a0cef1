// The per-chip state behind a chip handle, kept in a movable local block.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

#include "agenda/agenda.h"

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

// Locks a movable local block for the lifetime of the object.
template <typename T>
class LockedLocal {
 public:
  explicit LockedLocal(HLOCAL block)
      : block_(block), data_(block != nullptr ? static_cast<T*>(LocalLock(block)) : nullptr) {}
  ~LockedLocal() {
    if (data_ != nullptr) LocalUnlock(block_);
  }
  LockedLocal(const LockedLocal&) = delete;
  LockedLocal& operator=(const LockedLocal&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  T* get() const { return data_; }
  T* operator->() const { return data_; }

 private:
  HLOCAL block_;
  T* data_;
};

// Composes the chip's memo for `date` from a file list, replacing the memo it
// had, and records the date.
void ComposeChipMemo(ChipState* state, const char* fileList, size_t listLength, AgendaDate date);
