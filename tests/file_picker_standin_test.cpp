// The file picker over the stand-in's scripted open-file dialog: the
// dialog's settings as the module passed them, and what a pick, a cancel,
// browsing and heap failures do to the host's request.
#include <gtest/gtest.h>
#include <standin.h>
#include <string.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>

#include "host/vorlinde.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Escaped;
using testing_support::ScratchDir;

const std::string kPicked = "C:\\data\\b.vrn";

class FilePickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(VORLINDE_TEST_MODULE);
    ASSERT_NE(nullptr, module_) << "cannot load " << VORLINDE_TEST_MODULE;
    editHelper_ = reinterpret_cast<EditHelperProc>(
        reinterpret_cast<void*>(GetProcAddress(module_, "EditHelper")));
    ASSERT_NE(nullptr, editHelper_) << "no entry point EditHelper";
    standin::ResetRecords();
    standin::ClearFaults();
    directory_ = fs::current_path();
    blocksBefore_ = standin::LiveBlocks();
  }

  void TearDown() override {
    standin::FailHeapCalls(0, 0);
    for (HGLOBAL block : blocks_) GlobalFree(block);
    EXPECT_EQ(blocksBefore_, standin::LiveBlocks()) << "heap blocks leaked";
    EXPECT_EQ(0, standin::FaultCount()) << "stand-in faults";
    standin::ResetRecords();
    fs::current_path(directory_);
    if (module_ != nullptr) FreeLibrary(module_);
  }

  // A request whose text is `bytes` (with a NUL unless `withNul` is false) in
  // a block of the given kind, positions set to values the module must
  // replace; its block is freed at the end.
  EditRequest* NewRequest(const std::string& bytes, UINT flags = GMEM_MOVEABLE,
                          bool withNul = true) {
    EditRequest request = {-7, -9, nullptr};
    request.text = GlobalAlloc(flags, bytes.size() + (withNul ? 1 : 0));
    EXPECT_NE(nullptr, request.text);
    if (char* data = static_cast<char*>(GlobalLock(request.text))) {
      memcpy(data, bytes.data(), bytes.size());
      if (withNul) data[bytes.size()] = '\0';
      GlobalUnlock(request.text);
    }
    requests_.push_back(request);
    blocks_.push_back(request.text);
    return &requests_.back();
  }

  EditRequest* NewRequestWithoutText() {
    requests_.push_back(EditRequest{-7, -9, nullptr});
    return &requests_.back();
  }

  // Calls the picker; a block it gives or moves is the host's to free.
  int Edit(EditRequest* request, HWND owner = nullptr) {
    const HGLOBAL before = request->text;
    const int result = editHelper_(owner, request);
    if (request->text != before) {
      auto old = std::find(blocks_.begin(), blocks_.end(), before);
      if (before != nullptr && old != blocks_.end()) {
        *old = request->text;  // the old handle went with the resize
      } else {
        blocks_.push_back(request->text);
      }
    }
    return result;
  }

  // The block's text, read no further than the block, and whether it is
  // unlocked as the host expects it back.
  static std::string Text(HGLOBAL block) {
    EXPECT_EQ(0, standin::LockCount(block)) << "the block is left locked";
    const char* data = static_cast<const char*>(GlobalLock(block));
    if (data == nullptr) return "(unlockable)";
    std::string text(data, strnlen(data, GlobalSize(block)));
    GlobalUnlock(block);
    return text;
  }

  HMODULE module_ = nullptr;
  EditHelperProc editHelper_ = nullptr;
  std::deque<EditRequest> requests_;  // they stay where they are
  std::deque<HGLOBAL> blocks_;
  fs::path directory_;
  int blocksBefore_ = 0;
};

