// The agenda checker: which lines it reports, as what kind of finding, and
// the arguments each kind is worded with. Shift-JIS and UTF-8 bytes are
// written as escapes, the characters in a comment.
// Not covered: the wording itself and the tool's output (tests/tool/).
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

// Each kind's name, and the name of its group, which the tables of which
// lines are reported use.
struct KindName {
  FindingKind kind;
  const char* name;
  const char* group;
};
const KindName kKindNames[] = {
    {FindingKind::kICalendar, "icalendar", "icalendar"},
    {FindingKind::kUtf16, "utf16", "utf16"},
    {FindingKind::kUtf8ByteOrderMark, "utf8-bom", "utf8-bom"},
    {FindingKind::kUtf8, "utf8", "utf8"},
    {FindingKind::kCtrlZ, "ctrl-z", "ctrl-z"},
    {FindingKind::kLongLine, "long-line", "long-line"},
    {FindingKind::kNul, "nul", "nul"},
    {FindingKind::kLoneCr, "lone-cr", "lone-cr"},
    {FindingKind::kShortLine, "short-line", "no-text"},
    {FindingKind::kNothingToShow, "nothing-to-show", "no-text"},
    {FindingKind::kNegativeField, "negative-field", "never-occurs"},
    {FindingKind::kNoSuchMonth, "no-such-month", "never-occurs"},
    {FindingKind::kNoSuchDay, "no-such-day", "never-occurs"},
    {FindingKind::kNotALeapYear, "not-a-leap-year", "never-occurs"},
    {FindingKind::kMonthHasNoDay, "month-has-no-day", "never-occurs"},
    {FindingKind::kDoubleByteDate, "double-byte-date", "double-byte-date"},
    {FindingKind::kTextSplitsCharacter, "text-splits-character", "text-splits-character"},
    {FindingKind::kNotAComment, "not-a-comment", "date-field"},
    {FindingKind::kIndented, "indented", "date-field"},
    {FindingKind::kDateField, "date-field", "date-field"},
    {FindingKind::kReading, "reading", "reading"},
};

const KindName& NameOf(FindingKind kind) {
  for (const KindName& name : kKindNames) {
    if (name.kind == kind) return name;
  }
  static const KindName unknown = {kind, "?", "?"};
  return unknown;
}

// The findings for a file of `bytes`, each told by `tell` and put after
// `separator`, or "(none)".
template <typename Tell>
std::string FindingsFor(const std::string& bytes, const CheckOptions& options,
                        const std::string& separator, Tell tell) {
  ScratchDir dir;
  std::vector<Finding> findings;
  if (!CheckAgendaFile(dir.Write("agenda.vrn", bytes), options, &findings)) return "(unreadable)";
  std::string out;
  for (const Finding& finding : findings) out += (out.empty() ? "" : separator) + tell(finding);
  return out.empty() ? "(none)" : out;
}

// The findings for a file of `bytes`, as "line:group" each.
std::string FindingsFor(const std::string& bytes) {
  return FindingsFor(bytes, CheckOptions(), " ", [](const Finding& finding) {
    return std::to_string(finding.line) + ":" + NameOf(finding.kind).group;
  });
}

