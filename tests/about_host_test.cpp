// The About dialog and the configure notice as a host meets them: the module
// loaded by path, the dialog opened from DrawExAbout and from a chip's menu,
// and closed every way a user can close it.
// Not covered: how the dialogs look (about_windows_test.cpp).
#include <gtest/gtest.h>

#include <string>

#include "host/vorlinde.h"
#include "tests/module_test.h"
#include "tests/ui_driver.h"

namespace {

using ui_driver::CloseWay;

const char* Name(CloseWay way) {
  switch (way) {
    case CloseWay::OkButton:
      return "OK button";
    case CloseWay::EnterKey:
      return "Enter key";
    case CloseWay::EscapeKey:
      return "Esc key";
    case CloseWay::CloseBox:
      return "close box";
  }
  return "?";
}

class AboutHostTest : public testing_support::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    Resolve("DrawExAbout", &drawExAbout_);
    Resolve("DrawExConfigure", &drawExConfigure_);
    Resolve("DoDrawExMenu", &doDrawExMenu_);
  }

  OwnerWindowProc drawExAbout_ = nullptr;
  OwnerWindowProc drawExConfigure_ = nullptr;
  DoDrawExMenuProc doDrawExMenu_ = nullptr;
};

TEST_F(AboutHostTest, ClosesEveryWayAndAnswersZero) {
  ChipHandle chip = NewChip("");
  ASSERT_NE(nullptr, chip);
  for (CloseWay way :
       {CloseWay::OkButton, CloseWay::EnterKey, CloseWay::EscapeKey, CloseWay::CloseBox}) {
    for (bool fromMenu : {false, true}) {
      const std::string how =
          std::string(fromMenu ? "chip menu" : "DrawExAbout") + ", closed by " + Name(way);
      ui_driver::WindowSeen seen;
      ui_driver::CloseNextDialog(way, &seen);
      const int result = fromMenu ? doDrawExMenu_(chip, nullptr, CMD_ABOUT) : drawExAbout_(nullptr);
      EXPECT_TRUE(ui_driver::Finish()) << how;
      EXPECT_TRUE(seen.appeared) << how;
      EXPECT_EQ(0, result) << how;
    }
  }
}

TEST_F(AboutHostTest, ConfigureShowsANoticeAndAnswersZero) {
  ui_driver::WindowSeen seen;
  ui_driver::AcceptNextMessageBox(&seen);
  EXPECT_EQ(0, drawExConfigure_(nullptr));
  EXPECT_TRUE(ui_driver::Finish());
  EXPECT_TRUE(seen.appeared);
}

}  // namespace
