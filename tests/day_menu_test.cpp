// The day menu over the module's own objects with a clock the tests set:
// which date each day command shows, in time zones with and without daylight
// saving and across month, year and leap-day boundaries, and when a command
// changes nothing.
// Not covered: the menu as the system's menu calls read it (day_menu_host_test.cpp).
#include <gtest/gtest.h>
#include <standin.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <limits>
#include <string>
#include <vector>

#include "host/chip_state.h"
#include "host/locked_local.h"
#include "host/vorlinde.h"
#include "testing/fixed_clock.h"
#include "testing/time_zone.h"
#include "tests/menu_readback.h"
#include "tests/test_support.h"

namespace {

using testing_support::EntryFor;
using testing_support::Escaped;
using testing_support::Heading;
using testing_support::kError;
using testing_support::MemoFor;
using testing_support::ScratchDir;

HWND const kOwner = reinterpret_cast<HWND>(0x0BEE);

class DayMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::ResetRecords();
    standin::ClearFaults();
    blocksBefore_ = standin::LiveBlocks();
  }

  void TearDown() override {
    for (ChipHandle chip : chips_) UnInitializeChip(chip);
    EXPECT_EQ(blocksBefore_, standin::LiveBlocks()) << "heap blocks leaked";
    EXPECT_EQ(0, standin::FaultCount()) << "heap or dialog misused";
  }

  // A chip whose text is `text` (null for none), created at the clock's now.
  ChipHandle NewChip(const char* text) {
    ChipRecord record = {};
    record.chipText = text;
    ChipHandle chip = nullptr;
    EXPECT_EQ(0, InitializeChip(&chip, nullptr, &record));
    EXPECT_NE(nullptr, chip);
    if (chip != nullptr) chips_.push_back(chip);
    return chip;
  }

  // An agenda file with one entry for each of `dates`; its path.
  std::string AgendaFile(const std::vector<AgendaDate>& dates) {
    std::string content = "; one entry for each date the test shows\r\n";
    for (const AgendaDate& date : dates) content += EntryFor(date) + "\r\n";
    return dir_.Write("days.vrn", content);
  }

  static std::string Memo(ChipHandle chip) {
    char buffer[512] = "";
    const int length = GetMemoString(chip, buffer, sizeof buffer);
    EXPECT_EQ(static_cast<int>(strlen(buffer)), length);
    return buffer;
  }

  // The commands the chip's menu shows checked.
  static std::vector<UINT> Checked(ChipHandle chip) {
    HMENU menu = GetDrawExMenu(chip);
    std::vector<UINT> checked = menu_readback::Checked(menu);
    DestroyMenu(menu);
    return checked;
  }

  ScratchDir dir_;
  std::vector<ChipHandle> chips_;
  int blocksBefore_ = 0;
};

using Days = std::vector<UINT>;

