// A module with the 19 entry points of which one, Update, cleans up its own
// arguments (stdcall): what a slip in the module's declarations would make.
// The calling-convention check must report it. Built for the tests only.
#include <windows.h>

#define PLAIN(name) \
  extern "C" __declspec(dllexport) int name(void) { return 0; }

PLAIN(CalcDefaultRect)
PLAIN(DoDrawExMenu)
PLAIN(DoTimer)
PLAIN(DrawChip)
PLAIN(DrawExAbout)
PLAIN(DrawExConfigure)
PLAIN(DrawExSpecification)
PLAIN(EditHelper)
PLAIN(ExchangeSendString)
PLAIN(GetDrawExMenu)
PLAIN(GetMemoString)
PLAIN(GetSaveData)
PLAIN(GetTimerSpan)
PLAIN(InitializeChip)
PLAIN(MouseClik)
PLAIN(Resize)
PLAIN(UnInitializeChip)
PLAIN(Zoom)

// Exported undecorated (the linker's --kill-at drops the @12), as the host
// finds it by name.
extern "C" __declspec(dllexport) int __stdcall Update(void*, void*, void*) { return 1; }