struct CheckCase {
  std::string file;      // a line with its CR LF, or a few lines
  const char* expected;  // "line:group", or "(none)"
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

// How a line or a piece of one is read: "comment", "empty", "short", or its
// date fields and "nothing" or the text it shows.
std::string ReadingText(const LineReading& r) {
  if (r.kind == LineReading::kComment) return "comment";
  if (r.kind == LineReading::kEmpty) return "empty";
  if (r.kind == LineReading::kShort) return "short";
  const std::string date =
      std::to_string(r.year) + "/" + std::to_string(r.month) + "/" + std::to_string(r.day);
  return date + (r.kind == LineReading::kShows ? " \"" + Escaped(r.text) + "\"" : " nothing");
}

// A finding with the arguments its kind is worded with.
std::string Told(const Finding& f) {
  const char* const fields[] = {"year", "month", "day"};
  std::string out =
      std::to_string(f.line) + ":" + std::to_string(f.column) + " " + NameOf(f.kind).name;
  if (f.kind == FindingKind::kNegativeField) {
    out += std::string(" field=") + fields[static_cast<int>(f.field)];
  }
  if (f.reading.kind != LineReading::kEmpty) out += " read=" + ReadingText(f.reading);
  if (!f.unread.empty()) out += " unread=\"" + Escaped(f.unread) + "\"";
  if (f.length > 0) out += " length=" + std::to_string(f.length);
  for (const LinePiece& piece : f.pieces) {
    out += " piece=" + std::to_string(piece.column) + ":" + ReadingText(piece.reading);
  }
  if (f.morePieces > 0) out += " more=" + std::to_string(f.morePieces);
  if (!f.bytes.empty()) out += " line=\"" + Escaped(f.bytes) + "\"";
  return out;
}

struct ToldCase {
  bool readings;
  std::string file;
  std::string expected;  // "line:column kind arguments", " | " between findings
};

// A row for each kind that has arguments: the program words the finding from
// them alone.
const ToldCase kToldCases[] = {
    {false, "2026/12/24 a\x1A\r\n2026/12/25 b\r\n", "1:13 ctrl-z unread=\"2026/12/25 b\""},
    // Pieces of 1023 bytes: a comment, the date alone, one cut by its NUL;
    // two more are only counted. The length counts neither CR nor LF.
    {false,
     "0000/00/00 " + std::string(1012, 'a') + ";" + std::string(1022, 'b') + "0000/00/00" +
         std::string(1013, ' ') + std::string(1, '\0') + std::string(1022, 'd') +
         std::string(1023, 'e') + "2026/12/24 f\r\n",
     "1:1024 long-line length=5127 piece=1024:comment piece=2047:0/0/0 nothing piece=3070:empty "
     "more=2"},
    {false, Bytes("2026/12/24 \x01\0b\r\n"), "1:13 nul unread=\"b\" line=\"2026/12/24 \\x01\""},
    {false, "2026/12/24 a\rb\r\n", "1:13 lone-cr unread=\"b\" line=\"2026/12/24 a\""},
    {false, "x\r\n", "1:0 short-line line=\"x\""},
    {false, "2026/12/24 \t \r\n", "1:0 nothing-to-show line=\"2026/12/24 \\x09 \""},
    {false, "2026/-1/01 x\r\n",
     "1:6 negative-field field=month read=2026/-1/1 \"x\" line=\"2026/-1/01 x\""},
    {false, "2026/13/01 x\r\n", "1:6 no-such-month read=2026/13/1 \"x\" line=\"2026/13/01 x\""},
    {false, "0000/00/32 x\r\n", "1:9 no-such-day read=0/0/32 \"x\" line=\"0000/00/32 x\""},
    {false, "2026/02/29 x\r\n", "1:9 not-a-leap-year read=2026/2/29 \"x\" line=\"2026/02/29 x\""},
    {false, "0000/04/31 x\r\n", "1:9 month-has-no-day read=0/4/31 \"x\" line=\"0000/04/31 x\""},
    {false, "0000/\x82\x4F/01 x\r\n",  // ０
     "1:6 double-byte-date read=0/0/1 \"x\" line=\"0000/\\x82O/01 x\""},
    {false, "2026/12/1\x82\xA0\x97\x5C\r\n",  // あ予
     "1:11 text-splits-character read=2026/12/1 \"\\xA0\\x97\\x5C\" "
     "line=\"2026/12/1\\x82\\xA0\\x97\\x5C\""},
    {false, " ; not a comment\r\n",
     "1:1 not-a-comment read=0/0/0 \"omment\" line=\" ; not a comment\""},
    {false, "  2026/01/05 indented\r\n",
     "1:1 indented read=20/6/1 \"05 indented\" line=\"  2026/01/05 indented\""},
    // The day field " t" reads as every day, the text from its column.
    {false, "1998/4/1 text\r\n", "1:6 date-field read=1998/4/0 \"ext\" line=\"1998/4/1 text\""},
    {true, "2026/12/24 x\r\n; c\r\n2026/1/5\r\n0000/02/00 \t\r\n",
     "1:1 reading read=2026/12/24 \"x\" | 3:1 reading read=short | 3:0 short-line "
     "line=\"2026/1/5\" | 4:1 reading read=0/2/0 nothing | 4:0 nothing-to-show line=\"0000/02/00 "
     "\\x09\""},
};

TEST(CheckAgendaFile, ArgumentsOfEachKind) {
  for (const ToldCase& c : kToldCases) {
    CheckOptions options;
    options.readings = c.readings;
    EXPECT_EQ(c.expected, FindingsFor(c.file, options, " | ", Told))
        << "file \"" << Escaped(c.file) << "\"";
  }
}

// The file of traps the tool's expected outputs are made from says, in a
// comment before each, what the checker finds there: one warning on each line
// after a "; expect:" comment, and none anywhere else.
TEST(CheckAgendaFile, TrapsAsTheyExpect) {
  const std::string path = std::string(VORLINDE_TOOL_TEST_DATA) + "/traps.vrn";
  std::vector<Finding> findings;
  ASSERT_TRUE(CheckAgendaFile(path, CheckOptions(), &findings));
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