TEST_F(DayMenuTest, CalendarDaysAroundNow) {
  const struct {
    const char* zone;
    int year, month, day, hour, minute;  // now, local
    int32_t command;
    AgendaDate shown;
  } cases[] = {
      {"Asia/Tokyo", 1998, 4, 1, 12, 0, CMD_YESTERDAY, {1998, 3, 31}},
      {"Asia/Tokyo", 1998, 4, 1, 12, 0, CMD_TOMORROW, {1998, 4, 2}},
      {"Asia/Tokyo", 2000, 3, 1, 0, 0, CMD_YESTERDAY, {2000, 2, 29}},
      {"Asia/Tokyo", 2000, 2, 28, 23, 59, CMD_TOMORROW, {2000, 2, 29}},
      {"Asia/Tokyo", 1999, 3, 1, 0, 30, CMD_YESTERDAY, {1999, 2, 28}},
      {"Asia/Tokyo", 1999, 2, 28, 8, 0, CMD_TOMORROW, {1999, 3, 1}},
      {"Asia/Tokyo", 1999, 12, 31, 23, 59, CMD_TOMORROW, {2000, 1, 1}},
      {"Asia/Tokyo", 2000, 1, 1, 0, 0, CMD_YESTERDAY, {1999, 12, 31}},
      {"Asia/Tokyo", 2026, 4, 30, 18, 0, CMD_TOMORROW, {2026, 5, 1}},
      // The day of 25 hours: 00:30 plus 86400 s is still the same date, and
      // 23:30 minus 86400 s too.
      {"America/New_York", 2026, 11, 1, 0, 30, CMD_TOMORROW, {2026, 11, 2}},
      {"America/New_York", 2026, 11, 1, 23, 30, CMD_YESTERDAY, {2026, 10, 31}},
      {"America/New_York", 2026, 11, 2, 0, 30, CMD_YESTERDAY, {2026, 11, 1}},
      {"America/New_York", 2026, 10, 31, 23, 30, CMD_TOMORROW, {2026, 11, 1}},
      // The day of 23 hours: 23:30 plus 86400 s skips a date, and 00:30 of
      // the day after minus 86400 s too.
      {"America/New_York", 2026, 3, 7, 23, 30, CMD_TOMORROW, {2026, 3, 8}},
      {"America/New_York", 2026, 3, 9, 0, 30, CMD_YESTERDAY, {2026, 3, 8}},
      {"America/New_York", 2026, 3, 8, 23, 30, CMD_TOMORROW, {2026, 3, 9}},
      {"America/New_York", 2026, 3, 8, 0, 30, CMD_YESTERDAY, {2026, 3, 7}},
  };
  for (const auto& c : cases) {
    fixed_clock::TimeZone zone(c.zone);
    fixed_clock::Set(fixed_clock::LocalInstant(c.year, c.month, c.day, c.hour, c.minute));
    const std::string where = std::string(c.zone) + " " + std::to_string(c.year) + "-" +
                              std::to_string(c.month) + "-" + std::to_string(c.day) + " " +
                              std::to_string(c.hour) + ":" + std::to_string(c.minute) +
                              ", command " + std::to_string(c.command);
    const AgendaDate today = {c.year, c.month, c.day};
    const std::string file = AgendaFile({today, c.shown});
    ChipHandle chip = NewChip(file.c_str());
    ASSERT_EQ(Escaped(MemoFor(today)), Escaped(Memo(chip))) << where;

    EXPECT_EQ(2, DoDrawExMenu(chip, kOwner, c.command)) << where;
    EXPECT_EQ(Escaped(MemoFor(c.shown)), Escaped(Memo(chip))) << where;
    EXPECT_EQ(Days{static_cast<UINT>(c.command)}, Checked(chip)) << where;
  }
}

TEST_F(DayMenuTest, TheDayShownIsKeptWhenTheDateMoves) {
  fixed_clock::TimeZone zone("Asia/Tokyo");
  const AgendaDate first = {1998, 4, 1}, second = {1998, 4, 2}, third = {1998, 4, 3};
  fixed_clock::Set(fixed_clock::LocalInstant(1998, 4, 1, 23, 59));
  ChipHandle chip = NewChip(AgendaFile({first, second, third}).c_str());
  fixed_clock::Set(fixed_clock::LocalInstant(1998, 4, 2, 0, 1));
  // "Today" is what the chip shows, though the date has changed since.
  EXPECT_EQ(0, DoDrawExMenu(chip, kOwner, CMD_TODAY));
  EXPECT_EQ(Escaped(MemoFor(first)), Escaped(Memo(chip)));
  // Another day is counted from the new date.
  EXPECT_EQ(2, DoDrawExMenu(chip, kOwner, CMD_TOMORROW));
  EXPECT_EQ(Escaped(MemoFor(third)), Escaped(Memo(chip)));
  EXPECT_EQ(2, DoDrawExMenu(chip, kOwner, CMD_TODAY));
  EXPECT_EQ(Escaped(MemoFor(second)), Escaped(Memo(chip)));
}

TEST_F(DayMenuTest, UpdateBringsBackToday) {
  fixed_clock::TimeZone zone("Asia/Tokyo");
  fixed_clock::Set(fixed_clock::LocalInstant(2000, 3, 1, 9, 0));
  const AgendaDate yesterday = {2000, 2, 29}, today = {2000, 3, 1};
  const std::string file = AgendaFile({yesterday, today});
  ChipHandle chip = NewChip(file.c_str());
  ASSERT_EQ(2, DoDrawExMenu(chip, kOwner, CMD_YESTERDAY));
  EXPECT_EQ(Escaped(MemoFor(yesterday)), Escaped(Memo(chip)));
  EXPECT_EQ(Days{CMD_YESTERDAY}, Checked(chip));

  ChipRecord record = {};
  record.chipText = file.c_str();
  EXPECT_EQ(1, Update(chip, nullptr, &record));
  EXPECT_EQ(Escaped(MemoFor(today)), Escaped(Memo(chip)));
  EXPECT_EQ(Days{CMD_TODAY}, Checked(chip));
}

