// Text encodings for the tools: which encoding a file was saved in, Unicode
// to Shift-JIS as users mean it, UTF-8 to UTF-16 and back, and text quoted
// in a message.
// Not covered: the platforms' code page tables themselves (the conversions'
// golden files run through both), nor how a file's lines are checked
// (checker_test.cpp).
#include "tools/encodings/encodings.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <string>

#include "tests/test_support.h"

namespace {

using testing_support::Escaped;

template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

TEST(Text, DetectEncoding) {
  const struct {
    std::string bytes;
    Encoding encoding;
  } cases[] = {
      {"2026/12/24 x\r\n", Encoding::kShiftJis},
      {"2026/12/24 \x89\xEF\x8B\x63\r\n", Encoding::kShiftJis},  // 会議
      {"2026/12/24 \xE4\xBC\x9A\xE8\xAD\xB0\r\n", Encoding::kUtf8},
      {"\xEF\xBB\xBF"
       "2026/12/24 x\r\n",
       Encoding::kUtf8ByteOrderMark},
      {Bytes("\xFF\xFE"
             "2\0"
             "0\0"),
       Encoding::kUtf16LittleEndian},
      {Bytes("\xFE\xFF\0"
             "2\0"
             "0"),
       Encoding::kUtf16BigEndian},
      // Without a mark, by where the NULs of ASCII characters fall.
      {Bytes("2\0"
             "0\0"
             "2\0"
             "6\0"),
       Encoding::kUtf16LittleEndian},
      {Bytes("\0"
             "2\0"
             "0\0"
             "2\0"
             "6"),
       Encoding::kUtf16BigEndian},
      {"2026/12/24 \x01\x02", Encoding::kNotText},
      {"2026/12/24 \x82", Encoding::kNotText},  // a lead byte cut off
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<int>(c.encoding), static_cast<int>(DetectEncoding(c.bytes)))
        << Escaped(c.bytes) << " read as " << EncodingName(DetectEncoding(c.bytes));
  }
}

TEST(Text, Utf8ToShiftJis) {
  const struct {
    const char* utf8;
    std::string shiftJis;
    bool substituted;
  } cases[] = {
      {"abc", "abc", false},
      {"会議", "\x89\xEF\x8B\x63", false},
      // The wave dash as both systems' editors write it, and the yen sign.
      {"\xE3\x80\x9C\xEF\xBD\x9E", "\x81\x60\x81\x60", false},
      {"\xC2\xA5"
       "500",
       "\x5C"
       "500",
       false},
      {"\xE2\x80\x94", "\x81\x5C", false},       // the em dash
      {"\xF0\x9F\x8E\x82!", "\x81\xAC!", true},  // 🎂 has no Shift-JIS form
      {"\xE3\x81", "\x81\xAC\x81\xAC", true},    // a cut character, byte by byte
      {"\xC3\xA9", "\x81\xAC", true},            // é: no look-alike
  };
  for (const auto& c : cases) {
    bool substituted = false;
    EXPECT_EQ(Escaped(c.shiftJis), Escaped(Utf8ToShiftJis(c.utf8, &substituted))) << c.utf8;
    EXPECT_EQ(c.substituted, substituted) << c.utf8;
  }
}

TEST(Text, NextUtf16) {
  const struct {
    std::string bytes;
    bool bigEndian;
    char32_t character;  // 0 when refused
  } cases[] = {
      {Bytes("A\0"), false, U'A'},
      {Bytes("\0A"), true, U'A'},
      {"\x3C\xD8\x82\xDF", false, U'\U0001F382'},  // a surrogate pair
      {"\x3C\xD8", false, 0},                      // its first half alone
      {"\x82\xDF\x3C\xD8", false, 0},              // its halves swapped
      {"A", false, 0},                             // a cut unit
  };
  for (const auto& c : cases) {
    size_t at = 0;
    char32_t character = 0;
    const bool read = NextUtf16(c.bytes, c.bigEndian, &at, &character);
    EXPECT_EQ(c.character, read ? character : U'\0') << Escaped(c.bytes);
    EXPECT_EQ(read ? c.bytes.size() : 0, at) << Escaped(c.bytes);
  }
}

// UTF-16 code units as hex, for a failure message.
std::string Units(const std::u16string& utf16) {
  std::string hex;
  for (const char16_t unit : utf16) {
    char text[8];
    snprintf(text, sizeof text, "%04X ", static_cast<unsigned>(unit));
    hex += text;
  }
  return hex;
}

TEST(Text, Utf8ToUtf16AndBack) {
  const std::string bad = "\xEF\xBF\xBD";  // U+FFFD, for what cannot be read
  const struct {
    std::string utf8;
    std::u16string utf16;
    bool valid;
    std::string back;  // the UTF-8 of those units
  } cases[] = {
      {"", u"", true, ""},
      {Bytes("a\0b"), std::u16string(u"a\0b", 3), true, Bytes("a\0b")},
      {"会議", u"会議", true, "会議"},
      {"\xF0\x9F\x8E\x82", {0xD83C, 0xDF82}, true, "\xF0\x9F\x8E\x82"},  // 🎂, a pair
      {"\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}, true, "\xF4\x8F\xBF\xBF"},  // the last character
      // What is not UTF-8 becomes U+FFFD, byte by byte: cut, overlong, a surrogate.
      {"\xE3\x81", {0xFFFD, 0xFFFD}, false, bad + bad},
      {"\xC0\x80", {0xFFFD, 0xFFFD}, false, bad + bad},
      {"\xED\xA0\x80x", {0xFFFD, 0xFFFD, 0xFFFD, u'x'}, false, bad + bad + bad + "x"},
  };
  for (const auto& c : cases) {
    bool valid = !c.valid;
    EXPECT_EQ(Units(c.utf16), Units(Utf8ToUtf16(c.utf8, &valid))) << Escaped(c.utf8);
    EXPECT_EQ(c.valid, valid) << Escaped(c.utf8);
    EXPECT_EQ(Escaped(c.back), Escaped(Utf16ToUtf8(c.utf16))) << Units(c.utf16);
  }
  // A surrogate without its other half: alone, swapped, before a letter,
  // after one, and before a whole pair.
  const struct {
    std::u16string utf16;
    std::string utf8;
  } lone[] = {
      {{0xD83C}, bad},
      {{0xDF82, 0xD83C}, bad + bad},
      {{0xD83C, u'A'}, bad + "A"},
      {{u'A', 0xDF82}, "A" + bad},
      {{0xD83C, 0xD83C, 0xDF82}, bad + "\xF0\x9F\x8E\x82"},
  };
  for (const auto& c : lone) {
    EXPECT_EQ(Escaped(c.utf8), Escaped(Utf16ToUtf8(c.utf16))) << Units(c.utf16);
  }
}

TEST(Text, Quoted) {
  const std::string forty(40, 'x');
  const struct {
    std::string utf8;
    std::string quoted;
  } cases[] = {
      {"plain", "plain"},
      {"line\nbreak\tand\rreturn", "line\\nbreak\\tand\\rreturn"},
      {"\x1B[31mred", "\\x1B[31mred"},
      {"next\xC2\x85line", "next\\u0085line"},
      {"\x7F", "\\x7F"},
      {forty, forty},
      {forty + "y", forty + "..."},
      // Forty characters, not forty bytes.
      {std::string(20, 'x') + "長長長長長長長長長長長長長長長長長長長長長",
       std::string(20, 'x') + "長長長長長長長長長長長長長長長長長長長長..."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Escaped(c.quoted), Escaped(Quoted(c.utf8))) << Escaped(c.utf8);
}

}  // namespace
