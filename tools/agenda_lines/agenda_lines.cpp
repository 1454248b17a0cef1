#include "tools/agenda_lines/agenda_lines.h"

std::string AgendaLine::Entry() const {
  const std::string& first = pieces.front().bytes;
  return first.substr(0, first.find_first_of(std::string("\r\n\0", 3)));
}

bool AgendaLines::Next(AgendaLine* line) {
  line->pieces.clear();
  line->number = ++number_;
  char piece[kLineBufferSize];
  size_t length = 0;
  size_t column = 0;
  while (reader_.ReadPiece(piece, &length)) {
    const bool endsLine = length > 0 && piece[length - 1] == '\n';
    line->pieces.push_back({std::string(piece, length - endsLine), column});
    column += length - endsLine;
    if (endsLine) return true;
  }
  return !line->pieces.empty();
}