TEST_F(DayMenuTest, EmptyTextKeepsTheErrorMemoForAnyDay) {
  fixed_clock::TimeZone zone("Asia/Tokyo");
  fixed_clock::Set(fixed_clock::LocalInstant(1999, 12, 31, 12, 0));
  ChipHandle chip = NewChip("");
  ASSERT_EQ(Escaped(kError), Escaped(Memo(chip)));
  EXPECT_EQ(2, DoDrawExMenu(chip, kOwner, CMD_TOMORROW));
  EXPECT_EQ(Escaped(kError), Escaped(Memo(chip)));
  EXPECT_EQ(28, GetMemoString(chip, nullptr, 0));
  EXPECT_EQ(Days{CMD_TOMORROW}, Checked(chip));
  LockedLocal<ChipState> state(chip);
  ASSERT_TRUE(state);
  EXPECT_EQ(2000, state->year);
  EXPECT_EQ(1, state->month);
  EXPECT_EQ(1, state->day);
}

TEST_F(DayMenuTest, NoStoredFileListMeansNothingToRecompose) {
  fixed_clock::TimeZone zone("Asia/Tokyo");
  fixed_clock::Set(fixed_clock::LocalInstant(1998, 4, 1, 12, 0));
  const AgendaDate today = {1998, 4, 1};
  ChipHandle chip = NewChip(AgendaFile({today, {1998, 4, 2}}).c_str());
  {
    // As after an update whose copy of the text could not be allocated.
    LockedLocal<ChipState> state(chip);
    ASSERT_TRUE(state);
    LocalFree(state->fileListCopy);
    state->fileListCopy = nullptr;
  }
  EXPECT_EQ(0, DoDrawExMenu(chip, kOwner, CMD_TOMORROW));
  EXPECT_EQ(Escaped(MemoFor(today)), Escaped(Memo(chip)));
  EXPECT_EQ(Days{CMD_TODAY}, Checked(chip));
}

TEST_F(DayMenuTest, OtherCommandsDoNothing) {
  fixed_clock::TimeZone zone("Asia/Tokyo");
  fixed_clock::Set(fixed_clock::LocalInstant(1998, 4, 1, 12, 0));
  const AgendaDate today = {1998, 4, 1};
  ChipHandle chip = NewChip(AgendaFile({today, {1998, 3, 31}, {1998, 4, 2}}).c_str());
  for (int32_t command : {9999, 10004, 0, 1, -1, -10000, std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max()}) {
    EXPECT_EQ(0, DoDrawExMenu(chip, kOwner, command)) << "command " << command;
    EXPECT_EQ(Escaped(MemoFor(today)), Escaped(Memo(chip))) << "command " << command;
    EXPECT_EQ(Days{CMD_TODAY}, Checked(chip)) << "command " << command;
  }
  EXPECT_TRUE(standin::DialogCalls().empty());
  EXPECT_TRUE(standin::MessageBoxCalls().empty());
}

TEST_F(DayMenuTest, AboutOpensTheDialogOverTheOwner) {
  fixed_clock::TimeZone zone("Asia/Tokyo");
  fixed_clock::Set(fixed_clock::LocalInstant(1998, 4, 1, 12, 0));
  const AgendaDate today = {1998, 4, 1};
  ChipHandle chip = NewChip(AgendaFile({today}).c_str());
  ChipHandle none = nullptr;  // the About entry needs no chip
  for (ChipHandle which : {chip, none}) {
    standin::ResetRecords();
    standin::ScriptDialogCommands({IDOK});
    EXPECT_EQ(0, DoDrawExMenu(which, kOwner, CMD_ABOUT));
    const std::vector<standin::DialogCall> calls = standin::DialogCalls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(102u, calls[0].templateId);
    EXPECT_EQ(kOwner, calls[0].parent);
    EXPECT_EQ(0, calls[0].initParam);
    EXPECT_TRUE(calls[0].ended);
  }
  EXPECT_EQ(Escaped(MemoFor(today)), Escaped(Memo(chip)));
  EXPECT_EQ(Days{CMD_TODAY}, Checked(chip));
}

TEST_F(DayMenuTest, NullChipHandleTouchesNothing) {
  fixed_clock::Set(fixed_clock::LocalInstant(1998, 4, 1, 12, 0));
  for (int32_t command :
       {int32_t{CMD_YESTERDAY}, int32_t{CMD_TODAY}, int32_t{CMD_TOMORROW}, 9999}) {
    EXPECT_EQ(0, DoDrawExMenu(nullptr, kOwner, command)) << "command " << command;
  }
  // The menu is still offered, with no day checked.
  HMENU menu = GetDrawExMenu(nullptr);
  ASSERT_NE(nullptr, menu);
  EXPECT_EQ(5, GetMenuItemCount(menu));
  EXPECT_EQ(Days{}, menu_readback::Checked(menu));
  DestroyMenu(menu);
}

}  // namespace
