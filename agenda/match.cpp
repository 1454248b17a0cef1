#include <string.h>

#include "agenda/agenda.h"

namespace {

// Column layout of an entry line: "yyyy/mm/dd text".
constexpr size_t kYearColumn = 0, kYearWidth = 4;
constexpr size_t kMonthColumn = 5, kMonthWidth = 2;
constexpr size_t kDayColumn = 8, kDayWidth = 2;
constexpr size_t kTextColumn = 10;

bool IsFieldSpace(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

// A field's decimal value from its own bytes alone: leading white space, an
// optional sign, then digits up to the first other byte; no digits gives 0,
// which matches any value.
int32_t FieldValue(const char* field, size_t width) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(field);
  size_t i = 0;
  while (i < width && IsFieldSpace(p[i])) ++i;
  bool negative = false;
  if (i < width && (p[i] == '+' || p[i] == '-')) {
    negative = p[i] == '-';
    ++i;
  }
  int32_t value = 0;
  for (; i < width && p[i] >= '0' && p[i] <= '9'; ++i) value = value * 10 + (p[i] - '0');
  return negative ? -value : value;
}

bool FieldMatches(const char* line, size_t column, size_t width, int32_t wanted) {
  const int32_t value = FieldValue(line + column, width);
  return value == 0 || value == wanted;
}

bool DateFieldsApply(int32_t year, int32_t month, int32_t day, const char* line) {
  return FieldMatches(line, kYearColumn, kYearWidth, year) &&
         FieldMatches(line, kMonthColumn, kMonthWidth, month) &&
         FieldMatches(line, kDayColumn, kDayWidth, day);
}

}  // namespace

const char* MatchAgendaLine(int32_t year, int32_t month, int32_t day, const char* line) {
  // Shorter than the text column plus one byte: no text to show.
  if (line == nullptr || strnlen(line, kTextColumn + 1) <= kTextColumn) return nullptr;
  if (!DateFieldsApply(year, month, day, line)) return nullptr;
  const char* text = line + kTextColumn;
  while (*text == '\t' || *text == ' ') ++text;
  return *text != '\0' ? text : nullptr;
}

const char* MatchAgendaPiece(int32_t year, int32_t month, int32_t day, char* piece, size_t length,
                             size_t* textLength) {
  // The line must reach past the text column before its end.
  for (size_t i = 0; i <= kTextColumn; ++i) {
    if (piece[i] == '\0' || piece[i] == '\r' || piece[i] == '\n') return nullptr;
  }
  if (!DateFieldsApply(year, month, day, piece)) return nullptr;
  // The line's end: its first NUL (the piece's own NUL at the latest), an LF
  // (only ever the piece's last byte) or a CR, whichever comes first.
  size_t end = kTextColumn + 1 + strlen(piece + kTextColumn + 1);
  if (end == length && piece[end - 1] == '\n') --end;
  if (const void* cr = memchr(piece + kTextColumn + 1, '\r', end - kTextColumn - 1)) {
    end = static_cast<size_t>(static_cast<const char*>(cr) - piece);
  }
  piece[end] = '\0';
  size_t text = kTextColumn;
  while (text < end && (piece[text] == '\t' || piece[text] == ' ')) ++text;
  if (text == end) return nullptr;
  *textLength = end - text;
  return piece + text;
}
