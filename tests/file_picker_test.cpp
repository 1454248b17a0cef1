// The file picker as a host meets it: the user picks an agenda file in the
// open-file dialog (played by the dialog driver) and its full path is
// appended to the text being edited.
// Not covered: heap failures and the dialog's settings (file_picker_standin_test.cpp).
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "tests/file_picker_fixture.h"
#include "tests/global_text.h"
#include "tests/test_support.h"

namespace {

using file_picker_testing::CurrentDirectory;
using file_picker_testing::FilePickerTest;
using testing_support::Escaped;
using testing_support::GlobalText;

TEST_F(FilePickerTest, PickAppendsThePath) {
  const struct {
    const char* what;
    bool hasBlock;
    std::string text;
    std::string before;  // what the text holds before the path afterwards
  } cases[] = {
      {"no block", false, "", ""},
      {"an empty text", true, "", ""},
      {"a line and a line break", true, "a.vrn\r\n", "a.vrn\r\n"},
      {"a name without a line break", true, "a.vrn", "a.vrn"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EditRequest* request = c.hasBlock ? NewRequest(c.text) : NewRequestWithoutText();
    const HGLOBAL before = request->text;
    const SIZE_T sizeBefore = before != nullptr ? GlobalSize(before) : 0;
    EXPECT_EQ(1, Edit(request, picked_));
    ASSERT_NE(nullptr, request->text);
    const std::string expected = c.before + picked_;
    const std::string text = GlobalText(request->text);
    EXPECT_EQ(expected, text) << "expected " << Escaped(expected) << "\nactual   " << Escaped(text);
    EXPECT_EQ(static_cast<int32_t>(expected.size()), request->firstPosition);
    EXPECT_EQ(static_cast<int32_t>(expected.size()), request->secondPosition);
    if (c.hasBlock) {
      EXPECT_EQ(before, request->text) << "a movable block keeps its handle";
      EXPECT_EQ(sizeBefore + picked_.size(), GlobalSize(request->text));
    } else {
      EXPECT_EQ(picked_.size() + 1, GlobalSize(request->text));
    }
    EXPECT_EQ(directory_, CurrentDirectory());
  }
}

TEST_F(FilePickerTest, CurrentDirectoryStaysAcrossPicksFromAnotherFolder) {
  // The dialog opens in the folder of its last pick and moves the current
  // directory there: the second pick starts in the other folder.
  EditRequest* request = NewRequest("");
  std::string expected;
  for (int pick = 1; pick <= 2; ++pick) {
    SCOPED_TRACE("pick " + std::to_string(pick));
    EXPECT_EQ(1, Edit(request, picked_));
    expected += picked_;
    EXPECT_EQ(expected, GlobalText(request->text));
    EXPECT_EQ(directory_, CurrentDirectory());
  }
}

TEST_F(FilePickerTest, CancelChangesNothing) {
  // A pick first, so that the dialog opens in the other folder.
  EXPECT_EQ(1, Edit(NewRequestWithoutText(), picked_));
  for (bool hasBlock : {false, true}) {
    SCOPED_TRACE(hasBlock ? "with a block" : "without a block");
    EditRequest* request = hasBlock ? NewRequest("a.vrn\r\n") : NewRequestWithoutText();
    const EditRequest before = *request;
    const SIZE_T sizeBefore = hasBlock ? GlobalSize(request->text) : 0;
    EXPECT_EQ(2, Edit(request, ""));
    EXPECT_EQ(0, memcmp(&before, request, sizeof before)) << "the request was changed";
    if (hasBlock) {
      EXPECT_EQ("a.vrn\r\n", GlobalText(request->text));
      EXPECT_EQ(sizeBefore, GlobalSize(request->text));
    }
    EXPECT_EQ(directory_, CurrentDirectory());
  }
}

TEST_F(FilePickerTest, TextWithoutNulEndsAtTheBlockEnd) {
  EditRequest* request = NewRequest("a.vrn", GMEM_MOVEABLE, false);
  EXPECT_EQ(1, Edit(request, picked_));
  const std::string expected = "a.vrn" + picked_;
  EXPECT_EQ(expected, GlobalText(request->text)) << Escaped(GlobalText(request->text));
  EXPECT_EQ(static_cast<int32_t>(expected.size()), request->firstPosition);
  EXPECT_EQ(expected.size() + 1, GlobalSize(request->text)) << "room for the NUL after the path";
}

TEST_F(FilePickerTest, BlockThatMovesIsWrittenBackToTheRequest) {
  // A fixed block that grows may move and so change its handle; the request
  // must name the block that now holds the text.
  EditRequest* request = NewRequest("a.vrn\r\n", GMEM_FIXED);
  EXPECT_EQ(1, Edit(request, picked_));
  EXPECT_EQ("a.vrn\r\n" + picked_, GlobalText(request->text)) << Escaped(GlobalText(request->text));
}

TEST_F(FilePickerTest, NullRequestShowsNoDialog) {
  // No driver armed: a dialog that appeared anyway would fail the test.
  EXPECT_EQ(2, editHelper_(nullptr, nullptr));
  EXPECT_EQ(directory_, CurrentDirectory());
}

}  // namespace
