// A chip's day menu as a host meets it: the module loaded by path, the menu
// it builds read back item by item through the system's menu calls, and the
// check mark following the day the chip shows.
// Not covered: the dates each command shows (day_menu_test.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/vorlinde.h"
#include "tests/menu_readback.h"
#include "tests/module_test.h"
#include "tests/test_support.h"

namespace {

using menu_readback::Describe;
using menu_readback::Item;

HWND const kOwner = nullptr;

class DayMenuHostTest : public testing_support::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    Resolve("GetDrawExMenu", &getDrawExMenu_);
    Resolve("DoDrawExMenu", &doDrawExMenu_);
  }

  // The chip's menu as the host would show it; the menu is the host's, so
  // the test destroys it.
  std::vector<Item> Menu(ChipHandle chip) {
    HMENU menu = getDrawExMenu_(chip);
    EXPECT_NE(nullptr, menu);
    if (menu == nullptr) return {};
    std::vector<Item> items = menu_readback::Read(menu);
    EXPECT_TRUE(DestroyMenu(menu));
    return items;
  }

  // The menu's items with the item of command `checked` carrying the check:
  // 0, before the chip has shown a day, is the separator's command.
  static std::vector<Item> Expected(UINT checked) {
    std::vector<Item> items = {
        {CMD_YESTERDAY, MF_STRING, "昨日"}, {CMD_TODAY, MF_STRING, "今日"},
        {CMD_TOMORROW, MF_STRING, "明日"},  {0, MF_SEPARATOR, ""},
        {CMD_ABOUT, MF_STRING, "About..."},
    };
    for (Item& item : items)
      if (item.id == checked) item.state |= MF_CHECKED;
    return items;
  }

  GetDrawExMenuProc getDrawExMenu_ = nullptr;
  DoDrawExMenuProc doDrawExMenu_ = nullptr;
};

TEST_F(DayMenuHostTest, CheckFollowsTheDayShown) {
  // The file need not exist: the memo then lists no entry, but it is
  // recomposed all the same.
  const char* list = "no-such-agenda.vrn";
  ChipHandle chip = NewChip(list);
  ASSERT_NE(nullptr, chip);
  EXPECT_EQ(Describe(Expected(CMD_TODAY)), Describe(Menu(chip)));

  const struct {
    int32_t command;
    int result;
    UINT checked;
  } steps[] = {
      {CMD_YESTERDAY, 2, CMD_YESTERDAY}, {CMD_YESTERDAY, 0, CMD_YESTERDAY},
      {CMD_TOMORROW, 2, CMD_TOMORROW},   {CMD_ABOUT + 1, 0, CMD_TOMORROW},
      {CMD_TODAY, 2, CMD_TODAY},         {CMD_YESTERDAY - 1, 0, CMD_TODAY},
      {CMD_YESTERDAY, 2, CMD_YESTERDAY},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(s.result, doDrawExMenu_(chip, kOwner, s.command)) << "command " << s.command;
    EXPECT_EQ(Describe(Expected(s.checked)), Describe(Menu(chip))) << "after " << s.command;
  }
  // An update brings the chip back to today.
  ChipRecord record = {};
  record.chipText = list;
  EXPECT_EQ(1, update_(chip, nullptr, &record));
  EXPECT_EQ(Describe(Expected(CMD_TODAY)), Describe(Menu(chip)));
}

TEST_F(DayMenuHostTest, NoCheckBeforeTheFirstText) {
  ChipHandle chip = NewChip(nullptr);
  ASSERT_NE(nullptr, chip);
  EXPECT_EQ(Describe(Expected(0)), Describe(Menu(chip)));
  for (int32_t command : {CMD_YESTERDAY, CMD_TODAY, CMD_TOMORROW}) {
    EXPECT_EQ(0, doDrawExMenu_(chip, kOwner, command)) << "command " << command;
    EXPECT_EQ(0, getMemoString_(chip, nullptr, 0)) << "command " << command;
  }
  EXPECT_EQ(Describe(Expected(0)), Describe(Menu(chip)));

  ChipRecord record = {};
  record.chipText = "";
  EXPECT_EQ(1, update_(chip, nullptr, &record));
  EXPECT_EQ(Describe(Expected(CMD_TODAY)), Describe(Menu(chip)));
}

TEST_F(DayMenuHostTest, EveryCallGivesTheHostANewMenu) {
  ChipHandle chip = NewChip("");
  HMENU first = getDrawExMenu_(chip);
  HMENU second = getDrawExMenu_(chip);
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  EXPECT_NE(first, second);
  EXPECT_TRUE(DestroyMenu(first));
  // The second menu is whole after the first is gone.
  EXPECT_EQ(Describe(Expected(CMD_TODAY)), Describe(menu_readback::Read(second)));
  EXPECT_TRUE(DestroyMenu(second));
}

}  // namespace
