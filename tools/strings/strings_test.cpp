// The shared text pieces: lines as the tools split them, ASCII case, and
// FNV-1a against its published test vectors. Not covered: encodings
// (tools/encodings/).
#include "tools/strings/strings.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitLines, BreaksAsWritten) {
  const struct {
    const char* text;
    std::vector<std::string> lines;
  } rows[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\n\nb\r\n", {"a", "", "b"}},
      {"a\rb\n", {"a\rb"}},  // a lone CR is no break
      {"a\r", {"a\r"}},      // nor one at the very end
      {"\r\n", {""}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SplitLines(row.text), row.lines) << "text: " << testing::PrintToString(row.text);
  }
}

TEST(AsciiCase, OnlyAsciiLettersChange) {
  // "\x82\x60" is a Shift-JIS letter whose second byte is ASCII '`'; UTF-8
  // bytes are above 0x7F and stay.
  EXPECT_EQ(AsciiUpper("abz-AZ\x82\x60\xC3\xA9"), "ABZ-AZ\x82\x60\xC3\xA9");
  EXPECT_EQ(AsciiLower("ABZ-az\x82\x41"), "abz-az\x82\x61");
  const struct {
    const char *text, *affix;
    bool equal, startsWith, endsWith;
  } rows[] = {
      {"Cal.ICS", "cal.ics", true, true, true},
      {"x.ics", ".ICS", false, false, true},
      {"x.icsx", ".ics", false, false, false},
      {"ics", "x.ics", false, false, false},
      {"\xC3\xA9", "\xC3\x89", false, false, false},
      {"WebCal://host/x", "webcal://", false, true, false},
      {"http", "http://", false, false, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(EqualsIgnoringAsciiCase(row.text, row.affix), row.equal) << row.text;
    EXPECT_EQ(StartsWithIgnoringAsciiCase(row.text, row.affix), row.startsWith) << row.text;
    EXPECT_EQ(EndsWithIgnoringAsciiCase(row.text, row.affix), row.endsWith) << row.text;
  }
}

TEST(Fnv1a, PublishedVectors) {
  const struct {
    const char* bytes;
    uint32_t hash32;
    uint64_t hash64;
  } rows[] = {
      {"", 0x811c9dc5u, 0xcbf29ce484222325ull},
      {"a", 0xe40c292cu, 0xaf63dc4c8601ec8cull},
      {"foobar", 0xbf9cf968u, 0x85944171f73967e8ull},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Fnv1a32(row.bytes), row.hash32) << row.bytes;
    EXPECT_EQ(Fnv1a64(row.bytes), row.hash64) << row.bytes;
  }
}

}  // namespace
