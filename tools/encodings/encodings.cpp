#include "tools/encodings/encodings.h"

#include <stdio.h>

#include "tools/encodings/code_page.h"

const char kGetaMark[] = "\x81\xAC";

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// What a conversion writes for what it cannot read.
constexpr char32_t kReplacementCharacter = 0xFFFD;
const char kUtf16LittleEndianMark[] = "\xFF\xFE";
const char kUtf16BigEndianMark[] = "\xFE\xFF";

bool BeginsWith(const std::string& bytes, const char* prefix) {
  return bytes.rfind(prefix, 0) == 0;
}

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

bool HasNonAscii(const std::string& bytes) {
  for (unsigned char c : bytes) {
    if (c >= 0x80) return true;
  }
  return false;
}

// Whether `bytes` read as Shift-JIS give text a person could have written:
// every double-byte character whole, and symbols, kana and first-level kanji
// (lead bytes 0x81 to 0x9F) at least three times as many as half-width
// katakana and characters from lead byte 0xE0 on, which is what UTF-8's bytes
// turn into.
bool IsPlausibleShiftJis(const std::string& bytes) {
  size_t common = 0, rare = 0;
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = bytes[i];
    if (c < 0x80) {
      ++i;
    } else if (c >= 0xA1 && c <= 0xDF) {
      ++rare;
      ++i;
    } else if (IsLeadByte(c) && i + 1 < bytes.size() && IsTrailByte(bytes[i + 1])) {
      ++(c < 0xA0 ? common : rare);
      i += 2;
    } else {
      return false;
    }
  }
  return common >= 3 * rare;
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

// A control character of `utf8` at `*at` as an escape, moving past it; empty
// for any other character.
std::string Escape(const std::string& utf8, size_t* at) {
  const unsigned char c = utf8[*at];
  const unsigned char next = *at + 1 < utf8.size() ? utf8[*at + 1] : 0;
  char escape[8] = "";
  if (c == '\n' || c == '\r' || c == '\t') {
    snprintf(escape, sizeof escape, "\\%c", c == '\n' ? 'n' : c == '\r' ? 'r' : 't');
  } else if (c < 0x20 || c == 0x7F) {
    snprintf(escape, sizeof escape, "\\x%02X", c);
  } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
    snprintf(escape, sizeof escape, "\\u%04X", next);
    ++*at;
  } else {
    return "";
  }
  ++*at;
  return escape;
}

}  // namespace

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

size_t CharacterLength(const std::string& shiftJis, size_t i) {
  return IsLeadByte(shiftJis[i]) && i + 1 < shiftJis.size() && IsTrailByte(shiftJis[i + 1]) ? 2 : 1;
}

bool NextUtf8(const std::string& bytes, size_t* at, char32_t* character) {
  const unsigned char c = bytes[*at];
  size_t n = 0;
  char32_t value = c;
  unsigned char low = 0x80, high = 0xBF;  // the range of the first continuation byte
  if (c < 0x80) {
    n = 0;
  } else if (c >= 0xC2 && c <= 0xDF) {
    n = 1, value = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 2, value = c & 0x0F;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 3, value = c & 0x07;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return false;
  }
  if (n > 0 && *at + n >= bytes.size()) return false;
  for (size_t k = 1; k <= n; ++k) {
    const unsigned char next = bytes[*at + k];
    if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    value = value << 6 | (next & 0x3F);
  }
  *at += n + 1;
  *character = value;
  return true;
}

bool NextUtf16(const std::string& bytes, bool bigEndian, size_t* at, char32_t* character) {
  const auto unit = [&](size_t i) -> char32_t {
    const unsigned char a = bytes[i], b = bytes[i + 1];
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  if (*at + 2 > bytes.size()) return false;
  const char32_t first = unit(*at);
  if (first >= 0xDC00 && first <= 0xDFFF) return false;
  if (first < 0xD800 || first > 0xDFFF) {
    *at += 2;
    *character = first;
    return true;
  }
  if (*at + 4 > bytes.size()) return false;
  const char32_t second = unit(*at + 2);
  if (second < 0xDC00 || second > 0xDFFF) return false;
  *at += 4;
  *character = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
  return true;
}

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

void AppendUtf16(char32_t character, std::u16string* utf16) {
  if (character < 0x10000) {
    utf16->push_back(static_cast<char16_t>(character));
    return;
  }
  utf16->push_back(static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10)));
  utf16->push_back(static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF)));
}

