// The file picker over the stand-in's scripted open-file dialog: the
// dialog's settings as the module passed them, browsing before a pick or a
// cancel, a path too long for the name buffer, and heap failures.
// Not covered: the system's own dialog (file_picker_windows_test.cpp).
#include <gtest/gtest.h>
#include <standin.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/file_picker_fixture.h"
#include "tests/global_text.h"
#include "tests/test_support.h"

namespace {

using file_picker_testing::CurrentDirectory;
using testing_support::Escaped;

const std::string kPicked = "C:\\data\\b.vrn";

// The user's part is scripted in the stand-in directly, the driver left
// unarmed.
class FilePickerStandinTest : public file_picker_testing::FilePickerTest {
 protected:
  void SetUp() override {
    standin::ResetRecords();
    standin::ClearFaults();
    FilePickerTest::SetUp();
  }
  void TearDown() override {
    standin::FailHeapCalls(0, 0);
    FilePickerTest::TearDown();
    standin::ResetRecords();
  }

  // The block's text, checking that it is unlocked as the host expects it
  // back.
  static std::string Text(HGLOBAL block) {
    EXPECT_EQ(0, standin::LockCount(block)) << "the block is left locked";
    return testing_support::GlobalText(block);
  }
};

TEST_F(FilePickerStandinTest, DialogSettings) {
  standin::ScriptOpenFileCancel();
  HWND owner = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(2, EditAsArmed(NewRequest("a.vrn"), owner));
  const std::vector<standin::OpenFileCall> calls = standin::OpenFileCalls();
  ASSERT_EQ(1u, calls.size());
  const standin::OpenFileCall& call = calls[0];
  // The structure without its later fields: 76 bytes with 32-bit pointers.
  EXPECT_EQ(sizeof(void*) == 4 ? 76u : 136u, call.structSize);
  EXPECT_EQ(owner, call.owner);
  const std::string filter("Vorlinde(*.vrn)\0*.vrn\0\0", 23);
  EXPECT_EQ(filter, call.filter) << "expected " << Escaped(filter) << "\nactual   "
                                 << Escaped(call.filter);
  EXPECT_EQ(0u, call.filterIndex);
  EXPECT_EQ(260u, call.maxFile);
  EXPECT_EQ("", call.initialFile) << Escaped(call.initialFile);
  EXPECT_EQ(0x1004u, call.flags);
  EXPECT_TRUE(call.defaultExtensionGiven);
  EXPECT_EQ("vrn", call.defaultExtension);
  EXPECT_TRUE(call.othersZero) << "a setting beyond those above is not zero";
}

TEST_F(FilePickerStandinTest, CancelAfterBrowsingChangesNothing) {
  for (bool hasBlock : {false, true}) {
    SCOPED_TRACE(hasBlock ? "with a block" : "without a block");
    EditRequest* request = hasBlock ? NewRequest("a.vrn\r\n") : NewRequestWithoutText();
    const EditRequest before = *request;
    const SIZE_T sizeBefore = hasBlock ? GlobalSize(request->text) : 0;
    standin::ScriptOpenFileCancel(folder_.path());
    EXPECT_EQ(2, EditAsArmed(request));
    EXPECT_EQ(0, memcmp(&before, request, sizeof before)) << "the request was changed";
    if (hasBlock) {
      EXPECT_EQ("a.vrn\r\n", Text(request->text));
      EXPECT_EQ(sizeBefore, GlobalSize(request->text));
    }
    EXPECT_EQ(directory_, CurrentDirectory()) << "browsing before the cancel moved it";
  }
}

TEST_F(FilePickerStandinTest, PickAfterBrowsingKeepsTheCurrentDirectory) {
  EditRequest* request = NewRequest("a.vrn\r\n");
  standin::ScriptOpenFilePick(picked_, folder_.path());
  EXPECT_EQ(1, EditAsArmed(request));
  EXPECT_EQ("a.vrn\r\n" + picked_, Text(request->text));
  EXPECT_EQ(directory_, CurrentDirectory());
}

TEST_F(FilePickerStandinTest, PathMustFitTheNameBuffer) {
  const struct {
    size_t length;
    int result;
  } cases[] = {{259, 1}, {260, 2}, {300, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE("a path of " + std::to_string(c.length) + " bytes");
    const std::string path = "C:\\" + std::string(c.length - 7, 'p') + ".vrn";
    ASSERT_EQ(c.length, path.size());
    EditRequest* request = NewRequest("a.vrn\r\n");
    standin::ScriptOpenFilePick(path);
    EXPECT_EQ(c.result, EditAsArmed(request));
    EXPECT_EQ(c.result == 1 ? "a.vrn\r\n" + path : "a.vrn\r\n", Text(request->text));
    EXPECT_EQ(c.result == 1 ? 7 + static_cast<int32_t>(c.length) : -7, request->firstPosition);
  }
}

TEST_F(FilePickerStandinTest, HeapFailureChangesNothing) {
  for (bool hasBlock : {false, true}) {
    SCOPED_TRACE(hasBlock ? "the block cannot grow" : "no block can be made");
    EditRequest* request = hasBlock ? NewRequest("a.vrn") : NewRequestWithoutText();
    const EditRequest before = *request;
    standin::ScriptOpenFilePick(kPicked);
    standin::FailHeapCalls(0, 1);
    EXPECT_EQ(2, EditAsArmed(request));
    standin::FailHeapCalls(0, 0);
    EXPECT_EQ(0, memcmp(&before, request, sizeof before)) << "the request was changed";
    if (hasBlock) {
      EXPECT_EQ("a.vrn", Text(request->text));
    }
  }
}

}  // namespace
