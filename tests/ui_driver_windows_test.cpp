// The dialog driver against real windows: a dialog made from a template in
// memory, a message box and the system's open-file dialog, each driven the
// way the host-level tests drive the module's.
// Not covered: the stand-in's scripted dialogs (ui_driver_standin_test.cpp).
#include <windows.h>
// after windows.h
#include <commdlg.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tests/ui_driver.h"

namespace {

using testing_support::Escaped;
using testing_support::ScratchDir;
using ui_driver::CloseWay;
using ui_driver::ControlSeen;
using ui_driver::WindowSeen;

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kTextId = 100;
constexpr WORD kOtherButtonId = 3;

// A dialog template in memory, laid out as a resource compiler lays it out:
// the header, then each control on a 4-byte boundary, texts in UTF-16.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, const std::u16string& caption) {
    Add32(style);
    Add32(0);  // extended style
    Add16(0);  // number of controls, counted as they are added
    AddBox(10, 10, 180, 70);
    Add16(0);  // no menu
    Add16(0);  // the dialog class
    AddText(caption);
  }

  void AddControl(WORD windowClass, WORD id, DWORD style, int16_t x, int16_t y, int16_t cx,
                  int16_t cy, const std::u16string& text) {
    if (words_.size() % 2 != 0) Add16(0);
    Add32(style | WS_CHILD | WS_VISIBLE);
    Add32(0);
    AddBox(x, y, cx, cy);
    Add16(id);
    Add16(0xFFFF);
    Add16(windowClass);
    AddText(text);
    Add16(0);  // no creation data
    ++words_[4];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Add16(WORD word) { words_.push_back(word); }
  void Add32(DWORD value) {
    Add16(LOWORD(value));
    Add16(HIWORD(value));
  }
  void AddBox(int16_t x, int16_t y, int16_t cx, int16_t cy) {
    for (int16_t value : {x, y, cx, cy}) Add16(static_cast<WORD>(value));
  }
  void AddText(const std::u16string& text) {
    for (char16_t c : text) Add16(static_cast<WORD>(c));
    Add16(0);
  }

  std::vector<WORD> words_;
};

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// A caption, a text, OK (the default button unless `otherIsDefault`) and a
// second button; the first one able to take the focus gets it.
DialogTemplate TestDialog(bool otherIsDefault = false) {
  DialogTemplate dialog(kDialogStyle, u"閉じ方の確認");
  dialog.AddControl(kStaticClass, kTextId, SS_LEFT, 10, 10, 160, 10, u"テスト用の文");
  const DWORD ok = otherIsDefault ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON | WS_TABSTOP;
  const DWORD other = otherIsDefault ? BS_DEFPUSHBUTTON | WS_TABSTOP : BS_PUSHBUTTON;
  if (otherIsDefault) {
    dialog.AddControl(kButtonClass, kOtherButtonId, other, 100, 40, 60, 14, u"別のボタン");
    dialog.AddControl(kButtonClass, IDOK, ok, 30, 40, 60, 14, u"OK");
  } else {
    dialog.AddControl(kButtonClass, IDOK, ok, 30, 40, 60, 14, u"OK");
    dialog.AddControl(kButtonClass, kOtherButtonId, other, 100, 40, 60, 14, u"別のボタン");
  }
  return dialog;
}

// Ends the dialog with the id of whatever button or command arrives.
INT_PTR CALLBACK EndingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

// Shows a message box when OK is pressed, then ends.
INT_PTR CALLBACK AskingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    MessageBoxA(dialog, "続きの本文", "続き", MB_OK);
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  return FALSE;
}

// Never ends.
INT_PTR CALLBACK StubbornProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

INT_PTR Show(const DialogTemplate& dialog, DLGPROC proc) {
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.get(), nullptr, proc, 0);
}

const ControlSeen* Control(const WindowSeen& seen, int id) {
  for (const ControlSeen& control : seen.controls)
    if (control.id == id) return &control;
  return nullptr;
}

