// What the command-line tools do differently on each platform: the terminal's
// encoding (UTF-8 on Linux, the console's code page on Windows) and language.
#pragma once

#include <stdio.h>

#include <string>

// Shift-JIS text in the terminal's encoding; bytes that do not convert are
// shown as "?".
std::string ToTerminalText(const std::string& shiftJis);

// A tool's own UTF-8 text in the terminal's encoding.
std::string Utf8ToTerminalText(const std::string& utf8);

// Shift-JIS text as UTF-8, whatever the terminal; bytes that do not convert
// are shown as "?".
std::string ShiftJisToUtf8(const std::string& shiftJis);

// Appends the Shift-JIS (code page 932) form of a Unicode character to `*out`;
// false, appending nothing, when it has none. No character is replaced by a
// look-alike.
bool CharacterToShiftJis(char32_t character, std::string* out);

// A command-line argument (a file name, an entry's text) as UTF-8: on Linux
// arguments are UTF-8 already, on Windows in the system's ANSI code page.
std::string ArgumentToUtf8(const std::string& argument);

// Whether the user's environment is Japanese: on Windows the console's or the
// system's ANSI code page is 932, on Linux LC_ALL, LC_MESSAGES or LANG (the
// first one set) starts with "ja".
bool TerminalIsJapanese();

// Makes standard output write bytes exactly as given, for raw output: on
// Windows it would otherwise write every LF as CR LF.
void SetBinaryOutput();

// Prints a memo (Shift-JIS, CR LF): when `raw`, its bytes exactly as the host
// gets them and nothing more; else with LF line breaks in the terminal's
// encoding, and a line break after it (memo_output.cpp).
void PrintMemo(const std::string& memo, bool raw);

// How many processes share this program's console: 1 when the console was
// made for it alone (started from Explorer), more from a command prompt, 0
// where there is no such count.
unsigned long ConsoleProcessCount();

// Whether standard input is a console a person can press Enter in.
bool InputIsConsole();

// Moves the file `from` over `to` in one step, replacing it: `to` is then
// either as it was or all of `from`, whenever the program is interrupted.
bool MoveFileOver(const std::string& from, const std::string& to);

// Opens a new file for writing bytes; null when the name is taken or the file
// cannot be made.
FILE* CreateNewFile(const std::string& name);

// Whether the module's dialogs can be shown: only where there are real windows.
bool CanShowDialogs();
