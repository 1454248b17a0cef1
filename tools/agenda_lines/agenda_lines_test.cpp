// How the tools go from the reader's pieces to an agenda file's lines: which
// pieces make a line, how lines are numbered, and the entry a line gives.
// Not covered: how a file is cut into pieces (reader_test.cpp).
#include "tools/agenda_lines/agenda_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

using testing_support::Escaped;
using testing_support::ScratchDir;

// Each line as "NUMBER:PIECE-LENGTHS>ENTRY-LENGTH", e.g. "1:1023,0>1023".
std::string LinesOf(const std::string& bytes) {
  ScratchDir dir;
  AgendaLines lines(dir.Write("agenda.vrn", bytes).c_str());
  std::string out;
  AgendaLine line;
  while (lines.Next(&line)) {
    if (!out.empty()) out += " ";
    out += std::to_string(line.number) + ":";
    for (size_t i = 0; i < line.pieces.size(); ++i) {
      out += (i > 0 ? "," : "") + std::to_string(line.pieces[i].bytes.size());
    }
    out += ">" + std::to_string(line.Entry().size());
  }
  return out.empty() ? "(none)" : out;
}

TEST(AgendaLines, PiecesMakeLines) {
  const struct {
    std::string bytes;
    const char* lines;
  } cases[] = {
      {"", "(none)"},
      {"2026/12/24 a\r\n; b\r\n", "1:12>12 2:3>3"},
      {"2026/12/24 a", "1:12>12"},  // the last line without a break
      {"\r\n\r\n", "1:0>0 2:0>0"},
      // 1023 bytes and its LF: one line, whose LF comes as a piece of its own.
      {std::string(1023, 'x') + "\n", "1:1023,0>1023"},
      {std::string(1500, 'x') + "\r\ny\n", "1:1023,477>1023 2:1>1"},
      // The entry is cut at a CR, LF or NUL; a lone CR does not end the line.
      {"2026/12/24 a\rb\n", "1:14>12"},
      {std::string("2026/12/24 a\0b\n", 15), "1:14>12"},
      {"2026/12/24 a\x1A"
       "b\r\nc\r\n",
       "1:12>12"},  // a Ctrl-Z ends the file
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.lines, LinesOf(c.bytes)) << "file \"" << Escaped(c.bytes) << "\"";
  }
}

}  // namespace
