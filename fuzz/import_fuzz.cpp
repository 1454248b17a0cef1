// The calendar bridge's import on arbitrary bytes, as a calendar fetched from
// the web may be: libical and our reading around it must neither crash nor
// run away, and every line import writes must be one the plug-in reads as
// meant: a date in the fixed columns, a text, no byte that would cut the
// line or end the file, and no longer than the plug-in reads whole.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "tools/icalendar/ical_import.h"
#include "tools/agenda_lines/agenda_lines.h"

using fuzz_support::Fail;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<CalendarText> calendars = {
      {"fuzz.ics", std::string(reinterpret_cast<const char*>(data), size)}};
  const ImportOptions options = {{2027, 1, 1}, {2027, 12, 31}, "Asia/Tokyo"};
  std::string agenda;
  std::vector<CalendarMessage> messages;
  if (!ImportCalendars(calendars, options, &agenda, &messages)) {
    if (messages.empty()) Fail("a calendar refused without a word", "an error", "none");
    return 0;
  }
  for (size_t at = 0; at < agenda.size();) {
    const size_t end = agenda.find("\r\n", at);
    if (end == std::string::npos) Fail("the agenda does not end in CR LF", "CR LF", agenda);
    const std::string line = agenda.substr(at, end - at);
    const bool dated = line.size() > 11 && IsDigit(line[0]) && IsDigit(line[3]) && line[4] == '/' &&
                       IsDigit(line[5]) && IsDigit(line[6]) && line[7] == '/' && IsDigit(line[8]) &&
                       IsDigit(line[9]) && line[10] == ' ' && line[11] != ' ';
    if (!dated) Fail("a line that is no dated entry", "YYYY/MM/DD TEXT", line);
    if (line.size() > kLongestAgendaLine) {
      Fail("a line longer than the plug-in reads whole", "at most 1023 bytes", line);
    }
    for (unsigned char c : line) {
      if (c < 0x20 || c == 0x7F) Fail("a control byte in a line", "none", line);
    }
    at = end + 2;
  }
  return 0;
}
