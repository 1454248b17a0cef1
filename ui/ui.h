// The user interface's pieces that are not entry points.
#pragma once

#include <windows.h>

// The About dialog's procedure: OK and Cancel (Enter, Esc and the close box
// come as these) end the dialog; everything else is the system's.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
