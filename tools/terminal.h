// What the command-line host does differently on each platform.
#pragma once

#include <string>

// Shift-JIS text as UTF-8 for the terminal; bytes that do not convert are
// shown as "?". Line breaks become LF.
std::string ToTerminalText(const std::string& shiftJis);

// Whether the module's dialogs can be shown: only where there are real windows.
bool CanShowDialogs();