TEST(UiDriverTest, ClosesADialogEachWay) {
  const struct {
    const char* name;
    CloseWay way;
    bool otherIsDefault;
    INT_PTR result;
  } cases[] = {
      {"OK button", CloseWay::OkButton, false, IDOK},
      {"OK button, other default", CloseWay::OkButton, true, IDOK},
      {"Enter key", CloseWay::EnterKey, false, IDOK},
      {"Enter key, other default", CloseWay::EnterKey, true, kOtherButtonId},
      {"Esc key", CloseWay::EscapeKey, false, IDCANCEL},
      {"close box", CloseWay::CloseBox, false, IDCANCEL},
  };
  for (const auto& c : cases) {
    WindowSeen seen;
    ui_driver::CloseNextDialog(c.way, &seen);
    EXPECT_EQ(c.result, Show(TestDialog(c.otherIsDefault), EndingProc)) << c.name;
    EXPECT_TRUE(ui_driver::Finish()) << c.name;
    EXPECT_TRUE(seen.appeared) << c.name;
  }
}

TEST(UiDriverTest, RecordsTheDialogAsShown) {
  WindowSeen seen;
  ui_driver::CloseNextDialog(CloseWay::OkButton, &seen);
  Show(TestDialog(), EndingProc);
  ASSERT_TRUE(ui_driver::Finish());
  EXPECT_EQ("#32770", seen.className);
  // The caption comes back in code page 932, as the module's own texts are.
  EXPECT_EQ(std::string("閉じ方の確認"), seen.caption) << Escaped(seen.caption);
  EXPECT_EQ(kDialogStyle, seen.style & kDialogStyle) << std::hex << seen.style;

  const struct {
    int id;
    const char* className;
    std::string text;
    uint32_t style;  // bits that must be set
  } expected[] = {
      {kTextId, "Static", "テスト用の文", WS_CHILD | WS_VISIBLE | SS_LEFT},
      {IDOK, "Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON},
      {kOtherButtonId, "Button", "別のボタン", WS_CHILD | BS_PUSHBUTTON},
  };
  ASSERT_EQ(std::size(expected), seen.controls.size());
  for (size_t i = 0; i < std::size(expected); ++i) {
    const ControlSeen& control = seen.controls[i];
    EXPECT_EQ(expected[i].id, control.id) << "control " << i << " out of template order";
    EXPECT_EQ(expected[i].className, control.className) << "control " << i;
    EXPECT_EQ(expected[i].text, control.text) << "control " << i << ": " << Escaped(control.text);
    EXPECT_EQ(expected[i].style, control.style & expected[i].style)
        << "control " << i << " style " << std::hex << control.style;
  }
}

TEST(UiDriverTest, AcceptsAMessageBox) {
  WindowSeen seen;
  ui_driver::AcceptNextMessageBox(&seen);
  EXPECT_EQ(IDOK, MessageBoxA(nullptr, "確認の本文", "確認", MB_OK | MB_ICONINFORMATION));
  EXPECT_TRUE(ui_driver::Finish());
  EXPECT_EQ(std::string("確認"), seen.caption) << Escaped(seen.caption);
  bool textShown = false;
  for (const ControlSeen& control : seen.controls) textShown |= control.text == "確認の本文";
  EXPECT_TRUE(textShown) << "no control shows the message";
  const ControlSeen* ok = Control(seen, IDOK);
  ASSERT_NE(nullptr, ok) << "no OK button";
  EXPECT_EQ("Button", ok->className);
}

TEST(UiDriverTest, DrivesArmedWindowsInTurn) {
  WindowSeen dialogSeen, boxSeen;
  ui_driver::CloseNextDialog(CloseWay::OkButton, &dialogSeen);
  ui_driver::AcceptNextMessageBox(&boxSeen);
  EXPECT_EQ(IDOK, Show(TestDialog(), AskingProc));
  EXPECT_TRUE(ui_driver::Finish());
  EXPECT_EQ(std::string("閉じ方の確認"), dialogSeen.caption) << Escaped(dialogSeen.caption);
  EXPECT_EQ(std::string("続き"), boxSeen.caption) << Escaped(boxSeen.caption);
}

TEST(UiDriverTest, AWindowThatNeverAppearsFails) {
  WindowSeen seen;
  ui_driver::CloseNextDialog(CloseWay::OkButton, &seen);
  EXPECT_FALSE(ui_driver::Finish());
  EXPECT_FALSE(seen.appeared);
  EXPECT_TRUE(ui_driver::Finish()) << "Finish() disarms";
}

TEST(UiDriverTest, AWindowThatNeverClosesIsClosedByTheWatchdogAndFails) {
  ui_driver::SetWatchdogMilliseconds(300);
  WindowSeen seen;
  ui_driver::CloseNextDialog(CloseWay::EnterKey, &seen);
  EXPECT_EQ(IDCANCEL, Show(TestDialog(), StubbornProc));
  EXPECT_FALSE(ui_driver::Finish());
  EXPECT_TRUE(seen.appeared);
}

TEST(UiDriverTest, ADialogNoStepWaitedForFailsTheTestAndIsCancelled) {
  INT_PTR result = 0;
  EXPECT_NONFATAL_FAILURE(result = Show(TestDialog(), EndingProc), "no test step waited for");
  EXPECT_EQ(IDCANCEL, result);
}

TEST(UiDriverTest, ACloseBoxThatIsNotThereFails) {
  DialogTemplate dialog(DS_MODALFRAME | WS_POPUP | WS_CAPTION, u"閉じるボタンなし");
  dialog.AddControl(kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 30, 40, 60, 14, u"OK");
  ui_driver::CloseNextDialog(CloseWay::CloseBox, nullptr);
  Show(dialog, EndingProc);
  EXPECT_FALSE(ui_driver::Finish());
}

class OpenFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = dir_.Write("days.vrn", "0000/00/00 every day\r\n");
    ofn_.lStructSize = sizeof ofn_;
    ofn_.lpstrFilter = "Agenda files (*.vrn)\0*.vrn\0All files (*.*)\0*.*\0";
    ofn_.lpstrFile = name_;
    ofn_.nMaxFile = sizeof name_;
    ofn_.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  }

  ScratchDir dir_;
  std::string file_;
  char name_[MAX_PATH] = "";
  OPENFILENAMEA ofn_ = {};
};

