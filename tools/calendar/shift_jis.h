// UTF-8 text as the Shift-JIS (code page 932) an agenda file holds, the same
// bytes on every platform: each character is converted on its own, and one
// that code page 932 lacks becomes the geta mark 〓, as is customary.
#pragma once

#include <stdint.h>

#include <string>

// `utf8` in Shift-JIS. `*substituted` (when given) is set when a character, or
// a byte that is not UTF-8, was given the geta mark.
std::string Utf8ToShiftJis(const std::string& utf8, bool* substituted = nullptr);

// A command-line argument (a file name, an entry's text) as UTF-8: on Linux
// arguments are UTF-8, on Windows in the system's ANSI code page.
std::string ArgumentToUtf8(const std::string& argument);

// The code page 932 bytes of one character, appended to `*out`; false when
// the code page has no such character (shift_jis_posix.cpp,
// shift_jis_windows.cpp).
bool AppendShiftJisCharacter(uint32_t codePoint, std::string* out);
