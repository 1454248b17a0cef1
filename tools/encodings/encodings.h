// Text encodings, for the command-line tools: the Shift-JIS byte rules the
// module reads by, UTF-8 and UTF-16 as today's editors save them, byte-order
// marks, telling which of these a file was saved in, conversion between them,
// and quoting text in a message. The module reads every file as Shift-JIS
// (code page 932); nothing here is part of it.
#pragma once

#include <stddef.h>

#include <string>

// Shift-JIS: a lead byte and a trail byte make a double-byte character.
bool IsLeadByte(unsigned char c);
bool IsTrailByte(unsigned char c);

// The length of the Shift-JIS character at `i`: 2 for a lead byte with its
// trail byte, else 1.
size_t CharacterLength(const std::string& shiftJis, size_t i);

// Reads the UTF-8 character at `*at` (shortest form, no surrogates) and moves
// past it; false at a byte that begins no such character.
bool NextUtf8(const std::string& bytes, size_t* at, char32_t* character);

// Reads the UTF-16 character at `*at` and moves past it; false at a lone
// surrogate or a cut unit.
bool NextUtf16(const std::string& bytes, bool bigEndian, size_t* at, char32_t* character);

// The character as UTF-8.
std::string Utf8Of(char32_t character);

// Appends the character's UTF-16 code units to `*utf16`: one, or a
// surrogate pair beyond U+FFFF.
void AppendUtf16(char32_t character, std::u16string* utf16);

// UTF-8 as UTF-16. A byte that begins no UTF-8 character (a cut or overlong
// one, a surrogate) becomes U+FFFD, as Windows' own conversion writes it,
// and clears `*valid` when it is given.
std::u16string Utf8ToUtf16(const std::string& utf8, bool* valid = nullptr);

// UTF-16 as UTF-8; a surrogate without its other half becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& utf16);

#if defined(_WIN32)
// The same for the wide strings of the Windows API, whose wchar_t is a
// UTF-16 code unit (encodings_windows.cpp).
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);
#endif

bool IsUtf8(const std::string& bytes);

// A UTF-8 file name as the plug-in's engine opens it (with the narrow, ANSI
// functions): on Windows `*ansi` is the name in the system's ANSI code page,
// and false when that code page lacks one of its characters (no look-alike is
// taken in its place: it is written "?", so that the name opens no file);
// its length is the name's length in ANSI bytes. On
// Linux the name's bytes as they are, and always true.
bool AnsiName(const std::string& utf8, std::string* ansi);

enum class Encoding {
  kShiftJis,  // ASCII included
  kUtf8,
  kUtf8ByteOrderMark,
  kUtf16LittleEndian,
  kUtf16BigEndian,
  kNotText,  // no text in any of these
};

// The encoding a file of `bytes` was most probably saved in: UTF-16 by its
// byte-order mark or its many NULs, UTF-8 by its mark or by bytes that are
// valid UTF-8 and unlikely Shift-JIS, else Shift-JIS when its characters are
// whole and it holds no control byte but tab, line breaks and Ctrl-Z.
Encoding DetectEncoding(const std::string& bytes);

// "UTF-8", "UTF-8 (BOM)", "UTF-16LE", "UTF-16BE", "Shift-JIS".
const char* EncodingName(Encoding encoding);

// The length of the byte-order mark `bytes` begin with: 3 for UTF-8's, 2 for
// UTF-16's, 0 for none.
size_t ByteOrderMarkLength(const std::string& bytes);

// Appends the Shift-JIS form of a character to `*out`; false, appending
// nothing, when it has none. Characters that editors on other systems write
// where a Windows editor writes another (the wave dash, the yen sign) become
// the Shift-JIS character a user of either means; nothing else is replaced by
// a look-alike.
bool CharacterToShiftJis(char32_t character, std::string* out);

// The customary stand-in for a character Shift-JIS lacks: 〓.
extern const char kGetaMark[];

// UTF-8 text in Shift-JIS, each character as CharacterToShiftJis writes it;
// a character with no Shift-JIS form, or a byte that is not UTF-8, becomes 〓,
// and `*substituted` is then set.
std::string Utf8ToShiftJis(const std::string& utf8, bool* substituted);

// Shift-JIS text as UTF-8; bytes that do not convert show as "?".
std::string ShiftJisToUtf8(const std::string& shiftJis);

// `utf8` as a message quotes it: at most `characters` characters of it,
// "..." when it was cut, and its control characters (C0, DEL and C1) written
// as escapes (\n, \r, \t, \x1B, \u0085), so that the message stays one line
// and moves no cursor.
std::string Quoted(const std::string& utf8, size_t characters = 40);
