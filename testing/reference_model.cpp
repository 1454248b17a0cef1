#include "testing/reference_model.h"

#include <stdio.h>

namespace reference {

const char kHeadingSuffix[] = "\x82\xCC\x97\x5C\x92\xE8";
const char kNoneText[] = "\x82\xC8\x82\xB5";
const char kErrorText[] =
    "\x83\x66\x81\x5B\x83\x5E\x83\x74\x83\x40\x83\x43\x83\x8B\x93\xC7\x82\xDD\x8D\x9E\x82\xDD"
    "\x83\x47\x83\x89\x81\x5B";

std::vector<std::string> Pieces(const std::string& fileBytes) {
  // Ctrl-Z ends the file; the bytes before it still count.
  const std::string untilCtrlZ = fileBytes.substr(0, fileBytes.find('\x1A'));

  // A CR directly followed by an LF is dropped; any other CR stays.
  std::string text;
  for (size_t i = 0; i < untilCtrlZ.size(); ++i) {
    const bool crBeforeLf =
        untilCtrlZ[i] == '\r' && i + 1 < untilCtrlZ.size() && untilCtrlZ[i + 1] == '\n';
    if (!crBeforeLf) text += untilCtrlZ[i];
  }

  // At most 1023 bytes a piece, ending after the first LF.
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && end - start < 1023) {
      ++end;
      if (text[end - 1] == '\n') break;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end;
  }
  return pieces;
}

namespace {

// A date field's value: white space, a sign, then digits, from the field's
// own bytes only; no digits is 0.
int FieldValue(const std::string& line, size_t column, size_t width) {
  const std::string field = line.substr(column, width);
  size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r'))) ++i;
  int sign = 1;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    if (field[i] == '-') sign = -1;
    ++i;
  }
  int value = 0;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9')
    value = value * 10 + (field[i++] - '0');
  return sign * value;
}

bool Applies(int field, int wanted) { return field == 0 || field == wanted; }

}  // namespace

std::optional<std::string> EntryText(const std::string& line, Date date) {
  if (line.size() < 11) return std::nullopt;
  if (!Applies(FieldValue(line, 0, 4), date.year) || !Applies(FieldValue(line, 5, 2), date.month) ||
      !Applies(FieldValue(line, 8, 2), date.day)) {
    return std::nullopt;
  }
  size_t text = 10;
  while (text < line.size() && (line[text] == ' ' || line[text] == '\t')) ++text;
  if (text == line.size()) return std::nullopt;
  return line.substr(text);
}

std::vector<std::string> FileNames(const std::string& list) {
  const std::string untilNul = list.substr(0, list.find('\0'));
  std::vector<std::string> names;
  size_t i = 0;
  for (;;) {
    while (i < untilNul.size() &&
           (untilNul[i] == '\r' || untilNul[i] == '\n' || untilNul[i] == '\t')) {
      ++i;
    }
    std::string name;
    while (i < untilNul.size() && untilNul[i] != '\r' && untilNul[i] != '\n') name += untilNul[i++];
    if (name.empty()) return names;
    if (name.size() < 260) names.push_back(name);
  }
}

std::string Heading(Date date) {
  char digits[64];
  snprintf(digits, sizeof digits, "%04d/%02d/%02d", date.year, date.month, date.day);
  return digits + std::string(kHeadingSuffix);
}

std::string Memo(const std::string& list, Date date, const FileSource& files) {
  if (list.empty() || list[0] == '\0') return kErrorText;
  std::string memo = Heading(date);
  int found = 0;
  for (const std::string& name : FileNames(list)) {
    std::string bytes;
    if (!files(name, &bytes)) continue;
    for (const std::string& piece : Pieces(bytes)) {
      if (piece[0] == ';') continue;
      const std::string line = piece.substr(0, piece.find_first_of(std::string("\r\n\0", 3)));
      if (line.empty()) continue;
      if (const std::optional<std::string> text = EntryText(line, date)) {
        memo += "\r\n" + *text;
        ++found;
      }
    }
  }
  if (found == 0) memo += "\r\n" + std::string(kNoneText);
  return memo;
}

}  // namespace reference
