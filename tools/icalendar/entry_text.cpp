#include "tools/icalendar/entry_text.h"

#include "tools/encodings/encodings.h"

std::string EntryText(const std::string& summary, size_t room, bool* substituted, bool* shortened) {
  std::string plain;
  for (size_t i = 0; i < summary.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(summary[i]);
    if (c == '\r' && i + 1 < summary.size() && summary[i + 1] == '\n') continue;
    // A NUL, CR or LF would cut the line, a Ctrl-Z the file.
    plain += c < 0x20 || c == 0x7F ? ' ' : summary[i];
  }
  plain.erase(0, plain.find_first_not_of(' '));
  if (plain.empty()) plain = "（無題）";
  std::string text = Utf8ToShiftJis(plain, substituted);
  if (text.size() > room) {
    size_t end = 0;
    while (end < text.size()) {
      const size_t next = end + CharacterLength(text, end);
      if (next > room) break;
      end = next;
    }
    text.resize(end);
    *shortened = true;
  }
  return text;
}
