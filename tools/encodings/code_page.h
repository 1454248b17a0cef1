// What the encodings room asks of the platform (encodings_posix.cpp,
// encodings_windows.cpp):
// its own table of code page 932, Shift-JIS as Windows has it.
#pragma once

#include <string>

// Appends the code page 932 bytes of `character` to `*out`; false, appending
// nothing, when it has none or only a look-alike.
bool CodePage932Of(char32_t character, std::string* out);

// `utf8` in the ANSI code page the plug-in reads file names in; false when a
// character has no form there. On Linux the code page is taken as a Japanese
// Windows has it, Shift-JIS.
bool ToAnsiCodePage(const std::string& utf8, std::string* ansi);