TEST_F(OpenFileDialogTest, PicksTheTypedPath) {
  WindowSeen seen;
  ui_driver::PickInNextOpenFileDialog(file_, &seen);
  EXPECT_TRUE(GetOpenFileNameA(&ofn_)) << "error " << CommDlgExtendedError();
  EXPECT_TRUE(ui_driver::Finish());
  EXPECT_EQ(file_, std::string(name_));
  const ControlSeen* box = Control(seen, 0x47C);
  ASSERT_NE(nullptr, box) << "no file-name box";
  EXPECT_EQ("ComboBoxEx32", box->className);
}

TEST_F(OpenFileDialogTest, Cancels) {
  WindowSeen seen;
  ui_driver::CancelNextOpenFileDialog(&seen);
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(0u, CommDlgExtendedError()) << "cancelled, not failed";
  EXPECT_TRUE(ui_driver::Finish());
  EXPECT_TRUE(seen.appeared);
  EXPECT_EQ("", std::string(name_));
}

TEST_F(OpenFileDialogTest, IsNotTakenForAnArmedDialog) {
  ui_driver::CloseNextDialog(CloseWay::OkButton, nullptr);
  EXPECT_NONFATAL_FAILURE(GetOpenFileNameA(&ofn_), "no test step waited for");
  EXPECT_FALSE(ui_driver::Finish()) << "the dialog waited for never came";
}

uint32_t Word32(const std::string& bytes, size_t offset) {
  uint32_t value;
  memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

TEST(UiDriverTest, SavesAScreenshotWhileTheDialogIsOpen) {
  const std::string path = "ui_driver_test_dialog.bmp";
  remove(path.c_str());
  ui_driver::ScreenshotNextDialog(path);
  ui_driver::CloseNextDialog(CloseWay::OkButton, nullptr);
  Show(TestDialog(), EndingProc);
  ASSERT_TRUE(ui_driver::Finish());

  std::ifstream in(path, std::ios::binary);
  const std::string bmp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GE(bmp.size(), 54u) << "no BMP at " << path;
  EXPECT_EQ("BM", bmp.substr(0, 2));
  const uint32_t width = Word32(bmp, 18), height = Word32(bmp, 22);
  EXPECT_EQ(24u, Word32(bmp, 28) & 0xFFFF) << "bits per pixel";
  ASSERT_GT(width, 0u);
  ASSERT_GT(height, 0u);
  const size_t stride = (width * 3 + 3) & ~3u;
  ASSERT_EQ(54 + stride * height, bmp.size());
  // A picture of a dialog, not of nothing: frame, caption and buttons differ.
  std::set<uint32_t> colours;
  for (size_t row = 0; row < height; ++row) {
    for (size_t x = 0; x < width; ++x) {
      const unsigned char* pixel =
          reinterpret_cast<const unsigned char*>(bmp.data()) + 54 + row * stride + x * 3;
      colours.insert(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
    }
  }
  EXPECT_GE(colours.size(), 3u);
}

}  // namespace
