// The console the command-line tools write to and read from: its encoding
// (UTF-8 on Linux, the console's code page on Windows), its language, and
// whether it belongs to the program alone; and the program's command line
// and environment, as UTF-8 on both systems.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

// Writes a tool's own UTF-8 text to `stream`: to a Windows console with
// WriteConsoleW, so that every character shows whatever the console's code
// page; anywhere else (a file, a pipe) in the console's code page, or the
// ANSI one, with "?" for what it lacks. On Linux the bytes go as they are.
void PrintText(FILE* stream, const std::string& utf8);

// Writes Shift-JIS text (a memo, an agenda line) to `stream` as PrintText
// writes UTF-8: to a Windows console as UTF-16, elsewhere in the terminal's
// encoding, with "?" for bytes that do not convert.
void PrintShiftJis(FILE* stream, const std::string& shiftJis);

// The program's arguments after its name, as UTF-8: on Windows read from
// the UTF-16 command line, as `argv` holds them in the ANSI code page, where
// a name with characters that code page lacks has lost them ("??.ics").
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The environment variable's value as UTF-8 (on Windows read in UTF-16, as
// the command line is), "" when it is not set.
std::string EnvironmentText(const char* name);

// A command-line argument (a file name, an entry's text) as UTF-8: on Linux
// arguments are UTF-8 already, and on Windows the program reads its command
// line as UTF-16 and makes it UTF-8, so the argument comes back as it is.
std::string ArgumentToUtf8(const std::string& argument);

// Whether the user's environment is Japanese: on Windows the console's or the
// system's ANSI code page is 932; on Linux `messageLocale`, the locale
// messages follow (the first of LC_ALL, LC_MESSAGES and LANG that is set,
// which the program reads), starts with "ja".
bool TerminalIsJapanese(const std::string& messageLocale);

// Makes standard output write bytes exactly as given, for raw output: on
// Windows it would otherwise write every LF as CR LF.
void SetBinaryOutput();

// Prints a memo (Shift-JIS, CR LF): when `raw`, its bytes exactly as the host
// gets them and nothing more; else with LF line breaks in the terminal's
// encoding, and a line break after it (terminal.cpp).
void PrintMemo(const std::string& memo, bool raw);

// How many processes share this program's console: 1 when the console was
// made for it alone (started from Explorer), more from a command prompt, 0
// where there is no such count.
unsigned long ConsoleProcessCount();

// Whether standard input is a console a person can press Enter in.
bool InputIsConsole();
