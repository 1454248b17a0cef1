// The line matcher on arbitrary bytes. Input: three bytes for the date, then
// the line. The matcher must read nothing past the line's NUL, point into
// the line when it finds a text, and agree with the reference model; so must
// the matcher of pieces as the reader gives them (the same bytes up to the
// first LF, at most 1023).
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <optional>
#include <string>

#include "agenda/agenda.h"
#include "agenda/reader.h"
#include "fuzz/fuzz_support.h"
#include "testing/reference_model.h"

using fuzz_support::Fail;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const AgendaDate date = fuzz_support::DateFrom(data[0], data[1], data[2]);
  const std::string bytes(reinterpret_cast<const char*>(data) + 3, size - 3);

  // A heap copy of exactly the bytes and the NUL, so any read beyond is seen.
  char* line = static_cast<char*>(malloc(bytes.size() + 1));
  memcpy(line, bytes.data(), bytes.size());
  line[bytes.size()] = '\0';
  const char* text = MatchAgendaLine(date.year, date.month, date.day, line);

  const std::string untilNul(line);
  const std::optional<std::string> expected =
      reference::EntryText(untilNul, fuzz_support::ModelDate(date));
  if (text == nullptr) {
    if (expected) Fail("MatchAgendaLine found no text", *expected, "(none)");
  } else {
    if (text < line + 10 || text >= line + untilNul.size()) {
      Fail("text outside the line's text column", "a position in [10, length)",
           std::to_string(text - line));
    }
    if (!expected) Fail("MatchAgendaLine found a text", "(none)", text);
    if (*expected != text) Fail("entry text", *expected, text);
  }
  free(line);

  const size_t lf = bytes.find('\n');
  const size_t pieceLength =
      std::min<size_t>(lf == std::string::npos ? bytes.size() : lf + 1, kLineBufferSize - 1);
  char* piece = static_cast<char*>(malloc(pieceLength + 1));
  memcpy(piece, bytes.data(), pieceLength);
  piece[pieceLength] = '\0';
  const std::string whole(piece, pieceLength);
  const std::string cut = whole.substr(0, whole.find_first_of(std::string("\r\n\0", 3)));
  const std::optional<std::string> expectedFromPiece =
      reference::EntryText(cut, fuzz_support::ModelDate(date));
  size_t textLength = 0;
  const char* pieceText =
      MatchAgendaPiece(date.year, date.month, date.day, piece, pieceLength, &textLength);
  if (pieceText == nullptr) {
    if (expectedFromPiece) Fail("MatchAgendaPiece found no text", *expectedFromPiece, "(none)");
  } else {
    const std::string got(pieceText, textLength);
    if (!expectedFromPiece) Fail("MatchAgendaPiece found a text", "(none)", got);
    if (*expectedFromPiece != got) Fail("entry text of a piece", *expectedFromPiece, got);
    if (pieceText[textLength] != '\0') Fail("end of the cut line", "NUL", got);
  }
  free(piece);
  return 0;
}
