// Shift-JIS characters, and which encoding a file's bytes were saved in: the
// module reads every file as Shift-JIS, so a file in another encoding shows
// garbled.
#pragma once

#include <stddef.h>

#include <string>

bool IsLeadByte(unsigned char c);
bool IsTrailByte(unsigned char c);

// The length of the Shift-JIS character at `i`: 2 for a lead byte with its
// trail byte, else 1.
size_t CharacterLength(const std::string& s, size_t i);

// Reads the UTF-8 character at `*at` (shortest form, no surrogates) and moves
// past it; false at a byte that begins no such character.
bool NextUtf8(const std::string& bytes, size_t* at, char32_t* character);

// `utf8` with its control characters (C0, DEL and C1) written as escapes
// (\n, \r, \t, \x1B, \u0085), so that a message quoting it stays one line
// and moves no cursor.
std::string Escaped(const std::string& utf8);

enum class FileEncoding { kShiftJis, kUtf16, kUtf8ByteOrderMark, kUtf8 };

// The encoding a file of `bytes` was most probably saved in: UTF-16 by its
// byte-order mark or its many NULs, UTF-8 by its mark or by bytes that are
// valid UTF-8 and unlikely Shift-JIS; else Shift-JIS (ASCII included).
FileEncoding DetectEncoding(const std::string& bytes);
