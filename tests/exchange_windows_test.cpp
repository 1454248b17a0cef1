// The send-text exchange on the system's own global heap: a movable block
// whose memory moves as it grows, and a block that cannot be locked.
// Not covered: the memo's content (exchange_test.cpp).
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <string>

#include "host/vorlinde.h"
#include "tests/global_text.h"
#include "tests/module_test.h"
#include "tests/test_support.h"

namespace {

using testing_support::Escaped;
using testing_support::GlobalText;
using testing_support::ScratchDir;

constexpr size_t kHeadingLength = 16;  // "yyyy/mm/ddの予定"

class ExchangeWindowsTest : public testing_support::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    Resolve("ExchangeSendString", &exchange_);
  }

  ExchangeSendStringProc exchange_ = nullptr;
};

TEST_F(ExchangeWindowsTest, MovableBlockThatMovesKeepsAValidHandle) {
  // Entries for every day, so that the memo after its heading is known
  // whatever the date, and long enough that the small block must move.
  ScratchDir dir;
  std::string agenda;
  std::string entries;
  for (int i = 0; i < 200; ++i) {
    const std::string entry = "entry " + std::to_string(i) + std::string(40, '-');
    agenda += "0000/00/00 " + entry + "\r\n";
    entries += "\r\n" + entry;
  }
  const std::string file = dir.Write("daily.vrn", agenda);
  HGLOBAL block = testing_support::NewGlobalText(file);
  ASSERT_NE(nullptr, block);
  // Sits after the block, so that growing in place is unlikely.
  HGLOBAL neighbour = GlobalAlloc(GMEM_MOVEABLE, 64);
  ASSERT_NE(nullptr, neighbour);
  const void* memoryBefore = GlobalLock(block);
  GlobalUnlock(block);

  HGLOBAL variable = block;
  const int result = exchange_(&variable);
  EXPECT_EQ(block, variable) << "a movable block keeps its handle";
  const void* memoryAfter = GlobalLock(variable);
  GlobalUnlock(variable);
  EXPECT_NE(memoryBefore, memoryAfter) << "the block did not move: this test shows nothing";
  const std::string text = GlobalText(variable);
  ASSERT_EQ(kHeadingLength + entries.size(), text.size()) << Escaped(text.substr(0, 80));
  EXPECT_EQ(entries, text.substr(kHeadingLength));
  EXPECT_EQ(static_cast<int>(text.size()), result);
  EXPECT_EQ(text.size() + 1, GlobalSize(variable));
  EXPECT_EQ(nullptr, GlobalFree(variable));
  EXPECT_EQ(nullptr, GlobalFree(neighbour));
}

TEST_F(ExchangeWindowsTest, DiscardedBlockIsLeftAlone) {
  // A movable block of no bytes is discarded: it has a handle but no memory.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(nullptr, block);
  ASSERT_EQ(nullptr, GlobalLock(block)) << "the block can be locked after all";
  HGLOBAL variable = block;
  EXPECT_EQ(0, exchange_(&variable));
  EXPECT_EQ(block, variable);
  EXPECT_EQ(nullptr, GlobalLock(variable)) << "the block was given memory";
  GlobalFree(block);
}

}  // namespace