TEST_F(FilePickerTest, DialogSettings) {
  standin::ScriptOpenFileCancel();
  HWND owner = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(2, Edit(NewRequest("a.vrn"), owner));
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

TEST_F(FilePickerTest, PickAppendsThePath) {
  const struct {
    const char* what;
    bool hasBlock;
    std::string text;
    std::string expected;
  } cases[] = {
      {"no block", false, "", kPicked},
      {"empty text", true, "", kPicked},
      {"a line and a line break", true, "a.vrn\r\n", "a.vrn\r\n" + kPicked},
      {"a name without a line break", true, "a.vrn", "a.vrn" + kPicked},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EditRequest* request = c.hasBlock ? NewRequest(c.text) : NewRequestWithoutText();
    const HGLOBAL before = request->text;
    const SIZE_T sizeBefore = before != nullptr ? GlobalSize(before) : 0;
    standin::ScriptOpenFilePick(kPicked);
    EXPECT_EQ(1, Edit(request));
    ASSERT_NE(nullptr, request->text);
    const std::string text = Text(request->text);
    EXPECT_EQ(c.expected, text) << "expected " << Escaped(c.expected) << "\nactual   "
                                << Escaped(text);
    EXPECT_EQ(static_cast<int32_t>(c.expected.size()), request->firstPosition);
    EXPECT_EQ(static_cast<int32_t>(c.expected.size()), request->secondPosition);
    if (c.hasBlock) {
      EXPECT_EQ(before, request->text) << "a movable block keeps its handle";
      EXPECT_EQ(sizeBefore + kPicked.size(), GlobalSize(request->text));
    } else {
      EXPECT_EQ(kPicked.size() + 1, GlobalSize(request->text));
    }
  }
}

TEST_F(FilePickerTest, TextWithoutNulEndsAtTheBlockEnd) {
  EditRequest* request = NewRequest("a.vrn", GMEM_MOVEABLE, false);
  standin::ScriptOpenFilePick(kPicked);
  EXPECT_EQ(1, Edit(request));
  const std::string expected = "a.vrn" + kPicked;
  EXPECT_EQ(expected, Text(request->text)) << Escaped(Text(request->text));
  EXPECT_EQ(static_cast<int32_t>(expected.size()), request->firstPosition);
  EXPECT_EQ(expected.size() + 1, GlobalSize(request->text)) << "room for the NUL after the path";
}

TEST_F(FilePickerTest, BlockThatMovesIsWrittenBackToTheRequest) {
  // A fixed block that grows changes its handle; the request must name the
  // block that now holds the text.
  EditRequest* request = NewRequest("a.vrn\r\n", GMEM_FIXED);
  standin::ScriptOpenFilePick(kPicked);
  EXPECT_EQ(1, Edit(request));
  EXPECT_EQ("a.vrn\r\n" + kPicked, Text(request->text)) << Escaped(Text(request->text));
}

TEST_F(FilePickerTest, CancelChangesNothing) {
  ScratchDir elsewhere;
  for (bool hasBlock : {false, true}) {
    SCOPED_TRACE(hasBlock ? "with a block" : "without a block");
    EditRequest* request = hasBlock ? NewRequest("a.vrn\r\n") : NewRequestWithoutText();
    const EditRequest before = *request;
    const SIZE_T sizeBefore = hasBlock ? GlobalSize(request->text) : 0;
    standin::ScriptOpenFileCancel(elsewhere.path());
    EXPECT_EQ(2, Edit(request));
    EXPECT_EQ(0, memcmp(&before, request, sizeof before)) << "the request was changed";
    if (hasBlock) {
      EXPECT_EQ("a.vrn\r\n", Text(request->text));
      EXPECT_EQ(sizeBefore, GlobalSize(request->text));
    }
    EXPECT_EQ(directory_, fs::current_path()) << "browsing before the cancel moved it";
  }
}

TEST_F(FilePickerTest, PickAfterBrowsingKeepsTheCurrentDirectory) {
  ScratchDir elsewhere;
  const std::string path = elsewhere.Write("b.vrn", "");
  EditRequest* request = NewRequest("a.vrn\r\n");
  standin::ScriptOpenFilePick(path, elsewhere.path());
  EXPECT_EQ(1, Edit(request));
  EXPECT_EQ("a.vrn\r\n" + path, Text(request->text));
  EXPECT_EQ(directory_, fs::current_path());
}

TEST_F(FilePickerTest, PathMustFitTheNameBuffer) {
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
    EXPECT_EQ(c.result, Edit(request));
    EXPECT_EQ(c.result == 1 ? "a.vrn\r\n" + path : "a.vrn\r\n", Text(request->text));
  }
}

TEST_F(FilePickerTest, HeapFailureChangesNothing) {
  for (bool hasBlock : {false, true}) {
    SCOPED_TRACE(hasBlock ? "the block cannot grow" : "no block can be made");
    EditRequest* request = hasBlock ? NewRequest("a.vrn") : NewRequestWithoutText();
    const EditRequest before = *request;
    standin::ScriptOpenFilePick(kPicked);
    standin::FailHeapCalls(0, 1);
    EXPECT_EQ(2, Edit(request));
    standin::FailHeapCalls(0, 0);
    EXPECT_EQ(0, memcmp(&before, request, sizeof before)) << "the request was changed";
    if (hasBlock) {
      EXPECT_EQ("a.vrn", Text(request->text));
    }
  }
}

TEST_F(FilePickerTest, NullRequestShowsNoDialog) {
  EXPECT_EQ(2, editHelper_(nullptr, nullptr));
  EXPECT_TRUE(standin::OpenFileCalls().empty());
}

}  // namespace
