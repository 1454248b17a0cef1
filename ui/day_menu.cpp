// A chip's day menu: which day's agenda the chip shows, and the About entry.
#include "host/chip.h"
#include "host/vorlinde.h"
#include "resources/texts.h"

namespace {

bool IsDayCommand(int32_t command) { return command >= CMD_YESTERDAY && command <= CMD_TOMORROW; }

}  // namespace

extern "C" HMENU GetDrawExMenu(ChipHandle chip) {
  HMENU menu = CreateMenu();
  if (menu == nullptr) return nullptr;
  AppendMenuA(menu, MF_STRING, CMD_YESTERDAY, texts::kYesterday);
  AppendMenuA(menu, MF_STRING, CMD_TODAY, texts::kToday);
  AppendMenuA(menu, MF_STRING, CMD_TOMORROW, texts::kTomorrow);
  AppendMenuA(menu, MF_SEPARATOR, kSeparatorCommand, nullptr);
  AppendMenuA(menu, MF_STRING, CMD_ABOUT, texts::kAbout);
  // The check goes by command on the day shown. Before the chip has shown a
  // day that is 0, the separator's command, and a separator shows no mark.
  CheckMenuItem(menu, static_cast<UINT>(ShownDay(chip)), MF_BYCOMMAND | MF_CHECKED);
  return menu;
}

extern "C" int DoDrawExMenu(ChipHandle chip, HWND owner, int32_t command) {
  if (IsDayCommand(command)) return ShowDay(chip, command) ? kMemoRecomposed : kMenuDone;
  if (command == CMD_ABOUT) DrawExAbout(owner);
  return kMenuDone;
}
