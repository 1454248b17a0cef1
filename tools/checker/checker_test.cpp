// The agenda checker: which lines it reports, and as what kind of finding.
// Shift-JIS and UTF-8 bytes are written as escapes, the characters in a comment.
// Not covered: the messages' wording and the tool's output (tests/tool/).
#include "tools/checker/checker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::Escaped;
using testing_support::ScratchDir;

// Bytes of a literal, NULs included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

const char* KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::kICalendar:
      return "icalendar";
    case FindingKind::kUtf16:
      return "utf16";
    case FindingKind::kUtf8ByteOrderMark:
      return "utf8-bom";
    case FindingKind::kUtf8:
      return "utf8";
    case FindingKind::kCtrlZ:
      return "ctrl-z";
    case FindingKind::kLongLine:
      return "long-line";
    case FindingKind::kNul:
      return "nul";
    case FindingKind::kLoneCr:
      return "lone-cr";
    case FindingKind::kNoText:
      return "no-text";
    case FindingKind::kNeverOccurs:
      return "never-occurs";
    case FindingKind::kDoubleByteDate:
      return "double-byte-date";
    case FindingKind::kTextSplitsCharacter:
      return "text-splits-character";
    case FindingKind::kDateField:
      return "date-field";
    case FindingKind::kReading:
      return "reading";
  }
  return "?";
}

// The findings for a file of `bytes`, as "line:kind" each.
std::string FindingsFor(const std::string& bytes) {
  ScratchDir dir;
  std::vector<Finding> findings;
  if (!CheckAgendaFile(dir.Write("agenda.vrn", bytes), "agenda.vrn", CheckOptions(), &findings)) {
    return "(unreadable)";
  }
  std::string out;
  for (const Finding& finding : findings) {
    if (!out.empty()) out += " ";
    out += std::to_string(finding.line) + ":" + KindName(finding.kind);
  }
  return out.empty() ? "(none)" : out;
}

struct CheckCase {
  std::string file;      // a line with its CR LF, or a few lines
  const char* expected;  // "line:kind", or "(none)"
};

const CheckCase kLineCases[] = {
    // Lines that mean what they say.
    {"; a comment\r\n", "(none)"},
    {"\r\n", "(none)"},
    {"2026/12/24 text\r\n", "(none)"},
    {"2026-12-24 text\r\n", "(none)"},
    {"2026/12/24\ttext\r\n", "(none)"},
    {"2026/12/01 12:00 \x89\xEF\x8B\x63\r\n", "(none)"},  // 会議
    {"2026/12/24X\r\n", "(none)"},
    {"2026/ 1/5  x\r\n", "(none)"},
    {"0000/00/00 every day\n", "(none)"},
    {"0000/02/29 leap day\r\n", "(none)"},
    {"2026/00/31 the 31st of the months that have one\r\n", "(none)"},
    {"2026/12/24 \xB1\xB2\xB3\r\n", "(none)"},  // ｱｲｳ
    {Bytes("; 2026/1/5 a comment may hold anything\0\r\n"), "(none)"},
    {"2026/12/24 ends the file\x1A", "(none)"},
    {"2026/12/24 " + std::string(1012, 'x') + "\r\n", "(none)"},  // 1023 bytes
    // Date fields that hold something other than digits.
    {"2026/1/15 \x8E\x95\x88\xE3\x8E\xD2\r\n", "1:date-field"},
    {"1998/4/1 text\r\n", "1:date-field"},
    {"  2026/01/05 indented\r\n", "1:date-field"},
    {"\t2026/01/05 indented\r\n", "1:date-field"},
    {" ; not a comment\r\n", "1:date-field"},
    {"+998/04/01 x\r\n", "1:date-field"},
    {"-000/04/01 x\r\n", "1:date-field"},
    {"abcd/ef/gh text\r\n", "1:date-field"},
    {"2026/ a/05 x\r\n", "1:date-field"},
    {"2026/  /05 x\r\n", "1:date-field"},
    {"  98/04/01 x\r\n", "1:date-field"},
    // Double-byte characters in the date columns, or split by the text column.
    {"\x82\x51\x82\x4F\x82\x51\x82\x55/12/24 x\r\n", "1:double-byte-date"},  // ２０２６
    {"0000/\x82\x4F/01 x\r\n", "1:double-byte-date"},                        // ０
    {"2026/12/\x82\x51 x\r\n", "1:double-byte-date"},                        // ２
    {"2026\x94\x4E"
     "12\x8C\x8E"
     "24\x93\xFA x\r\n",
     "1:double-byte-date"},                                                // 年 月 日
    {"2026/12/1\x82\xA0\x97\x5C\x92\xE8\r\n", "1:text-splits-character"},  // あ予定
    // Dates that never come.
    {"0000/02/30 x\r\n", "1:never-occurs"},
    {"0000/04/31 x\r\n", "1:never-occurs"},
    {"2026/02/29 x\r\n", "1:never-occurs"},
    {"2026/13/01 x\r\n", "1:never-occurs"},
    {"0000/00/32 x\r\n", "1:never-occurs"},
    {"-001/04/01 x\r\n", "1:never-occurs"},
    {"2026/-1/01 x\r\n", "1:never-occurs"},
    // Lines that show nothing.
    {"2026/12/24\r\n", "1:no-text"},
    {"2026/1/5\r\n", "1:no-text"},
    {"x\r\n", "1:no-text"},
    {"2026/12/24 \t \r\n", "1:no-text"},
    // Lines cut before their end.
    {"0000/00/00 " + std::string(1100, 'x') + "\r\n" + std::string(1023, 'x') + "; a comment\r\n",
     "1:long-line 2:long-line"},
    {Bytes("2026/12/24 a\0b\r\n"), "1:nul"},
    {"2026/12/24 a\rb\r\n", "1:lone-cr"},
    {"2026/12/24 a\x1A\r\n2026/12/25 b\r\n", "1:ctrl-z"},
    {"2026/1/5 trap ended by a\x1A\r\n2026/12/25 b\r\n", "1:ctrl-z"},
    {"2026/12/24 a\r\n\x1A"
     "2026/12/25 b\r\n",
     "2:ctrl-z"},
    // One finding for each line that has one, on its own line.
    {"; traps\r\n2026/1/15 x\r\n2026/12/24 fine\r\n0000/02/30 y\r\n",
     "2:date-field 4:never-occurs"},
};

