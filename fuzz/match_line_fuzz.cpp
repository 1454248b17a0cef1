// The line matcher on arbitrary bytes. Input: three bytes for the date, then
// the line. The matcher must read nothing past the line's NUL, point into
// the line when it finds a text, and agree with the reference model.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <optional>
#include <string>

#include "agenda/agenda.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reference_model.h"

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
  return 0;
}
