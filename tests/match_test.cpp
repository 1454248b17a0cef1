// Which agenda lines apply to which dates, and where their text begins: one
// table for MatchAgendaLine and MatchAgendaPiece alike, each line also as a
// piece with the line ends the reader leaves in it.
// Not covered: how the reader cuts a file into pieces (reader_test.cpp).
#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "agenda/agenda.h"
#include "agenda/line.h"
#include "tests/test_support.h"

namespace {

using testing_support::Escaped;

struct MatchCase {
  const char* line;
  AgendaDate date;
  const char* expected;  // entry text, or nullptr for no match
};

const MatchCase kMatchCases[] = {
    {"1998/04/01 エイプリル・フール", {1998, 4, 1}, "エイプリル・フール"},
    {"1998/04/01 エイプリル・フール", {1998, 4, 2}, nullptr},
    {"1998/04/01 エイプリル・フール", {1999, 4, 1}, nullptr},
    {"1998/04/01 エイプリル・フール", {1998, 5, 1}, nullptr},
    {"0000/04/01 x", {2024, 4, 1}, "x"},
    {"0000/04/01 x", {1998, 4, 1}, "x"},
    {"0000/04/01 x", {2024, 4, 2}, nullptr},
    {"0000/00/15 x", {2001, 7, 15}, "x"},
    {"0000/00/15 x", {2001, 7, 14}, nullptr},
    {"0000/00/00 x", {1970, 1, 1}, "x"},
    {"0000/00/00 x", {2099, 12, 31}, "x"},
    {"1998-04-01 x", {1998, 4, 1}, "x"},
    {"1998-04-01 x", {1998, 4, 2}, nullptr},
    // Fixed columns: the month field is "4/", the day field " t".
    {"1998/4/1 text", {1998, 4, 17}, "ext"},
    {"1998/4/1 text", {1998, 5, 1}, nullptr},
    // No field holds a number, so every field matches.
    {"abcd/ef/gh text", {2005, 11, 30}, "text"},
    {"-001/04/01 x", {1998, 4, 1}, nullptr},
    {"-000/04/01 x", {1998, 4, 1}, "x"},
    {"+998/04/01 x", {998, 4, 1}, "x"},
    {"1998/04/01", {1998, 4, 1}, nullptr},
    {"1998/04/01X", {1998, 4, 1}, "X"},
    {"1998/04/01 ", {1998, 4, 1}, nullptr},
    {"1998/04/01 \t \t", {1998, 4, 1}, nullptr},
    {"1998/04/01\tx  ", {1998, 4, 1}, "x  "},
    {"1998/04/01 \t x y \t", {1998, 4, 1}, "x y \t"},
    // No range check: month 13 never matches.
    {"0000/13/00 x", {1998, 12, 1}, nullptr},
    {"0000/13/00 x", {1998, 13, 1}, "x"},
    // Leading white space inside a field is skipped; digits end at the field.
    {"  98/ 4/ 1 x", {98, 4, 1}, "x"},
    {"\t\v\f /\t4/ 1 x", {2000, 4, 1}, "x"},
    // "/0" holds no number: the fields after a misplaced byte match anything.
    {"19985/04/01 x", {1998, 7, 9}, "1 x"},
    {"1998/04/011x", {1998, 4, 1}, "1x"},
    {"12a4/04/01 x", {12, 4, 1}, "x"},
    {"1998/+4/-1 x", {1998, 4, 1}, nullptr},
    // Full-width digits hold no number, so the field matches anything; being
    // two bytes each, they also shift the columns after them.
    {"１９９８/04/01 x", {2020, 9, 9}, "4/01 x"},
    {"0000/０/01 x", {2020, 7, 1}, "x"},
    {"0000/０/01 x", {2020, 7, 2}, nullptr},
    // Shift-JIS text passes through whole.
    {"0000/00/00 予定表", {2000, 1, 1}, "予定表"},
    {"", {1998, 4, 1}, nullptr},
};

// What the reader may leave after a line in its piece: nothing, its LF, a
// CR LF read as LF, or a lone CR or a NUL that cuts the line early.
const std::string kLineEnds[] = {"", "\n", "\r", "\r more\n", std::string("\0 more", 6)};

TEST(MatchAgendaLine, TableForLinesAndPieces) {
  for (const MatchCase& c : kMatchCases) {
    const std::string want = c.expected != nullptr ? c.expected : "(none)";
    const std::string where = "line \"" + Escaped(c.line) + "\" on " + std::to_string(c.date.year) +
                              "-" + std::to_string(c.date.month) + "-" + std::to_string(c.date.day);
    const char* text = MatchAgendaLine(c.date.year, c.date.month, c.date.day, c.line);
    EXPECT_EQ(Escaped(want), Escaped(text != nullptr ? text : "(none)")) << where;
    for (const std::string& end : kLineEnds) {
      std::string piece = c.line + end;
      piece.resize(std::max(piece.size(), kAgendaTextColumn + 1));  // room the matcher may read
      size_t length = 0;
      text = MatchAgendaPiece(c.date.year, c.date.month, c.date.day, &piece[0],
                              strlen(c.line) + end.size(), &length);
      EXPECT_EQ(Escaped(want), Escaped(text != nullptr ? std::string(text, length) : "(none)"))
          << where << " as a piece ending in \"" << Escaped(end) << "\"";
    }
  }
}

TEST(MatchAgendaLine, TextPointsIntoTheLine) {
  const char line[] = "1998/04/01   x";
  EXPECT_EQ(line + 13, MatchAgendaLine(1998, 4, 1, line));
}

TEST(MatchAgendaLine, NullLineMatchesNothing) {
  EXPECT_EQ(nullptr, MatchAgendaLine(1998, 4, 1, nullptr));
}

}  // namespace