TEST(CheckAgendaFile, LineTable) {
  for (const CheckCase& c : kLineCases) {
    EXPECT_EQ(c.expected, FindingsFor(c.file)) << "file \"" << Escaped(c.file) << "\"";
  }
}

// Files not in Shift-JIS: one finding for the file, none for its lines.
const CheckCase kEncodingCases[] = {
    // 毎日の予定, 会議
    {"0000/00/00 \xE6\xAF\x8E\xE6\x97\xA5\xE3\x81\xAE\xE4\xBA\x88\xE5\xAE\x9A\n"
     "2026/12/24 \xE4\xBC\x9A\xE8\xAD\xB0\n",
     "1:utf8"},
    {"0000/00/00 \xE2\x86\x92 an arrow\n", "1:utf8"},  // →
    // あい, whose bytes read as Shift-JIS too, but as the unlikely 縺ゅ≧
    {"0000/00/00 \xE3\x81\x82\xE3\x81\x84\n", "1:utf8"},
    {"\xEF\xBB\xBF"
     "2026/12/24 x\r\n",
     "1:utf8-bom"},
    {Bytes("\xFF\xFE"
           "2\0000\0002\0006\0/\0001\0002\0/\0002\0004\0 \0x\0\r\0\n\0"),
     "1:utf16"},
    {Bytes("\xFE\xFF\0002\0000\0002\0006\0/\0001\0002\0/\0002\0004\0 \0x\0\r\0\n"), "1:utf16"},
    {Bytes("2\0000\0002\0006\0/\0001\0002\0/\0002\0004\0 \0x\0\r\0\n\0"), "1:utf16"},
    // Shift-JIS and ASCII: 毎日の予定, エイプリル・フール
    {"0000/00/00 \x96\x88\x93\xFA\x82\xCC\x97\x5C\x92\xE8\r\n"
     "1998/04/01 \x83\x47\x83\x43\x83\x76\x83\x8A\x83\x8B\x81\x45\x83\x74\x81\x5B\x83\x8B\r\n",
     "(none)"},
    {"0000/00/00 plain ASCII\r\n", "(none)"},
    // A calendar, which import makes an agenda file of: its lines are not read.
    {"BEGIN:VCALENDAR\r\nDTSTART:20261224\r\n2026/1/5 x\r\n", "1:icalendar"},
    {"\xEF\xBB\xBF"
     "begin:vcalendar\r\n",
     "1:icalendar"},
};

TEST(CheckAgendaFile, FileEncodings) {
  for (const CheckCase& c : kEncodingCases) {
    EXPECT_EQ(c.expected, FindingsFor(c.file)) << "file \"" << Escaped(c.file) << "\"";
  }
}

// The file of traps the tool's expected outputs are made from says, in a
// comment before each, what the checker finds there: one warning on each line
// after a "; expect:" comment, and none anywhere else.
TEST(CheckAgendaFile, TrapsAsTheyExpect) {
  const std::string path = std::string(VORLINDE_TOOL_TEST_DATA) + "/traps.vrn";
  std::vector<Finding> findings;
  ASSERT_TRUE(CheckAgendaFile(path, "traps.vrn", CheckOptions(), &findings));
  std::vector<size_t> expected, warned;
  AgendaLines lines(path.c_str());
  AgendaLine line;
  while (lines.Next(&line)) {
    if (line.Entry().rfind("; expect:", 0) == 0) expected.push_back(line.number + 1);
  }
  for (const Finding& finding : findings) warned.push_back(finding.line);
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(expected, warned);
}

}  // namespace
