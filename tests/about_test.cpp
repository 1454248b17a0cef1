// The About dialog's procedure and how the module opens the dialog and the
// configure notice, seen through the stand-in's records.
// Not covered: real windows (about_windows_test.cpp).
#include <gtest/gtest.h>
#include <standin.h>

#include <string>
#include <vector>

#include "host/module.h"
#include "host/vorlinde.h"
#include "tests/test_support.h"
#include "ui/ui.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

using testing_support::Escaped;

HWND const kOwner = reinterpret_cast<HWND>(0x0A11);
HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x10000000);

class AboutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::ResetRecords();
    standin::ClearFaults();
    // The module's objects are linked into this program: give them the
    // instance handle a host's load would have.
    ASSERT_TRUE(DllMain(kInstance, DLL_PROCESS_ATTACH, nullptr));
  }
  void TearDown() override { EXPECT_EQ(0, standin::FaultCount()) << "dialog or heap misused"; }
};

TEST_F(AboutTest, OkAndCancelEndTheDialogWithOne) {
  const struct {
    WPARAM command;
    bool ends;
  } cases[] = {
      {IDOK, true},
      {IDCANCEL, true},
      {0, false},
      {3, false},
      {0xFFFF, false},
      // The whole wParam counts: OK with a notification code other than 0
      // is not a click.
      {0x00010001, false},
      {0x00010002, false},
  };
  for (const auto& c : cases) {
    standin::ResetRecords();
    standin::ScriptDialogCommands({c.command});
    const INT_PTR result =
        DialogBoxParamA(kInstance, MAKEINTRESOURCEA(102), kOwner, AboutDialogProc, 0);
    const std::vector<standin::DialogCall> calls = standin::DialogCalls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(c.ends, calls[0].ended) << "command 0x" << std::hex << c.command;
    EXPECT_EQ(c.ends ? 1 : -1, result) << "command 0x" << std::hex << c.command;
    EXPECT_FALSE(calls[0].initResult) << "WM_INITDIALOG answers 0";
    standin::ClearFaults();  // a dialog left open is a fault of the script here
  }
}

TEST_F(AboutTest, DrawExAboutRunsTheDialogModally) {
  standin::ScriptDialogCommands({IDCANCEL});
  EXPECT_EQ(0, DrawExAbout(kOwner));
  const std::vector<standin::DialogCall> calls = standin::DialogCalls();
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ(kInstance, calls[0].instance);
  EXPECT_EQ(ModuleInstance(), calls[0].instance);
  EXPECT_EQ(102u, calls[0].templateId);
  EXPECT_EQ(kOwner, calls[0].parent);
  EXPECT_EQ(0, calls[0].initParam);
  EXPECT_TRUE(calls[0].ended);
  EXPECT_EQ(1, calls[0].result);
}

TEST_F(AboutTest, DrawExAboutAnswersZeroWhenTheDialogFails) {
  // Nothing closes the dialog, so the stand-in's dialog call fails with -1.
  EXPECT_EQ(0, DrawExAbout(nullptr));
  const std::vector<standin::DialogCall> calls = standin::DialogCalls();
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ(-1, calls[0].result);
  EXPECT_EQ(nullptr, calls[0].parent);
  standin::ClearFaults();
}

TEST_F(AboutTest, DrawExConfigureShowsTheNotice) {
  for (HWND owner : {kOwner, static_cast<HWND>(nullptr)}) {
    standin::ResetRecords();
    EXPECT_EQ(0, DrawExConfigure(owner));
    const std::vector<standin::MessageBoxCall> calls = standin::MessageBoxCalls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(owner, calls[0].owner);
    EXPECT_EQ(Escaped("設定項目は有りません"), Escaped(calls[0].text));
    EXPECT_EQ("Vorlinde", calls[0].caption);
    EXPECT_EQ(0x40u, calls[0].type);
    EXPECT_TRUE(standin::DialogCalls().empty());
  }
}

}  // namespace
