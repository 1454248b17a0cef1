// Whether the module's dialogs can be shown: only where there are real
// windows (dialogs_windows.cpp); the native build's stand-in has none
// (dialogs_posix.cpp).
#pragma once

bool CanShowDialogs();
