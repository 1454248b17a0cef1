// Composing the memo: its three forms, the files it reads and how its block
// grows.
// Not covered: hostile bytes and things that are not files (hostile_test.cpp).
#include <gtest/gtest.h>
#include <standin.h>

#include <algorithm>
#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "testing/shortage_oracle.h"
#include "tests/composed.h"
#include "tests/test_support.h"

namespace {

using testing_support::BlockText;
using testing_support::Compose;
using testing_support::Composed;
using testing_support::Escaped;
using testing_support::Heading;
using testing_support::kError;
using testing_support::ScratchDir;

const AgendaDate kAprilFools = {1998, 4, 1};
const std::string kNone = "\r\nなし";

TEST(ComposeMemo, ErrorFormForNullOrEmptyList) {
  HLOCAL memo = nullptr;
  EXPECT_EQ(28, ComposeMemo(nullptr, kAprilFools, &memo));
  EXPECT_EQ(kError, BlockText(memo));
  EXPECT_EQ(29u, LocalSize(memo)) << "the error text gets a block of its own size";
  LocalFree(memo);
  EXPECT_MEMO(kError, Compose("", kAprilFools));
}

TEST(ComposeMemo, HeadingIsTheDateInFixedWidth) {
  EXPECT_MEMO("1999/01/05の予定" + kNone, Compose("\r\n", {1999, 1, 5}));
  EXPECT_MEMO("0098/12/31の予定" + kNone, Compose("\t", {98, 12, 31}));
}

TEST(ComposeMemo, ReplacesTheMemoItHeld) {
  HLOCAL memo = nullptr;
  ComposeMemo("", kAprilFools, &memo);
  ASSERT_NE(nullptr, memo);
  ComposeMemo("\r\n", kAprilFools, &memo);
  EXPECT_EQ(Heading(kAprilFools) + kNone, BlockText(memo));
  LocalFree(memo);
}

TEST(ComposeMemo, Files) {
  ScratchDir dir;
  const std::string a = dir.Write("a.vrn", "1998/04/01 from a\r\n1998/04/02 not today\r\n");
  const std::string b = dir.Write("b.vrn", "; 1998/04/01 comment\r\n0000/04/01 from b\n");
  const std::string spaced = dir.Write(" a.vrn", "0000/00/00 spaced name\r\n");
  const std::string mixed =
      dir.Write("mixed.vrn", std::string("\r\n") +         // empty line
                                 " ;xx/xx/xx entry\r\n" +  // not a comment: ";" is not first
                                 "1998/04/01 a\rb\r\n" +   // cut at the lone CR
                                 std::string("1998/04/01 x\0y\r\n", 16) +  // cut at the NUL
                                 "1998/04/01\r\n" +                        // too short
                                 "1998/04/01     \r\n" +                   // no text
                                 "1998/04/01 エイプリル・フール");
  const std::string ctrlZ = dir.Write("z.vrn",
                                      "1998/04/01 a\n\x1A"
                                      "b\r\n1998/04/01 c\r\n");
  const std::string head = Heading(kAprilFools);
  const struct {
    const char* what;
    std::string list;
    std::string memo;
  } cases[] = {
      {"two files, list order", a + "\r\n" + b, head + "\r\nfrom a\r\nfrom b"},
      {"same file twice", a + "\r\n" + a, head + "\r\nfrom a\r\nfrom a"},
      {"missing files only", dir.path() + "/missing.vrn\r\n" + dir.path() + "/none.vrn",
       head + kNone},
      {"missing file skipped", dir.path() + "/missing.vrn\n" + b, head + "\r\nfrom b"},
      {"line breaks and tabs only", "\r\n\t\r\n\t\t", head + kNone},
      {"leading tab dropped", "\t" + a, head + "\r\nfrom a"},
      {"leading space names another file", dir.path() + "/ a.vrn", head + "\r\nspaced name"},
      {"directory skipped", dir.path() + "\r\n" + a, head + "\r\nfrom a"},
      {"line kinds", mixed, head + "\r\nentry\r\na\r\nx\r\nエイプリル・フール"},
      {"Ctrl-Z ends the file", ctrlZ, head + "\r\na"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_MEMO(c.memo, Compose(c.list, kAprilFools));
  }
}

TEST(ComposeMemo, LongAndCrOnlyLines) {
  ScratchDir dir;
  const std::string head = Heading(kAprilFools);
  // A 1500-byte line is read as 1023 bytes and then the rest, each piece with
  // its own columns.
  const std::string firstText(1023 - 11, 'f');
  const std::string second = "1998/04/01 second" + std::string(1500 - 1023 - 17, 's');
  const std::string longLine = dir.Write("long.vrn", "1998/04/01 " + firstText + second + "\r\n");
  EXPECT_MEMO(head + "\r\n" + firstText + "\r\n" + second.substr(11),
              Compose(longLine, kAprilFools));

  // Lines ended by CR alone come in stretches of 1023 bytes, each cut at its
  // first CR. With 16-byte lines only the first stretch starts at a line.
  std::string shortLines;
  for (int i = 0; i < 300; ++i) shortLines += "0000/00/00 abcd\r";
  EXPECT_MEMO(head + "\r\nabcd", Compose(dir.Write("cr16.vrn", shortLines), kAprilFools));

  // With 341-byte lines every stretch starts at a line.
  const std::string text = "L" + std::string(328, '.');
  std::string longLines;
  for (int i = 0; i < 9; ++i) longLines += "0000/00/00 " + text + "\r";
  EXPECT_MEMO(head + "\r\n" + text + "\r\n" + text + "\r\n" + text,
              Compose(dir.Write("cr341.vrn", longLines), kAprilFools));
}

TEST(ComposeMemo, RelativeNamesResolveAgainstTheCurrentDirectory) {
  ScratchDir dir;
  dir.Write("rel.vrn", "0000/00/00 relative\r\n");
  char saved[MAX_PATH * 4];
  ASSERT_GT(GetCurrentDirectoryA(sizeof saved, saved), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
  const Composed composed = Compose("rel.vrn", kAprilFools);
  SetCurrentDirectoryA(saved);
  EXPECT_MEMO(Heading(kAprilFools) + "\r\nrelative", composed);
}

TEST(AppendMemoText, GrowthSizes) {
  const struct {
    size_t blockSize;
    size_t used;
    size_t added;
    size_t grownSize;
  } cases[] = {
      {128, 16, 111, 256},  // would fill the block exactly
      {128, 16, 110, 128}, {256, 0, 300, 640}, {256, 200, 300, 640},
      {128, 0, 127, 256},  {128, 0, 126, 128}, {128, 100, 128, 384},
  };
  for (const auto& c : cases) {
    HLOCAL memo = LocalAlloc(LHND, c.blockSize);
    ASSERT_NE(nullptr, memo);
    char* bytes = static_cast<char*>(LocalLock(memo));
    std::string(c.used, 'u').copy(bytes, c.used);
    LocalUnlock(memo);
    const std::string added(c.added, 'a');
    EXPECT_TRUE(AppendMemoText(&memo, added.c_str()));
    EXPECT_EQ(c.grownSize, LocalSize(memo))
        << c.blockSize << "-byte block holding " << c.used << " bytes, " << c.added << " added";
    EXPECT_EQ(std::string(c.used, 'u') + added, BlockText(memo));
    LocalFree(memo);
  }
}

// The block size the growth rule gives for a memo of the heading and one line
// per length, each line appended as its line break and then its text.
size_t RuleSize(const std::vector<size_t>& textLengths) {
  size_t size = 128;
  size_t used = 0;
  const auto append = [&](size_t n) {
    if (size <= used + n + 1) size += 128 * (n / 128 + 1);
    used += n;
  };
  append(Heading(kAprilFools).size());
  for (size_t n : textLengths) {
    append(2);
    append(n);
  }
  return size;
}

TEST(ComposeMemo, BlockGrowsByTheRuleEntryByEntry) {
  ScratchDir dir;
  std::vector<size_t> thousandBytes(80, 1000);  // more than the memo's buffering
  std::vector<size_t> rising;
  for (size_t n = 1; n <= 300; n += 7) rising.push_back(n);
  std::vector<size_t> mixed;
  for (size_t i = 0; i < 2000; ++i) mixed.push_back(1 + i * 37 % 1012);
  const struct {
    const char* what;
    std::vector<size_t> textLengths;
  } cases[] = {
      {"one short", {1}},
      {"just fitting the first block", {108}},
      {"filling the first block with its NUL", {109}},
      {"around a multiple of the step", {125, 126, 127, 128, 129, 255, 256, 257}},
      {"rising", rising},
      {"longest entries", thousandBytes},
      {"mixed", mixed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string file;
    std::string expected = Heading(kAprilFools);
    for (size_t i = 0; i < c.textLengths.size(); ++i) {
      const std::string text(c.textLengths[i], static_cast<char>('a' + i % 26));
      file += "0000/00/00 " + text + "\r\n";
      expected += "\r\n" + text;
    }
    const std::string list = dir.Write("sized.vrn", file);
    // The same when the heap gives no block larger than the rule's: the memo
    // never needs a larger step on its way.
    for (size_t largest : {size_t{0}, RuleSize(c.textLengths)}) {
      SCOPED_TRACE("largest block " + std::to_string(largest));
      HLOCAL memo = nullptr;
      standin::LimitBlockSize(largest);
      const int32_t length = ComposeMemo(list.c_str(), kAprilFools, &memo);
      standin::LimitBlockSize(0);
      EXPECT_EQ(RuleSize(c.textLengths), LocalSize(memo));
      EXPECT_EQ(static_cast<int32_t>(expected.size()), length);
      const std::string text = BlockText(memo);
      EXPECT_TRUE(expected == text) << testing_support::FirstDifference(expected, text);
      LocalFree(memo);
    }
  }
}

TEST(ComposeMemo, ResizesCopyLittleOfALargeMemo) {
  // A real heap moves a large block to grow it, copying what it holds: a
  // writer that resizes the block again and again as a large memo grows
  // copies the memo many times over, and its time grows with the square of
  // the memo's size.
  ScratchDir dir;
  std::string file;
  for (int i = 0; i < 50000; ++i) file += "0000/00/00 entry " + std::to_string(i) + " ........\r\n";
  const size_t movedBefore = standin::BytesMovedByResizes();
  HLOCAL memo = nullptr;
  const int32_t length = ComposeMemo(dir.Write("large.vrn", file).c_str(), kAprilFools, &memo);
  const size_t moved = standin::BytesMovedByResizes() - movedBefore;
  LocalFree(memo);
  ASSERT_GT(length, 1000000);
  EXPECT_LE(moved, 2 * static_cast<size_t>(length))
      << "resizes copied " << moved << " bytes for a memo of " << length;
}

TEST(ComposeMemo, HeapFailureMidwayLeavesAWholeMemo) {
  // Distinct entries, enough to need several resizes of the block, or one
  // entry too long for the first block; heap calls fail from some point on,
  // or just one or two of them fail.
  ScratchDir dir;
  const std::vector<std::string> many = [] {
    std::vector<std::string> entries;
    for (int i = 0; i < 3000; ++i)
      entries.push_back("entry " + std::to_string(i) + std::string(90, '.'));
    return entries;
  }();
  const std::vector<std::string> oneLong = {"long entry" + std::string(200, '.')};
  const std::string head = Heading(kAprilFools);
  for (const std::vector<std::string>* entries : {&many, &oneLong}) {
    std::string file, whole = head;
    for (const std::string& entry : *entries) {
      file += "0000/00/00 " + entry + "\r\n";
      whole += "\r\n" + entry;
    }
    const std::string list = dir.Write("entries.vrn", file);
    bool wholeMemoSeen = false;
    for (int count : {1, 2, 1000}) {
      for (int skip = 0; skip < 12; ++skip) {
        SCOPED_TRACE(std::to_string(entries->size()) + " entries, heap calls " +
                     std::to_string(skip + 1) + " to " + std::to_string(skip + count) + " fail");
        HLOCAL memo = nullptr;
        standin::FailHeapCalls(skip, count);
        const int32_t length = ComposeMemo(list.c_str(), kAprilFools, &memo);
        standin::FailHeapCalls(0, 0);
        if (memo == nullptr) {
          EXPECT_EQ(0, length) << "length of no memo";
          continue;
        }
        const std::string text = BlockText(memo);
        const size_t blockSize = LocalSize(memo);
        LocalFree(memo);
        EXPECT_EQ(static_cast<int32_t>(text.size()), length);
        if (text == kError) continue;
        // Otherwise the heading and whole entries in the file's order, never
        // "none" (every entry applies), in a block grown by the rule for just
        // those lines.
        std::vector<std::string> kept;
        ASSERT_TRUE(testing_support::IsWhatAShortageLeaves(text, whole, head, kError, &kept))
            << Escaped(text.substr(0, 200));
        std::vector<size_t> lineLengths;
        for (const std::string& line : kept) lineLengths.push_back(line.size());
        EXPECT_EQ(RuleSize(lineLengths), blockSize);
        // One failed call costs at most the one append it falls on.
        if (count == 1) {
          EXPECT_GE(lineLengths.size() + 1, entries->size());
        }
        if (lineLengths.size() == entries->size()) wholeMemoSeen = true;
      }
    }
    EXPECT_TRUE(wholeMemoSeen) << "no composition got the heap calls it needs";
  }
}

TEST(AppendMemoText, CreatesA128ByteBlockAndIgnoresEmptyText) {
  HLOCAL memo = nullptr;
  EXPECT_TRUE(AppendMemoText(&memo, ""));
  EXPECT_TRUE(AppendMemoText(&memo, nullptr));
  EXPECT_EQ(nullptr, memo);
  EXPECT_TRUE(AppendMemoText(&memo, "abc"));
  ASSERT_NE(nullptr, memo);
  EXPECT_EQ(128u, LocalSize(memo));
  EXPECT_TRUE(AppendMemoText(&memo, "def"));
  EXPECT_EQ("abcdef", BlockText(memo));
  LocalFree(memo);
}

}  // namespace
