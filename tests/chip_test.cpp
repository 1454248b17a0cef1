// The module as a host meets it: loaded by path, entry points found by name,
// chips created, updated, read and released.
// Not covered: the day menu and the exchange (their own tests).
#include <gtest/gtest.h>
#include <string.h>
#include <time.h>

#include <string>
#include <vector>

#include "host/vorlinde.h"
#include "tests/module_test.h"
#include "tests/platform.h"
#include "tests/test_support.h"

namespace {

using testing_support::Escaped;
using testing_support::Heading;
using testing_support::kError;
using testing_support::ScratchDir;

class ChipTest : public testing_support::ModuleTest {
 protected:
  // The memo for today of a chip with `text`, composed while the date stood
  // still; `*today` receives that date.
  std::string TodaysMemo(const char* text, AgendaDate* today) {
    for (;;) {
      const AgendaDate before = testing_support::LocalToday();
      ChipHandle chip = NewChip(text);
      const std::string memo = Memo(chip);
      Release(chip);
      if (testing_support::SameDate(before, testing_support::LocalToday())) {
        *today = before;
        return memo;
      }
    }
  }
};

TEST_F(ChipTest, TodaysAgenda) {
  ScratchDir dir;
  const std::string file = dir.Write("daily.vrn",
                                     "; every day\r\n0000/00/00 毎日の予定\r\n"
                                     "1970/01/01 never\r\n");
  AgendaDate today;
  const std::string memo = TodaysMemo(file.c_str(), &today);
  EXPECT_EQ(Heading(today) + "\r\n毎日の予定", memo) << Escaped(memo);
}

TEST_F(ChipTest, NoEntryToday) {
  ScratchDir dir;
  const std::string file = dir.Write("old.vrn", "1970/01/01 long ago\r\n");
  AgendaDate today;
  const std::string memo = TodaysMemo(file.c_str(), &today);
  EXPECT_EQ(Heading(today) + "\r\nなし", memo) << Escaped(memo);
}

TEST_F(ChipTest, NullTextChipHasNoMemo) {
  ChipHandle chip = NewChip(nullptr);
  ASSERT_NE(nullptr, chip);
  char buffer[8] = "keep";
  EXPECT_EQ(0, getMemoString_(chip, buffer, sizeof buffer));
  EXPECT_STREQ("keep", buffer) << "the buffer is left alone";
}

TEST_F(ChipTest, EmptyTextGivesTheErrorMemo) {
  ChipHandle chip = NewChip("");
  EXPECT_EQ(28, getMemoString_(chip, nullptr, 0));
  EXPECT_EQ(kError, Memo(chip));
}

TEST_F(ChipTest, UpdateWithNullTextChangesNothing) {
  ChipHandle chip = NewChip("");
  EXPECT_EQ(1, UpdateWith(chip, nullptr));
  EXPECT_EQ(kError, Memo(chip));
  ChipRecord* none = nullptr;
  EXPECT_EQ(1, update_(chip, nullptr, none));
  EXPECT_EQ(kError, Memo(chip));
}

TEST_F(ChipTest, UpdateRecomposes) {
  ChipHandle chip = NewChip(nullptr);
  EXPECT_EQ(1, UpdateWith(chip, ""));
  EXPECT_EQ(kError, Memo(chip));
  EXPECT_EQ(1, UpdateWith(chip, "\r\n"));
  const std::string memo = Memo(chip);
  EXPECT_EQ(std::string("なし"), memo.substr(memo.size() - 4)) << Escaped(memo);
}

TEST_F(ChipTest, GetMemoStringCopiesWhatFits) {
  ChipHandle chip = NewChip("");
  const struct {
    int32_t size;
    std::string written;  // what the buffer holds afterwards
  } cases[] = {
      {5, kError.substr(0, 4)},
      {1, ""},
      {28, kError.substr(0, 27)},
      {29, kError},
      {100, kError},
      {0, "untouched"},
      {-1, "untouched"},
      {-100000, "untouched"},
  };
  for (const auto& c : cases) {
    char buffer[128];
    memset(buffer, 'z', sizeof buffer);
    strcpy(buffer, "untouched");
    char before[sizeof buffer];
    memcpy(before, buffer, sizeof buffer);
    EXPECT_EQ(28, getMemoString_(chip, buffer, c.size)) << "size " << c.size;
    EXPECT_EQ(c.written, std::string(buffer)) << "size " << c.size;
    for (size_t i = c.size > 0 ? static_cast<size_t>(c.size) : 0; i < sizeof buffer; ++i) {
      ASSERT_EQ(before[i], buffer[i]) << "byte " << i << " written, size " << c.size;
    }
  }
  EXPECT_EQ(28, getMemoString_(chip, nullptr, 100)) << "null buffer";
}

TEST_F(ChipTest, ManyChipsAtOnce) {
  ScratchDir dir;
  const std::string file = dir.Write("daily.vrn", "0000/00/00 x\r\n");
  std::vector<ChipHandle> chips;
  for (int i = 0; i < 64; ++i) {
    chips.push_back(NewChip(i % 3 == 0 ? "" : i % 3 == 1 ? file.c_str() : nullptr));
  }
  for (int i = 0; i < 64; ++i) {
    const std::string memo = Memo(chips[i]);
    if (i % 3 == 0) {
      EXPECT_EQ(kError, memo);
    } else if (i % 3 == 1) {
      EXPECT_EQ(std::string("\r\nx"), memo.substr(memo.size() - 3)) << Escaped(memo);
    } else {
      EXPECT_EQ("", memo);
    }
  }
  for (int i = 63; i >= 0; i -= 2) Release(chips[i]);
}

TEST_F(ChipTest, NullHandlesAnswerTheirFixedResults) {
  char buffer[8] = "keep";
  EXPECT_EQ(1, UpdateWith(nullptr, ""));
  EXPECT_EQ(0, getMemoString_(nullptr, buffer, sizeof buffer));
  EXPECT_STREQ("keep", buffer);
  EXPECT_EQ(0, unInitializeChip_(nullptr));
  ChipRecord record = {};
  record.chipText = "";
  EXPECT_EQ(0, initializeChip_(nullptr, nullptr, &record));
}

TEST_F(ChipTest, NullRecordMakesAChipWithoutMemo) {
  ChipHandle chip = nullptr;
  EXPECT_EQ(0, initializeChip_(&chip, nullptr, nullptr));
  ASSERT_NE(nullptr, chip);
  chips_.push_back(chip);
  EXPECT_EQ(0, getMemoString_(chip, nullptr, 0));
}

TEST_F(ChipTest, StateThatCannotBeAllocatedGivesANullHandle) {
  if (!test_platform::FailHeapCalls(0, 1)) GTEST_SKIP() << "no failure injection here";
  ChipRecord record = {};
  record.chipText = "";
  ChipHandle chip = reinterpret_cast<ChipHandle>(0x1);
  EXPECT_EQ(0, initializeChip_(&chip, nullptr, &record));
  EXPECT_EQ(nullptr, chip);
}

TEST_F(ChipTest, MemoThatCannotGrowStaysWhole) {
  if (!test_platform::FailHeapCalls(0, 0)) GTEST_SKIP() << "no failure injection here";
  // Entries long enough that each one grows the memo; the growth fails from
  // the third heap call of the composition on.
  ScratchDir dir;
  const std::string entry(200, 'e');
  const std::string file = dir.Write("big.vrn", "0000/00/00 " + entry + "\r\n0000/00/00 " + entry);
  ChipHandle chip = NewChip("");
  ASSERT_NE(nullptr, chip);
  test_platform::FailHeapCalls(2, 1000);
  EXPECT_EQ(1, UpdateWith(chip, file.c_str()));
  test_platform::FailHeapCalls(0, 0);
  const std::string memo = Memo(chip);
  EXPECT_EQ(static_cast<int>(memo.size()), getMemoString_(chip, nullptr, 0));
  EXPECT_NE('\n', memo.empty() ? 'x' : memo.back()) << "memo ends in a line break";
}

}  // namespace
