#include "tools/convert/convert.h"

Conversion ConvertToShiftJis(const std::string& bytes, bool substitute) {
  Conversion conversion{DetectEncoding(bytes), "", {}};
  const Encoding from = conversion.from;
  if (from == Encoding::kShiftJis || from == Encoding::kNotText) return conversion;
  const bool utf16 = from == Encoding::kUtf16LittleEndian || from == Encoding::kUtf16BigEndian;
  size_t at = ByteOrderMarkLength(bytes);
  size_t line = 1, column = 1;
  while (at < bytes.size()) {
    char32_t character = 0;
    const bool read = utf16 ? NextUtf16(bytes, from == Encoding::kUtf16BigEndian, &at, &character)
                            : NextUtf8(bytes, &at, &character);
    if (!read || character == 0) {
      // Damaged in the middle: not a text this tool can say it converted.
      return {Encoding::kNotText, "", {}};
    }
    if (!CharacterToShiftJis(character, &conversion.shiftJis)) {
      conversion.unconvertible.push_back({line, column, character});
      if (substitute) conversion.shiftJis += kGetaMark;
    }
    ++column;
    if (character == '\n') line += 1, column = 1;
  }
  return conversion;
}
