// How an agenda file is cut into pieces: CR LF, lone CR, Ctrl-Z, NUL and the
// 1023-byte limit.
// Not covered: what a piece's line means (match_test.cpp).
#include "agenda/reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::Escaped;
using testing_support::ScratchDir;

std::vector<std::string> PiecesOf(const std::string& path) {
  std::vector<std::string> pieces;
  AgendaReader reader(path.c_str());
  char line[kLineBufferSize];
  size_t length = 0;
  while (reader.ReadPiece(line, &length)) {
    EXPECT_EQ('\0', line[length]) << "piece not ended by a NUL";
    pieces.emplace_back(line, length);
  }
  return pieces;
}

std::string Joined(const std::vector<std::string>& pieces) {
  std::string out;
  for (const std::string& piece : pieces) out += "[" + Escaped(piece) + "]";
  return out;
}

TEST(AgendaReader, Pieces) {
  const std::string a1023(1023, 'a');
  const std::string b1500(1500, 'b');
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> pieces;
  } cases[] = {
      {"empty file", "", {}},
      {"CR LF reads as LF", "x\r\ny\r\n", {"x\n", "y\n"}},
      {"last line without break", "x\ny", {"x\n", "y"}},
      {"lone CR stays", "a\rb\n", {"a\rb\n"}},
      {"CR CR LF keeps one CR", "a\r\r\nb", {"a\r\n", "b"}},
      {"CR at the end of the file stays", "a\r", {"a\r"}},
      {"Ctrl-Z ends the file",
       "a\nb\x1A"
       "c\nd\n",
       {"a\n", "b"}},
      {"Ctrl-Z first",
       "\x1A"
       "a\n",
       {}},
      {"CR before Ctrl-Z stays", "a\r\x1A\n", {"a\r"}},
      {"NUL is kept in the piece", std::string("a\0b\nc", 5), {std::string("a\0b\n", 4), "c"}},
      {"1023 bytes then LF", a1023 + "\n", {a1023, "\n"}},
      {"1022 bytes then LF", a1023.substr(1) + "\n", {a1023.substr(1) + "\n"}},
      {"1022 bytes then CR LF", a1023.substr(1) + "\r\n", {a1023.substr(1) + "\n"}},
      {"1500-byte line", b1500 + "\nz", {b1500.substr(0, 1023), b1500.substr(1023) + "\n", "z"}},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    const std::string path = dir.Write("case.vrn", c.bytes);
    EXPECT_EQ(Joined(c.pieces), Joined(PiecesOf(path))) << c.what;
  }
}

// A file of CR-ended lines has no LF: it comes in stretches of 1023 bytes.
TEST(AgendaReader, CrOnlyFileComesInStretches) {
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes += "0000/00/00 line\r";  // 16 bytes each
  ScratchDir dir;
  const std::vector<std::string> pieces = PiecesOf(dir.Write("cr.vrn", bytes));
  ASSERT_EQ(5u, pieces.size());
  for (size_t i = 0; i + 1 < pieces.size(); ++i) EXPECT_EQ(1023u, pieces[i].size());
  EXPECT_EQ(bytes.size() - 4 * 1023, pieces.back().size());
  EXPECT_EQ(bytes.substr(1023, 1023), pieces[1]);
}

// CR LF pairs that straddle the reader's internal reads still read as LF,
// and lone CRs at those places stay.
TEST(AgendaReader, LineBreaksAcrossLargeFiles) {
  std::string bytes;
  std::string expected;
  for (int i = 0; i < 40000; ++i) {
    const std::string text = "0000/00/00 " + std::to_string(i) + (i % 7 == 0 ? "\r" : "");
    bytes += text + "\r\n";
    expected += text + "\n";
  }
  ScratchDir dir;
  std::string got;
  for (const std::string& piece : PiecesOf(dir.Write("big.vrn", bytes))) got += piece;
  EXPECT_TRUE(expected == got) << testing_support::FirstDifference(expected, got);
}

TEST(AgendaReader, RefusesWhatIsNotARegularFile) {
  ScratchDir dir;
  EXPECT_FALSE(AgendaReader(dir.path().c_str()).IsOpen()) << "a directory";
  EXPECT_FALSE(AgendaReader((dir.path() + "/missing.vrn").c_str()).IsOpen()) << "a missing file";
  EXPECT_TRUE(AgendaReader(dir.Write("x.vrn", "x").c_str()).IsOpen()) << "a regular file";
}

}  // namespace
