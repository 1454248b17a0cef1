#include "tools/checker/encoding.h"

#include <stdio.h>

namespace {

bool IsUtf8WithNonAscii(const std::string& bytes) {
  bool nonAscii = false;
  for (size_t i = 0; i < bytes.size();) {
    nonAscii = nonAscii || static_cast<unsigned char>(bytes[i]) >= 0x80;
    char32_t character = 0;
    if (!NextUtf8(bytes, &i, &character)) return false;
  }
  return nonAscii;
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

}  // namespace

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

std::string Escaped(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = utf8[i];
    const unsigned char next = i + 1 < utf8.size() ? utf8[i + 1] : 0;
    char escape[8] = "";
    if (c == '\n' || c == '\r' || c == '\t') {
      snprintf(escape, sizeof escape, "\\%c", c == '\n' ? 'n' : c == '\r' ? 'r' : 't');
    } else if (c < 0x20 || c == 0x7F) {
      snprintf(escape, sizeof escape, "\\x%02X", c);
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
      snprintf(escape, sizeof escape, "\\u%04X", next);
      ++i;
    }
    out += escape[0] != '\0' ? escape : std::string(1, static_cast<char>(c));
  }
  return out;
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

size_t CharacterLength(const std::string& s, size_t i) {
  return IsLeadByte(s[i]) && i + 1 < s.size() && IsTrailByte(s[i + 1]) ? 2 : 1;
}

FileEncoding DetectEncoding(const std::string& bytes) {
  size_t nuls = 0;
  for (char c : bytes) nuls += c == '\0';
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 ||
      (nuls >= 4 && nuls * 4 >= bytes.size())) {
    return FileEncoding::kUtf16;
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return FileEncoding::kUtf8ByteOrderMark;
  if (IsUtf8WithNonAscii(bytes) && !IsPlausibleShiftJis(bytes)) return FileEncoding::kUtf8;
  return FileEncoding::kShiftJis;
}
