// The chip lifecycle: creating a chip's state, recomposing its memo when the
// host updates the chip or the user picks another day, handing the memo over
// and releasing the state.
#include "host/chip.h"

#include <string.h>

#include "host/chip_state.h"
#include "host/clock.h"
#include "host/locked_local.h"
#include "host/vorlinde.h"

bool ComposeMemoOfDay(const char* fileList, size_t listLength, int dayOffset, HLOCAL* memoText,
                      int32_t* length, AgendaDate* date) {
  AgendaDate day;
  if (!LocalDate(dayOffset, &day)) return false;
  *length = ComposeMemo(fileList, listLength, day, memoText);
  *date = day;
  return true;
}

namespace {

// Recomposes the chip's memo for the day `dayOffset` days from today and
// records its date. A clock the C library cannot convert gives no date: the
// chip then keeps the memo and date it shows (false).
bool Recompose(ChipState* state, const char* fileList, size_t listLength, int dayOffset) {
  AgendaDate date;
  if (!ComposeMemoOfDay(fileList, listLength, dayOffset, &state->memoText, &state->memoLength,
                        &date)) {
    return false;
  }
  state->year = date.year;
  state->month = date.month;
  state->day = date.day;
  return true;
}

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

int32_t ShownDay(ChipHandle chip) {
  LockedLocal<const ChipState> state(chip);
  return state ? state->selectedDay : 0;
}

bool ShowDay(ChipHandle chip, int32_t dayCommand) {
  LockedLocal<ChipState> state(chip);
  if (!state || dayCommand == state->selectedDay) return false;
  LockedLocal<const char> fileList(state->fileListCopy);
  if (!fileList) return false;
  const size_t length = strlen(fileList.get());
  if (!Recompose(state.get(), fileList.get(), length, dayCommand - CMD_TODAY)) return false;
  state->selectedDay = dayCommand;
  return true;
}

extern "C" int InitializeChip(ChipHandle* chip, void* passThrough, const ChipRecord* record) {
  if (chip == nullptr) return 0;
  *chip = LocalAlloc(LHND, sizeof(ChipState));
  if (*chip != nullptr) Update(*chip, passThrough, record);
  return 0;
}

extern "C" int Update(ChipHandle chip, void* /*passThrough*/, const ChipRecord* record) {
  LockedLocal<ChipState> state(chip);
  if (!state || record == nullptr || record->chipText == nullptr) return 1;
  const char* text = record->chipText;
  const size_t length = strlen(text);
  if (!Recompose(state.get(), text, length, 0)) return 1;
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
