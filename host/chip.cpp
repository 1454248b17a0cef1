// The chip lifecycle: creating a chip's state, recomposing its memo when the
// host updates the chip, handing the memo over and releasing the state.
#include <string.h>

#include "host/chip_state.h"
#include "host/clock.h"
#include "host/vorlinde.h"

void ComposeChipMemo(ChipState* state, const char* fileList, size_t listLength, AgendaDate date) {
  state->year = date.year;
  state->month = date.month;
  state->day = date.day;
  if (state->memoText != nullptr) {
    LocalFree(state->memoText);
    state->memoText = nullptr;
    state->memoLength = 0;
  }
  state->memoLength = ComposeMemo(fileList, listLength, date, &state->memoText);
}

namespace {

// Replaces the state's copy of the file list with `text`. On failure the
// state keeps no copy, and the day menu has nothing to recompose from.
void StoreFileListCopy(ChipState* state, const char* text, size_t length) {
  if (state->fileListCopy != nullptr) {
    LocalFree(state->fileListCopy);
    state->fileListCopy = nullptr;
  }
  HLOCAL copy = LocalAlloc(LHND, length + 1);
  if (copy == nullptr) return;
  LockedLocal<char> bytes(copy);
  if (!bytes) {
    LocalFree(copy);
    return;
  }
  memcpy(bytes.get(), text, length + 1);
  state->fileListCopy = copy;
}

}  // namespace

extern "C" int InitializeChip(ChipHandle* chip, void* passThrough, const ChipRecord* record) {
  if (chip == nullptr) return 0;
  *chip = LocalAlloc(LHND, sizeof(ChipState));
  if (*chip != nullptr) Update(*chip, passThrough, record);
  return 0;
}

extern "C" int Update(ChipHandle chip, void* /*passThrough*/, const ChipRecord* record) {
  LockedLocal<ChipState> state(chip);
  if (!state || record == nullptr || record->chipText == nullptr) return 1;
  // A clock the C library cannot convert gives no date: the chip keeps the
  // memo and date it shows rather than show a date that does not exist.
  AgendaDate today;
  if (!LocalDate(0, &today)) return 1;
  const char* text = record->chipText;
  const size_t length = strlen(text);
  ComposeChipMemo(state.get(), text, length, today);
  StoreFileListCopy(state.get(), text, length);
  state->selectedDay = CMD_TODAY;
  return 1;
}

extern "C" int GetMemoString(ChipHandle chip, char* buffer, int32_t size) {
  LockedLocal<ChipState> state(chip);
  if (!state) return 0;
  if (buffer != nullptr && size > 0) {
    LockedLocal<const char> memo(state->memoText);
    if (memo) lstrcpynA(buffer, memo.get(), size);
  }
  return state->memoLength;
}

extern "C" int UnInitializeChip(ChipHandle chip) {
  {
    LockedLocal<ChipState> state(chip);
    if (!state) return 0;
    if (state->memoText != nullptr) LocalFree(state->memoText);
    if (state->fileListCopy != nullptr) LocalFree(state->fileListCopy);
    state->memoText = nullptr;
    state->fileListCopy = nullptr;
  }
  LocalFree(chip);
  return 0;
}
