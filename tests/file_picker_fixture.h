// The host's side of the file picker for the host-level tests: the module
// loaded as a host loads it, requests with text blocks, the dialog driver
// playing the user, and an agenda file in a folder other than the current
// one to pick.
#pragma once

#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <deque>
#include <string>

#include "host/vorlinde.h"
#include "tests/global_text.h"
#include "tests/module_test.h"
#include "tests/platform.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

namespace file_picker_testing {

inline std::string CurrentDirectory() {
  char buffer[1024];
  const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : "(unknown)";
}

class FilePickerTest : public testing_support::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    Resolve("EditHelper", &editHelper_);
    directory_ = CurrentDirectory();
    picked_ = folder_.Write("b.vrn", "0000/00/00 b\r\n");
  }

  void TearDown() override {
    for (HGLOBAL block : blocks_) GlobalFree(block);
    SetCurrentDirectoryA(directory_.c_str());
    ModuleTest::TearDown();
  }

  // A request whose text is `bytes` in a block of the given kind, or none;
  // its positions hold values the module must replace.
  EditRequest* NewRequest(const std::string& bytes, UINT flags = GMEM_MOVEABLE,
                          bool withNul = true) {
    EditRequest* request = NewRequestWithoutText();
    request->text = testing_support::NewGlobalText(bytes, flags, withNul);
    EXPECT_NE(nullptr, request->text);
    blocks_.push_back(request->text);
    return request;
  }
  EditRequest* NewRequestWithoutText() {
    requests_.push_back(EditRequest{-7, -9, nullptr});
    return &requests_.back();
  }

  // Calls the picker with the user picking `path` (or cancelling when it is
  // empty); `*seen` receives the dialog as it showed.
  int Edit(EditRequest* request, const std::string& path, ui_driver::WindowSeen* seen = nullptr) {
    if (path.empty()) {
      ui_driver::CancelNextOpenFileDialog(seen);
    } else {
      ui_driver::PickInNextOpenFileDialog(path, seen);
    }
    return EditAsArmed(request);
  }

  // Calls the picker with the user doing what the driver was armed for; a
  // block the module makes or moves is the host's to free.
  int EditAsArmed(EditRequest* request, HWND owner = nullptr) {
    const HGLOBAL before = request->text;
    const int result = editHelper_(owner, request);
    EXPECT_TRUE(ui_driver::Finish()) << "the open-file dialog did not come and go as planned";
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

  EditHelperProc editHelper_ = nullptr;
  testing_support::ScratchDir folder_;  // another folder than the current one
  std::string picked_;                  // the full path of an agenda file in it
  std::string directory_;
  std::deque<EditRequest> requests_;  // they stay where they are
  std::deque<HGLOBAL> blocks_;
};

}  // namespace file_picker_testing
