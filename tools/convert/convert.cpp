#include "tools/convert/convert.h"

#include "tools/checker/encoding.h"
#include "tools/terminal.h"

namespace {

const char kSubstitute[] = "\x81\xAC";  // 〓

// Characters that editors on other systems write where a Windows editor
// writes another: the Shift-JIS character that a user of either means.
struct Alias {
  char32_t character;
  const char* shiftJis;
};
const Alias kAliases[] = {
    {0x00A5, "\x5C"},      // YEN SIGN ¥, which 0x5C shows in Japanese fonts
    {0x203E, "\x7E"},      // OVERLINE ‾, likewise 0x7E
    {0x2014, "\x81\x5C"},  // EM DASH —
    {0x301C, "\x81\x60"},  // WAVE DASH 〜
    {0x2016, "\x81\x61"},  // DOUBLE VERTICAL LINE ‖
    {0x2212, "\x81\x7C"},  // MINUS SIGN −
    {0x00A2, "\x81\x91"},  // CENT SIGN ¢
    {0x00A3, "\x81\x92"},  // POUND SIGN £
    {0x00AC, "\x81\xCA"},  // NOT SIGN ¬
};

// Reads one UTF-16 character at `*at`; false at a lone surrogate or a cut
// unit.
bool NextUtf16(const std::string& bytes, bool bigEndian, size_t* at, char32_t* character) {
  const auto unit = [&](size_t i) -> char32_t {
    const unsigned char a = bytes[i], b = bytes[i + 1];
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  if (*at + 2 > bytes.size()) return false;
  const char32_t first = unit(*at);
  *at += 2;
  if (first < 0xD800 || first > 0xDFFF) {
    *character = first;
    return true;
  }
  if (first > 0xDBFF || *at + 2 > bytes.size()) return false;
  const char32_t second = unit(*at);
  if (second < 0xDC00 || second > 0xDFFF) return false;
  *at += 2;
  *character = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
  return true;
}

// Whether the bytes are a text the plug-in reads as it was meant: Shift-JIS
// characters whole, and no control byte other than tab, line breaks and
// Ctrl-Z.
bool IsShiftJisText(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = bytes[i];
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != 0x1A) return false;
    if (c == 0x80 || c == 0xA0 || c >= 0xFD) return false;
    if (IsLeadByte(c) && !(i + 1 < bytes.size() && IsTrailByte(bytes[i + 1]))) return false;
    i += CharacterLength(bytes, i);
  }
  return true;
}

SourceEncoding EncodingOf(const std::string& bytes) {
  switch (DetectEncoding(bytes)) {
    case FileEncoding::kUtf16: {
      if (bytes.compare(0, 2, "\xFF\xFE") == 0) return SourceEncoding::kUtf16LittleEndian;
      if (bytes.compare(0, 2, "\xFE\xFF") == 0) return SourceEncoding::kUtf16BigEndian;
      // Without a mark: ASCII characters put their NUL second in little-endian.
      size_t even = 0, odd = 0;
      for (size_t i = 0; i < bytes.size(); ++i) (i % 2 ? odd : even) += bytes[i] == '\0';
      return odd >= even ? SourceEncoding::kUtf16LittleEndian : SourceEncoding::kUtf16BigEndian;
    }
    case FileEncoding::kUtf8ByteOrderMark:
      return SourceEncoding::kUtf8ByteOrderMark;
    case FileEncoding::kUtf8:
      return SourceEncoding::kUtf8;
    case FileEncoding::kShiftJis:
      break;
  }
  return IsShiftJisText(bytes) ? SourceEncoding::kShiftJis : SourceEncoding::kNotText;
}

bool ShiftJisOf(char32_t character, std::string* out) {
  if (character < 0x80) {
    *out += static_cast<char>(character);
    return true;
  }
  for (const Alias& alias : kAliases) {
    if (alias.character == character) {
      *out += alias.shiftJis;
      return true;
    }
  }
  return CharacterToShiftJis(character, out);
}

}  // namespace

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

Conversion ConvertToShiftJis(const std::string& bytes, bool substitute) {
  Conversion conversion{EncodingOf(bytes), "", {}};
  const SourceEncoding from = conversion.from;
  if (from == SourceEncoding::kShiftJis || from == SourceEncoding::kNotText) return conversion;
  const bool utf16 =
      from == SourceEncoding::kUtf16LittleEndian || from == SourceEncoding::kUtf16BigEndian;
  size_t at = 0;
  if (from == SourceEncoding::kUtf8ByteOrderMark) at = 3;
  if (utf16 && (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)) {
    at = 2;
  }
  size_t line = 1, column = 1;
  while (at < bytes.size()) {
    char32_t character = 0;
    const bool read =
        utf16 ? NextUtf16(bytes, from == SourceEncoding::kUtf16BigEndian, &at, &character)
              : NextUtf8(bytes, &at, &character);
    if (!read || character == 0) {
      // Damaged in the middle: not a text this tool can say it converted.
      conversion.from = SourceEncoding::kNotText;
      conversion.shiftJis.clear();
      conversion.unconvertible.clear();
      return conversion;
    }
    if (!ShiftJisOf(character, &conversion.shiftJis)) {
      conversion.unconvertible.push_back({line, column, character});
      if (substitute) conversion.shiftJis += kSubstitute;
    }
    ++column;
    if (character == '\n') line += 1, column = 1;
  }
  return conversion;
}

std::string Utf8ToShiftJis(const std::string& utf8, bool* substituted) {
  std::string out;
  for (size_t at = 0; at < utf8.size();) {
    char32_t character = 0;
    const bool read = NextUtf8(utf8, &at, &character);
    if (!read) ++at;
    if (!read || !ShiftJisOf(character, &out)) {
      out += kSubstitute;
      *substituted = true;
    }
  }
  return out;
}
