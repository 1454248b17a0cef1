// Today and the days around it far from now, through the entry points with a
// clock the test sets: past the end of 32-bit time (2038-01-19), on a leap
// day and around a century year that is not a leap year; and what a clock
// the C library cannot convert changes (nothing). The program links the
// module's objects with the test clock and is built for every platform the
// module runs on, the 32-bit Windows runtime included.
// Not covered: time zones with daylight saving (day_menu_test.cpp).
#include <gtest/gtest.h>
#include <stdio.h>
#include <time.h>

#include <limits>
#include <string>
#include <vector>

#include "host/vorlinde.h"
#include "testing/fixed_clock.h"
#include "tests/global_text.h"
#include "tests/test_support.h"

namespace {

using testing_support::EntryFor;
using testing_support::Escaped;
using testing_support::GlobalText;
using testing_support::Heading;
using testing_support::MemoFor;
using testing_support::ScratchDir;

std::string MemoOf(ChipHandle chip) {
  char buffer[256] = "";
  GetMemoString(chip, buffer, sizeof buffer);
  return buffer;
}

// Hands `list` over through the send-text exchange; the text that comes back.
std::string Exchanged(const std::string& list, int* result) {
  HGLOBAL block = testing_support::NewGlobalText(list);
  *result = ExchangeSendString(&block);
  const std::string text = GlobalText(block);
  GlobalFree(block);
  return text;
}

TEST(FarDates, TodayAndTheDaysAround) {
  const struct {
    AgendaDate today;  // the clock stands at its local noon
    int32_t command;   // chosen from the day menu after the chip is made
    AgendaDate shown;
  } cases[] = {
      // The last day a 32-bit clock reaches, and the day after it.
      {{2038, 1, 19}, CMD_TOMORROW, {2038, 1, 20}},
      {{2038, 1, 20}, CMD_YESTERDAY, {2038, 1, 19}},
      {{2038, 1, 20}, CMD_TOMORROW, {2038, 1, 21}},
      {{2040, 2, 29}, CMD_YESTERDAY, {2040, 2, 28}},
      {{2040, 2, 29}, CMD_TOMORROW, {2040, 3, 1}},
      {{2040, 2, 28}, CMD_TOMORROW, {2040, 2, 29}},
      // 2100 is not a leap year.
      {{2100, 3, 1}, CMD_YESTERDAY, {2100, 2, 28}},
      {{2100, 2, 28}, CMD_TOMORROW, {2100, 3, 1}},
      {{2100, 12, 31}, CMD_TOMORROW, {2101, 1, 1}},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    const std::string where = Heading(c.today) + " (" + std::to_string(c.command) + ")";
    fixed_clock::Set(fixed_clock::LocalInstant(c.today.year, c.today.month, c.today.day, 12, 0));
    const std::string file =
        dir.Write("days.vrn", EntryFor(c.today) + "\r\n" + EntryFor(c.shown) + "\r\n");
    ChipRecord record = {};
    record.chipText = file.c_str();
    ChipHandle chip = nullptr;
    InitializeChip(&chip, nullptr, &record);
    ASSERT_NE(nullptr, chip) << where;
    EXPECT_EQ(Escaped(MemoFor(c.today)), Escaped(MemoOf(chip))) << where << ": Update";
    EXPECT_EQ(2, DoDrawExMenu(chip, nullptr, c.command)) << where;
    EXPECT_EQ(Escaped(MemoFor(c.shown)), Escaped(MemoOf(chip))) << where << ": day menu";
    UnInitializeChip(chip);

    int result = 0;
    const std::string exchanged = Exchanged(file, &result);
    EXPECT_EQ(Escaped(MemoFor(c.today)), Escaped(exchanged)) << where << ": exchange";
    EXPECT_EQ(static_cast<int>(exchanged.size()), result) << where << ": exchange";
  }
}

TEST(FarDates, ClockThatCannotBeConvertedChangesNothing) {
  ScratchDir dir;
  const AgendaDate today = {1998, 4, 1};
  const std::string file = dir.Write("days.vrn", EntryFor(today) + "\r\n");
  fixed_clock::Set(fixed_clock::LocalInstant(1998, 4, 1, 12, 0));
  ChipRecord record = {};
  record.chipText = file.c_str();
  ChipHandle chip = nullptr;
  InitializeChip(&chip, nullptr, &record);
  ASSERT_NE(nullptr, chip);
  ASSERT_EQ(Escaped(MemoFor(today)), Escaped(MemoOf(chip)));

  // The last instant there is has no local date in any C library.
  fixed_clock::Set(std::numeric_limits<time_t>::max());
  const std::string other = dir.Write("other.vrn", "0000/00/00 any day\r\n");
  record.chipText = other.c_str();
  EXPECT_EQ(1, Update(chip, nullptr, &record));
  EXPECT_EQ(Escaped(MemoFor(today)), Escaped(MemoOf(chip))) << "Update keeps the memo";
  EXPECT_EQ(0, DoDrawExMenu(chip, nullptr, CMD_TOMORROW));
  EXPECT_EQ(Escaped(MemoFor(today)), Escaped(MemoOf(chip))) << "the day menu keeps the memo";
  HMENU menu = GetDrawExMenu(chip);
  EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(menu, CMD_TODAY, MF_BYCOMMAND) & MF_CHECKED)
      << "today stays checked";
  DestroyMenu(menu);
  UnInitializeChip(chip);

  int result = -1;
  EXPECT_EQ(Escaped(file), Escaped(Exchanged(file, &result))) << "the host's text stays";
  EXPECT_EQ(0, result);
}

}  // namespace
