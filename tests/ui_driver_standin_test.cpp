// The dialog driver over the stand-in: what each way of closing delivers to a
// dialog procedure, and when Finish() reports that a window did not come or
// did not close.
// Not covered: real windows (ui_driver_windows_test.cpp).
#include <commdlg.h>
#include <gtest/gtest.h>
#include <standin.h>

#include <string>
#include <vector>

#include "tests/ui_driver.h"

namespace {

using ui_driver::CloseWay;
using ui_driver::WindowSeen;

std::vector<WPARAM> commandsSeen;

// Ends on OK and Cancel; records every command.
INT_PTR CALLBACK EndingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_COMMAND) return message == WM_INITDIALOG;
  commandsSeen.push_back(wParam);
  if (wParam == IDOK || wParam == IDCANCEL) EndDialog(dialog, static_cast<INT_PTR>(wParam));
  return TRUE;
}

// Never ends.
INT_PTR CALLBACK StubbornProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

INT_PTR Show(DLGPROC proc) {
  return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(1), nullptr, proc, 0);
}

class UiDriverStandinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::ResetRecords();
    commandsSeen.clear();
    faultsBefore_ = standin::FaultCount();
  }
  int NewFaults() const { return standin::FaultCount() - faultsBefore_; }

  int faultsBefore_ = 0;
};

TEST_F(UiDriverStandinTest, EachCloseWayArrivesAsTheCommandWindowsSends) {
  const struct {
    CloseWay way;
    WPARAM command;
  } cases[] = {
      {CloseWay::OkButton, IDOK},
      {CloseWay::EnterKey, IDOK},
      {CloseWay::EscapeKey, IDCANCEL},
      {CloseWay::CloseBox, IDCANCEL},
  };
  for (const auto& c : cases) {
    commandsSeen.clear();
    WindowSeen seen;
    ui_driver::CloseNextDialog(c.way, &seen);
    EXPECT_EQ(static_cast<INT_PTR>(c.command), Show(EndingProc)) << static_cast<int>(c.way);
    EXPECT_TRUE(ui_driver::Finish()) << static_cast<int>(c.way);
    EXPECT_TRUE(seen.appeared);
    EXPECT_EQ(std::vector<WPARAM>{c.command}, commandsSeen) << static_cast<int>(c.way);
  }
}

TEST_F(UiDriverStandinTest, AWindowThatNeverAppearsFailsAndLeavesNoScript) {
  WindowSeen dialogSeen, fileSeen;
  ui_driver::CloseNextDialog(CloseWay::OkButton, &dialogSeen);
  ui_driver::PickInNextOpenFileDialog("C:\\agenda\\days.vrn", &fileSeen);
  EXPECT_FALSE(ui_driver::Finish());
  EXPECT_FALSE(dialogSeen.appeared);
  EXPECT_FALSE(fileSeen.appeared);
  // Nothing left over for a later dialog: it finds no script, as unarmed.
  EXPECT_EQ(-1, Show(EndingProc));
  EXPECT_EQ(1, NewFaults());
  EXPECT_TRUE(commandsSeen.empty());
  standin::ClearFaults();
}

TEST_F(UiDriverStandinTest, ADialogThatDoesNotCloseFails) {
  WindowSeen seen;
  ui_driver::CloseNextDialog(CloseWay::OkButton, &seen);
  EXPECT_EQ(-1, Show(StubbornProc));
  EXPECT_FALSE(ui_driver::Finish());
  EXPECT_TRUE(seen.appeared);
  standin::ClearFaults();
}

TEST_F(UiDriverStandinTest, DrivesArmedWindowsInTurn) {
  WindowSeen first, second, box;
  ui_driver::CloseNextDialog(CloseWay::OkButton, &first);
  ui_driver::AcceptNextMessageBox(&box);
  ui_driver::CloseNextDialog(CloseWay::EscapeKey, &second);
  EXPECT_EQ(IDOK, Show(EndingProc));
  EXPECT_EQ(IDOK, MessageBoxA(nullptr, "text", "caption", MB_OK));
  EXPECT_FALSE(ui_driver::Finish()) << "the second dialog never came";
  EXPECT_TRUE(first.appeared);
  EXPECT_TRUE(box.appeared);
  EXPECT_FALSE(second.appeared);
}

class UiDriverStandinOpenFileTest : public UiDriverStandinTest {
 protected:
  void SetUp() override {
    UiDriverStandinTest::SetUp();
    ofn_.lStructSize = sizeof ofn_;
    ofn_.lpstrFile = name_;
    ofn_.nMaxFile = sizeof name_;
  }
  char name_[MAX_PATH] = "";
  OPENFILENAMEA ofn_ = {};
};

TEST_F(UiDriverStandinOpenFileTest, PicksAndCancels) {
  WindowSeen seen;
  ui_driver::PickInNextOpenFileDialog("C:\\agenda\\days.vrn", &seen);
  EXPECT_TRUE(GetOpenFileNameA(&ofn_));
  EXPECT_TRUE(ui_driver::Finish());
  EXPECT_TRUE(seen.appeared);
  EXPECT_STREQ("C:\\agenda\\days.vrn", name_);

  ui_driver::CancelNextOpenFileDialog(&seen);
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_TRUE(ui_driver::Finish());
  EXPECT_TRUE(seen.appeared);
}

TEST_F(UiDriverStandinOpenFileTest, ADialogRefusedForItsStructureSizeNeverAppeared) {
  ofn_.lStructSize = 12;
  WindowSeen seen;
  ui_driver::PickInNextOpenFileDialog("C:\\agenda\\days.vrn", &seen);
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_FALSE(ui_driver::Finish());
  EXPECT_FALSE(seen.appeared);
}

}  // namespace
