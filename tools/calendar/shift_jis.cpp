#include "tools/calendar/shift_jis.h"

namespace {

// The geta mark 〓 in Shift-JIS.
const char kGeta[] = "\x81\xac";

// Reads one UTF-8 character at `*at`, advancing past it. False, advancing by
// one byte, for a byte that does not begin a well-formed character.
bool NextCodePoint(const std::string& text, size_t* at, uint32_t* codePoint) {
  const unsigned char lead = static_cast<unsigned char>(text[*at]);
  size_t length = lead < 0x80           ? 1
                  : (lead >> 5) == 0x6  ? 2
                  : (lead >> 4) == 0xE  ? 3
                  : (lead >> 3) == 0x1E ? 4
                                        : 0;
  if (length == 0 || *at + length > text.size()) {
    ++*at;
    return false;
  }
  uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[*at + i]);
    if ((next & 0xC0) != 0x80) {
      ++*at;
      return false;
    }
    value = (value << 6) | (next & 0x3F);
  }
  static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++*at;
    return false;
  }
  *at += length;
  *codePoint = value;
  return true;
}

}  // namespace

std::string Utf8ToShiftJis(const std::string& utf8, bool* substituted) {
  std::string out;
  size_t at = 0;
  while (at < utf8.size()) {
    uint32_t codePoint = 0;
    if (!NextCodePoint(utf8, &at, &codePoint) || !AppendShiftJisCharacter(codePoint, &out)) {
      out += kGeta;
      if (substituted != nullptr) *substituted = true;
    }
  }
  return out;
}
