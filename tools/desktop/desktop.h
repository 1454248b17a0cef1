// What the tools may ask of the desktop the user sits at, where there is one
// (desktop_windows.cpp); the native build's stand-in has none
// (desktop_posix.cpp).
#pragma once

#include <string>

// Whether the module's dialogs can be shown: only where there are real
// windows.
bool CanShowDialogs();

// Puts UTF-8 text on the clipboard; false when it cannot, or there is none.
bool PutOnClipboard(const std::string& utf8);