std::u16string Utf8ToUtf16(const std::string& utf8, bool* valid) {
  std::u16string utf16;
  bool whole = true;
  for (size_t at = 0; at < utf8.size();) {
    char32_t character = 0;
    if (!NextUtf8(utf8, &at, &character)) {
      ++at;
      character = kReplacementCharacter;
      whole = false;
    }
    AppendUtf16(character, &utf16);
  }
  if (valid != nullptr) *valid = whole;
  return utf16;
}

std::string Utf16ToUtf8(const std::u16string& utf16) {
  const auto isHigh = [](char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
  const auto isLow = [](char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
  std::string utf8;
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t character = utf16[i];
    if (isHigh(character) && i + 1 < utf16.size() && isLow(utf16[i + 1])) {
      character = 0x10000 + ((character - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (isHigh(character) || isLow(character)) {
      character = kReplacementCharacter;
    }
    utf8 += Utf8Of(character);
  }
  return utf8;
}

bool IsUtf8(const std::string& bytes) {
  char32_t character = 0;
  for (size_t at = 0; at < bytes.size();) {
    if (!NextUtf8(bytes, &at, &character)) return false;
  }
  return true;
}

Encoding DetectEncoding(const std::string& bytes) {
  if (BeginsWith(bytes, kUtf16LittleEndianMark)) return Encoding::kUtf16LittleEndian;
  if (BeginsWith(bytes, kUtf16BigEndianMark)) return Encoding::kUtf16BigEndian;
  size_t even = 0, odd = 0;  // NULs at even and odd offsets
  for (size_t i = 0; i < bytes.size(); ++i) (i % 2 ? odd : even) += bytes[i] == '\0';
  if (even + odd >= 4 && (even + odd) * 4 >= bytes.size()) {
    // Without a mark: ASCII characters put their NUL second in little-endian.
    return odd >= even ? Encoding::kUtf16LittleEndian : Encoding::kUtf16BigEndian;
  }
  if (BeginsWith(bytes, kUtf8Mark)) return Encoding::kUtf8ByteOrderMark;
  if (HasNonAscii(bytes) && IsUtf8(bytes) && !IsPlausibleShiftJis(bytes)) return Encoding::kUtf8;
  return IsShiftJisText(bytes) ? Encoding::kShiftJis : Encoding::kNotText;
}

const char* EncodingName(Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf8:
      return "UTF-8";
    case Encoding::kUtf8ByteOrderMark:
      return "UTF-8 (BOM)";
    case Encoding::kUtf16LittleEndian:
      return "UTF-16LE";
    case Encoding::kUtf16BigEndian:
      return "UTF-16BE";
    case Encoding::kShiftJis:
    case Encoding::kNotText:
      break;
  }
  return "Shift-JIS";
}

size_t ByteOrderMarkLength(const std::string& bytes) {
  if (BeginsWith(bytes, kUtf8Mark)) return 3;
  return BeginsWith(bytes, kUtf16LittleEndianMark) || BeginsWith(bytes, kUtf16BigEndianMark) ? 2
                                                                                             : 0;
}

bool CharacterToShiftJis(char32_t character, std::string* out) {
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
  return CodePage932Of(character, out);
}

std::string Utf8ToShiftJis(const std::string& utf8, bool* substituted) {
  std::string out;
  for (size_t at = 0; at < utf8.size();) {
    char32_t character = 0;
    const bool read = NextUtf8(utf8, &at, &character);
    if (!read) ++at;
    if (!read || !CharacterToShiftJis(character, &out)) {
      out += kGetaMark;
      *substituted = true;
    }
  }
  return out;
}

std::string Quoted(const std::string& utf8, size_t characters) {
  std::string out;
  size_t at = 0;
  for (size_t count = 0; at < utf8.size() && count < characters; ++count) {
    const std::string escape = Escape(utf8, &at);
    if (!escape.empty()) {
      out += escape;
      continue;
    }
    size_t end = at + 1;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    out.append(utf8, at, end - at);
    at = end;
  }
  return at < utf8.size() ? out + "..." : out;
}
