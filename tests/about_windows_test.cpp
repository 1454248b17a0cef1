// The About dialog and the configure notice as real windows: what the user
// sees while they are open, read back from the live windows.
// Not covered: the dialog's procedure call by call (about_test.cpp).
#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "host/vorlinde.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

namespace {

using testing_support::Escaped;

// Bits the system adds to a live dialog that its template does not hold.
constexpr uint32_t kAddedToDialog = WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK;

struct ControlExpected {
  uint16_t id;
  const char* className;
  std::string text;  // Shift-JIS, as the ANSI calls give it
  uint32_t style;
  uint32_t exStyle;  // as the live control has it
};

const ControlExpected kAboutControls[] = {
    {IDOK, "Button", "OK", 0x50010001, 0},
    {0xFFFF, "Static", "Kelvane 小片描画拡張ライブラリィ － 簡易Vorlinde", 0x50020001, 0},
    {0xFFFF, "Static",
     "小片に書かれた指定ファイルから、本日分のデータを取得して表示します。"
     "ファイルのフォーマットは以下の通り。\n\n1998/04/01 エイプリル・フール\n\n"
     "年に 0000 は毎年。 月に 00 は毎月。 日に 00 は毎日。\n"
     "先頭の;はコメント扱い。詳しくは、sample.vrnを見てね。",
     // The system draws a sunken static with the static edge.
     0x50021000, WS_EX_STATICEDGE},
    {0xFFFF, "Static", "作成: Vorlinde プロジェクト\nCopyright (C) 2026 the Vorlinde project",
     0x50020002, 0},
};

std::string Hex(uint32_t value) {
  char text[16];
  snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// Notes the icon that the next window activated on this thread shows in its
// icon control, while the window is open. Reading it is a direct call on
// this thread's own window; closing is left to the driver.
class IconProbe {
 public:
  IconProbe() {
    probe_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~IconProbe() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    probe_ = nullptr;
  }
  IconProbe(const IconProbe&) = delete;
  IconProbe& operator=(const IconProbe&) = delete;

  bool installed() const { return hook_ != nullptr; }
  HICON icon() const { return icon_; }

 private:
  static BOOL CALLBACK FindIcon(HWND child, LPARAM probe) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    reinterpret_cast<IconProbe*>(probe)->icon_ =
        reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return FALSE;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && probe_ != nullptr && !probe_->seen_) {
      probe_->seen_ = true;
      EnumChildWindows(reinterpret_cast<HWND>(wParam), FindIcon, reinterpret_cast<LPARAM>(probe_));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static IconProbe* probe_;
  HHOOK hook_ = nullptr;
  bool seen_ = false;
  HICON icon_ = nullptr;
};

IconProbe* IconProbe::probe_ = nullptr;

class AboutWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(VORLINDE_TEST_MODULE);
    ASSERT_NE(nullptr, module_) << "cannot load " << VORLINDE_TEST_MODULE;
    drawExAbout_ = Entry<OwnerWindowProc>("DrawExAbout");
    drawExConfigure_ = Entry<OwnerWindowProc>("DrawExConfigure");
    ASSERT_NE(nullptr, drawExAbout_);
    ASSERT_NE(nullptr, drawExConfigure_);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  template <typename Proc>
  Proc Entry(const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_ = nullptr;
  OwnerWindowProc drawExAbout_ = nullptr;
  OwnerWindowProc drawExConfigure_ = nullptr;
};

TEST_F(AboutWindowsTest, AboutShowsItsTemplate) {
  ui_driver::WindowSeen seen;
  // A picture for a person to look at: about-dialog.png among the screenshots.
  ui_driver::ScreenshotNextDialog("about-dialog.bmp");
  ui_driver::CloseNextDialog(ui_driver::CloseWay::OkButton, &seen);
  EXPECT_EQ(0, drawExAbout_(nullptr));
  ASSERT_TRUE(ui_driver::Finish());
  ASSERT_TRUE(seen.appeared);

  EXPECT_EQ("About Vorlinde.dxl", seen.caption);
  EXPECT_EQ("#32770", seen.className);
  EXPECT_EQ(Hex(0x80C800C0), Hex(seen.style & ~kAddedToDialog));
  ASSERT_EQ(4u, seen.controls.size());
  for (size_t i = 0; i < seen.controls.size(); ++i) {
    const ControlExpected& expected = kAboutControls[i];
    const ui_driver::ControlSeen& actual = seen.controls[i];
    EXPECT_EQ(expected.id, static_cast<uint16_t>(actual.id)) << "control " << i;
    EXPECT_EQ(expected.className, actual.className) << "control " << i;
    EXPECT_EQ(Escaped(expected.text), Escaped(actual.text)) << "control " << i;
    EXPECT_EQ(Hex(expected.style), Hex(actual.style)) << "control " << i;
    EXPECT_EQ(Hex(expected.exStyle), Hex(actual.exStyle & ~WS_EX_NOPARENTNOTIFY))
        << "control " << i;
  }
}

TEST_F(AboutWindowsTest, ConfigureNoticeIsAnInformationBoxWithOneButton) {
  ui_driver::WindowSeen seen;
  ui_driver::AcceptNextMessageBox(&seen);
  IconProbe probe;
  ASSERT_TRUE(probe.installed());
  EXPECT_EQ(0, drawExConfigure_(nullptr));
  ASSERT_TRUE(ui_driver::Finish());
  ASSERT_TRUE(seen.appeared);
  // The system's shared information icon, and not one of the others.
  const HICON information = LoadIconA(nullptr, IDI_INFORMATION);
  ASSERT_NE(nullptr, information);
  EXPECT_NE(LoadIconA(nullptr, IDI_WARNING), information);
  EXPECT_EQ(information, probe.icon());

  EXPECT_EQ("Vorlinde", seen.caption);
  EXPECT_EQ("#32770", seen.className);
  std::vector<std::string> buttons;
  bool textShown = false;
  for (const ui_driver::ControlSeen& control : seen.controls) {
    if (control.className == "Button" && (control.style & WS_VISIBLE))
      buttons.push_back(control.text);
    if (control.className == "Static" && control.text == "設定項目は有りません") textShown = true;
  }
  EXPECT_EQ(std::vector<std::string>{"OK"}, buttons);
  EXPECT_TRUE(textShown) << "no static control shows the notice";
}

}  // namespace
