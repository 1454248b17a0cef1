// The send-text exchange as a host meets it: a chip's text handed over in a
// global block comes back as today's memo, in the block the variable names.
// Not covered: stale handles and lock failures (exchange_standin_test.cpp).
#include <gtest/gtest.h>
#include <string.h>
#include <time.h>

#include <deque>
#include <functional>
#include <string>

#include "host/vorlinde.h"
#include "tests/global_text.h"
#include "tests/module_test.h"
#include "tests/platform.h"
#include "tests/test_support.h"

namespace {

using testing_support::Escaped;
using testing_support::GlobalText;
using testing_support::Heading;
using testing_support::kError;
using testing_support::ScratchDir;

class ExchangeTest : public testing_support::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    Resolve("ExchangeSendString", &exchange_);
  }

  void TearDown() override {
    test_platform::FailHeapCalls(0, 0);
    for (HGLOBAL block : blocks_) GlobalFree(block);
    ModuleTest::TearDown();
  }

  // A global block holding `bytes` and, unless `withNul` is false, a NUL;
  // the host's variable `*owned` names it and is freed at the end.
  HGLOBAL* NewBlock(const std::string& bytes, UINT flags = GMEM_MOVEABLE, bool withNul = true) {
    HGLOBAL block = testing_support::NewGlobalText(bytes, flags, withNul);
    EXPECT_NE(nullptr, block);
    blocks_.push_back(block);
    return &blocks_.back();
  }

  // Exchanges a new block made by `make` while the date stands still; `*today`
  // receives that date and `*variable` the host's variable afterwards.
  int ExchangeToday(const std::function<HGLOBAL*()>& make, AgendaDate* today, HGLOBAL** variable) {
    for (;;) {
      const AgendaDate before = testing_support::LocalToday();
      *variable = make();
      const int result = exchange_(*variable);
      if (testing_support::SameDate(before, testing_support::LocalToday())) {
        *today = before;
        return result;
      }
    }
  }

  ExchangeSendStringProc exchange_ = nullptr;
  std::deque<HGLOBAL> blocks_;  // the host's variables; they stay where they are
};

TEST_F(ExchangeTest, TextBecomesTodaysMemo) {
  ASSERT_EQ(28u, kError.size()) << "the error text in Shift-JIS";
  ScratchDir dir;
  const std::string daily = dir.Write("daily.vrn", "0000/00/00 毎日\r\n1970/01/01 never\r\n");
  const std::string old = dir.Write("old.vrn", "1970/01/01 long ago\r\n");
  const std::string missing = dir.path() + "/missing.vrn";
  const std::string padding(600, '\n');
  const struct {
    const char* what;
    std::string text;
    std::string memoAfterHeading;  // empty: the error text, no heading
  } cases[] = {
      {"empty text: the error text, 28 bytes", "", ""},
      {"only line breaks", "\r\n\r\n", "\r\nなし"},
      {"a file without an entry today", old, "\r\nなし"},
      {"a file that does not exist", missing, "\r\nなし"},
      {"a file with an entry every day", daily, "\r\n毎日"},
      {"two files", old + "\r\n" + daily + "\r\n", "\r\n毎日"},
      {"a longer old text", old + padding, "\r\nなし"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AgendaDate today;
    HGLOBAL* variable = nullptr;
    HGLOBAL original = nullptr;
    const int result = ExchangeToday(
        [&] {
          HGLOBAL* made = NewBlock(c.text);
          original = *made;
          return made;
        },
        &today, &variable);
    const std::string memo =
        c.memoAfterHeading.empty() ? kError : Heading(today) + c.memoAfterHeading;
    EXPECT_EQ(static_cast<int>(memo.size()), result);
    EXPECT_EQ(original, *variable) << "a movable block keeps its handle";
    const std::string text = GlobalText(*variable);
    EXPECT_EQ(memo, text) << "expected " << Escaped(memo) << "\nactual   " << Escaped(text);
    EXPECT_EQ(memo.size() + 1, GlobalSize(*variable)) << "the block holds the memo and its NUL";
  }
}

TEST_F(ExchangeTest, BlockThatMovesIsWrittenBackToTheVariable) {
  // A fixed block that grows can only move by changing its handle: the host's
  // variable must name the block the memo is in, and the old handle be gone.
  AgendaDate today;
  HGLOBAL* variable = nullptr;
  const int result = ExchangeToday([&] { return NewBlock("x", GMEM_FIXED); }, &today, &variable);
  const std::string memo = Heading(today) + "\r\nなし";
  EXPECT_EQ(static_cast<int>(memo.size()), result);
  EXPECT_EQ(memo, GlobalText(*variable)) << Escaped(GlobalText(*variable));
  EXPECT_EQ(memo.size() + 1, GlobalSize(*variable));
}

TEST_F(ExchangeTest, TextWithoutNulEndsAtTheBlockEnd) {
  ScratchDir dir;
  const std::string daily = dir.Write("daily.vrn", "0000/00/00 毎日\r\n");
  AgendaDate today;
  HGLOBAL* variable = nullptr;
  const int result =
      ExchangeToday([&] { return NewBlock(daily, GMEM_MOVEABLE, false); }, &today, &variable);
  const std::string memo = Heading(today) + "\r\n毎日";
  EXPECT_EQ(static_cast<int>(memo.size()), result);
  EXPECT_EQ(memo, GlobalText(*variable))
      << "expected " << Escaped(memo) << "\nactual   " << Escaped(GlobalText(*variable));
}

TEST_F(ExchangeTest, NothingToExchangeAnswersZero) {
  EXPECT_EQ(0, exchange_(nullptr));
  HGLOBAL none = nullptr;
  EXPECT_EQ(0, exchange_(&none));
  EXPECT_EQ(nullptr, none);
}

TEST_F(ExchangeTest, HeapFailureLeavesTheBlockAsItWas) {
  if (!test_platform::FailHeapCalls(0, 0)) GTEST_SKIP() << "no failure injection here";
  // Every heap call from the `skip`-th on fails, until the exchange needs no
  // more than `skip` of them and succeeds.
  const std::string text = "no-such-agenda.vrn\r\n" + std::string(100, ';');
  bool succeeded = false;
  for (int skip = 0; skip < 20 && !succeeded; ++skip) {
    SCOPED_TRACE("heap calls failing from number " + std::to_string(skip + 1));
    HGLOBAL* variable = NewBlock(text);
    const HGLOBAL original = *variable;
    test_platform::FailHeapCalls(skip, 1000);
    const int result = exchange_(variable);
    test_platform::FailHeapCalls(0, 0);
    if (result != 0) {
      succeeded = true;
      const std::string memo = Heading(testing_support::LocalToday()) + "\r\nなし";
      EXPECT_EQ(static_cast<int>(memo.size()), result);
      continue;
    }
    EXPECT_EQ(original, *variable);
    EXPECT_EQ(text, GlobalText(*variable)) << Escaped(GlobalText(*variable));
    EXPECT_EQ(text.size() + 1, GlobalSize(*variable));
  }
  EXPECT_TRUE(succeeded) << "the exchange never got the heap calls it needs";
}

}  // namespace
