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

}  // namespace

const char* MatchAgendaLine(int32_t year, int32_t month, int32_t day, const char* line) {
  // Shorter than the text column plus one byte: no text to show.
  if (line == nullptr || strnlen(line, kTextColumn + 1) <= kTextColumn) return nullptr;
  if (!FieldMatches(line, kYearColumn, kYearWidth, year) ||
      !FieldMatches(line, kMonthColumn, kMonthWidth, month) ||
      !FieldMatches(line, kDayColumn, kDayWidth, day)) {
    return nullptr;
  }
  const char* text = line + kTextColumn;
  while (*text == '\t' || *text == ' ') ++text;
  return *text != '\0' ? text : nullptr;
}
