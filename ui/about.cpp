// The About dialog and the notice that there is nothing to configure.
#include "host/module.h"
#include "host/vorlinde.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "ui/ui.h"

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (message == WM_COMMAND && (wParam == IDOK || wParam == IDCANCEL)) EndDialog(dialog, 1);
  return 0;
}

extern "C" int DrawExAbout(HWND owner) {
  // Whatever the dialog answers, even when it cannot be shown, the host gets 0.
  DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
  return 0;
}

extern "C" int DrawExConfigure(HWND owner) {
  MessageBoxA(owner, texts::kNothingToConfigure, texts::kNoticeCaption, MB_OK | MB_ICONINFORMATION);
  return 0;
}
