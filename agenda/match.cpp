#include <string.h>

#include "agenda/agenda.h"
#include "agenda/line.h"

namespace {

constexpr size_t kTextColumn = kAgendaTextColumn;

bool IsFieldSpace(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

// A field's decimal value from the field's own bytes of `line` alone: leading white space, an
// optional sign, then digits up to the first other byte; no digits gives 0,
// which matches any value.
int32_t FieldValue(const char* line, AgendaField field) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(line + field.column);
  const size_t width = field.width;
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

int32_t YearOf(const char* line) { return FieldValue(line, kAgendaYearField); }
int32_t MonthOf(const char* line) { return FieldValue(line, kAgendaMonthField); }
int32_t DayOf(const char* line) { return FieldValue(line, kAgendaDayField); }

bool FieldMatches(int32_t value, int32_t wanted) { return value == 0 || value == wanted; }

// Whether the date fields of `line`, each as ReadAgendaLine reads it, apply
// to the date; a field is read only when the ones before it apply.
bool FieldsApply(int32_t year, int32_t month, int32_t day, const char* line) {
  return FieldMatches(YearOf(line), year) && FieldMatches(MonthOf(line), month) &&
         FieldMatches(DayOf(line), day);
}

// Where the text of a line of `length` bytes (more than 10) begins: column 10
// and any tabs and spaces after it passed over.
size_t TextBegin(const char* line, size_t length) {
  size_t text = kTextColumn;
  while (text < length && (line[text] == '\t' || line[text] == ' ')) ++text;
  return text;
}

}  // namespace

bool ReadAgendaLine(const char* line, size_t length, AgendaLineReading* reading) {
  if (length <= kTextColumn) return false;
  *reading = {YearOf(line), MonthOf(line), DayOf(line), TextBegin(line, length), length};
  return true;
}

const char* MatchAgendaLine(int32_t year, int32_t month, int32_t day, const char* line) {
  AgendaLineReading reading;
  if (line == nullptr || !ReadAgendaLine(line, strlen(line), &reading)) return nullptr;
  if (!FieldMatches(reading.year, year) || !FieldMatches(reading.month, month) ||
      !FieldMatches(reading.day, day) || reading.textBegin == reading.textEnd) {
    return nullptr;
  }
  return line + reading.textBegin;
}

const char* MatchAgendaPiece(int32_t year, int32_t month, int32_t day, char* piece, size_t length,
                             size_t* textLength) {
  // The line must reach past the text column before its end.
  for (size_t i = 0; i <= kTextColumn; ++i) {
    if (piece[i] == '\0' || piece[i] == '\r' || piece[i] == '\n') return nullptr;
  }
  // The line is read as ReadAgendaLine reads it, in an order that rules most
  // lines out early: the date fields lie before the line's end, so each is
  // read and compared before the end is looked for, and the text last.
  if (!FieldsApply(year, month, day, piece)) return nullptr;
  // The line's end: its first NUL (the piece's own NUL at the latest), an LF
  // (only ever the piece's last byte) or a CR, whichever comes first.
  size_t end = kTextColumn + 1 + strlen(piece + kTextColumn + 1);
  if (end == length && piece[end - 1] == '\n') --end;
  if (const void* cr = memchr(piece + kTextColumn + 1, '\r', end - kTextColumn - 1)) {
    end = static_cast<size_t>(static_cast<const char*>(cr) - piece);
  }
  piece[end] = '\0';
  const size_t text = TextBegin(piece, end);
  if (text == end) return nullptr;
  *textLength = end - text;
  return piece + text;
}
