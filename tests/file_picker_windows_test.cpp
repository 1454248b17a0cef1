// The file picker with the system's own open-file dialog: what the user
// sees, the default extension it adds, and a path too long for the module's
// name buffer.
// Not covered: heap failures (file_picker_standin_test.cpp).
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/file_picker_fixture.h"
#include "tests/global_text.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

namespace {

using file_picker_testing::CurrentDirectory;
using testing_support::Escaped;
using testing_support::GlobalText;

constexpr int kFileNameBox = 0x47C;  // cmb13

class FilePickerWindowsTest : public file_picker_testing::FilePickerTest {
 protected:
  // Makes an empty file `name` in the other folder through the wide file
  // functions, which take paths of any length; returns its full path.
  std::string MakeFile(const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(folder_.path()) / name;
    std::ofstream(path, std::ios::binary).put('\n');
    EXPECT_TRUE(std::filesystem::exists(path)) << path.string();
    return path.string();
  }
};

TEST_F(FilePickerWindowsTest, SystemDialogPicks) {
  // A picture of the dialog for a person to look at: the filter's label, no
  // read-only check box.
  ui_driver::ScreenshotNextDialog("file_picker_open.bmp");
  ui_driver::WindowSeen seen;
  EXPECT_EQ(1, Edit(NewRequestWithoutText(), picked_, &seen));
  ASSERT_TRUE(seen.appeared);
  EXPECT_EQ("#32770", seen.className);
  bool hasFileNameBox = false;
  for (const ui_driver::ControlSeen& control : seen.controls)
    hasFileNameBox = hasFileNameBox || control.id == kFileNameBox;
  EXPECT_TRUE(hasFileNameBox) << "not the Explorer-style open-file dialog";
}

TEST_F(FilePickerWindowsTest, NameWithoutExtensionGainsTheDefaultOne) {
  // The dialog checks that a typed name exists before it adds the default
  // extension, so both files are there: the pick is the one with ".vrn".
  const std::string typed = MakeFile("agenda");
  const std::string withExtension = MakeFile("agenda.vrn");
  EditRequest* request = NewRequest("a.vrn\r\n");
  EXPECT_EQ(1, Edit(request, typed));
  const std::string expected = "a.vrn\r\n" + withExtension;
  const std::string text = GlobalText(request->text);
  EXPECT_EQ(expected, text) << "expected " << Escaped(expected) << "\nactual   " << Escaped(text);
  EXPECT_EQ(static_cast<int32_t>(expected.size()), request->firstPosition);
  EXPECT_EQ(static_cast<int32_t>(expected.size()), request->secondPosition);
  EXPECT_EQ(directory_, CurrentDirectory());
}

// The dialog keeps a path longer than its name buffer to itself: it reports
// the file as not found in a message box and stays open; the user then
// cancels. The driver acts once on each window, so the cancel comes from a
// timer of the test's own, once the message box has come and gone.
ui_driver::WindowSeen* notFoundBox = nullptr;

BOOL CALLBACK CancelOpenFileDialog(HWND window, LPARAM) {
  if (GetDlgItem(window, kFileNameBox) == nullptr || !IsWindowEnabled(window)) return TRUE;
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
  return FALSE;
}

void CALLBACK CancelOnceTheMessageBoxIsGone(HWND, UINT, UINT_PTR timer, DWORD) {
  // While the message box is up, the dialog it belongs to is disabled.
  if (notFoundBox == nullptr || !notFoundBox->appeared) return;
  if (!EnumThreadWindows(GetCurrentThreadId(), CancelOpenFileDialog, 0)) KillTimer(nullptr, timer);
}

TEST_F(FilePickerWindowsTest, PathMustFitTheNameBuffer) {
  const size_t folderLength = folder_.path().size() + 1;  // with its separator
  ASSERT_LT(folderLength + 10, 259u) << "the scratch folder's path is too long for this test";
  for (size_t length : {size_t{259}, size_t{260}}) {
    SCOPED_TRACE("a path of " + std::to_string(length) + " bytes");
    const std::string path = MakeFile(std::string(length - folderLength - 4, 'p') + ".vrn");
    ASSERT_EQ(length, path.size());
    EditRequest* request = NewRequest("a.vrn\r\n");
    if (length < 260) {
      EXPECT_EQ(1, Edit(request, path));
      EXPECT_EQ("a.vrn\r\n" + path, GlobalText(request->text));
      EXPECT_EQ(static_cast<int32_t>(7 + length), request->firstPosition);
      continue;
    }
    ui_driver::WindowSeen box;
    notFoundBox = &box;
    ui_driver::PickInNextOpenFileDialog(path, nullptr);
    ui_driver::AcceptNextMessageBox(&box);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CancelOnceTheMessageBoxIsGone);
    EXPECT_EQ(2, EditAsArmed(request));
    KillTimer(nullptr, timer);
    notFoundBox = nullptr;
    EXPECT_TRUE(box.appeared) << "the dialog took the path without a word";
    EXPECT_EQ("a.vrn\r\n", GlobalText(request->text));
    EXPECT_EQ(-7, request->firstPosition);
    EXPECT_EQ(-9, request->secondPosition);
  }
  EXPECT_EQ(directory_, CurrentDirectory());
}

}  // namespace
