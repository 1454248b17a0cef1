// A chip's day menu: which day's agenda the chip shows, and the About entry.
#include <string.h>

#include "host/chip_state.h"
#include "host/clock.h"
#include "host/vorlinde.h"

namespace {

bool IsDayCommand(int32_t command) { return command >= CMD_YESTERDAY && command <= CMD_TOMORROW; }

// The day command the chip shows, or 0 when it shows none yet (or there is
// no state to ask).
int32_t SelectedDay(ChipHandle chip) {
  LockedLocal<const ChipState> state(chip);
  return state ? state->selectedDay : 0;
}

// Recomposes the chip's memo from its stored file list for the day `command`
// names. False when nothing changed.
bool ShowDay(ChipHandle chip, int32_t command) {
  LockedLocal<ChipState> state(chip);
  if (!state || command == state->selectedDay) return false;
  LockedLocal<const char> fileList(state->fileListCopy);
  if (!fileList) return false;
  // A clock the C library cannot convert gives no date: keep what is shown
  // rather than compose for a date that does not exist.
  AgendaDate date;
  if (!LocalDate(command - CMD_TODAY, &date)) return false;
  ComposeChipMemo(state.get(), fileList.get(), strlen(fileList.get()), date);
  state->selectedDay = command;
  return true;
}

}  // namespace

extern "C" HMENU GetDrawExMenu(ChipHandle chip) {
  HMENU menu = CreateMenu();
  if (menu == nullptr) return nullptr;
  AppendMenuA(menu, MF_STRING, CMD_YESTERDAY, "昨日");
  AppendMenuA(menu, MF_STRING, CMD_TODAY, "今日");
  AppendMenuA(menu, MF_STRING, CMD_TOMORROW, "明日");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, CMD_ABOUT, "About...");
  // The check goes by command. Before the chip has shown a day the selected
  // day is 0, the separator's command, so no day or About item is checked.
  CheckMenuItem(menu, static_cast<UINT>(SelectedDay(chip)), MF_BYCOMMAND | MF_CHECKED);
  return menu;
}

extern "C" int DoDrawExMenu(ChipHandle chip, HWND owner, int32_t command) {
  if (IsDayCommand(command)) return ShowDay(chip, command) ? 2 : 0;
  if (command == CMD_ABOUT) DrawExAbout(owner);
  return 0;
}
