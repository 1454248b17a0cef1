// An agenda file's lines as the module reads them: each physical line as the
// pieces of at most 1023 bytes that the module's own reader gives, so that
// the tools that explain a file or export it see exactly what the plug-in
// sees.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "agenda/reader.h"

// The longest line the module reads whole, its LF not counted.
constexpr size_t kLongestAgendaLine = kLineBufferSize - 1;

struct AgendaLine {
  struct Piece {
    std::string bytes;  // without the line's LF
    size_t column;      // where it begins in its line, from 0
  };
  size_t number = 0;  // from 1
  std::vector<Piece> pieces;

  // The line's length in bytes, its LF not counted.
  size_t Length() const { return pieces.back().column + pieces.back().bytes.size(); }
  // The line as the module matches it (its first piece, which is all of it
  // unless it is longer than kLongestAgendaLine) cut before its first CR, LF
  // or NUL.
  std::string Entry() const;
};

class AgendaLines {
 public:
  explicit AgendaLines(const char* name) : reader_(name) {}

  bool IsOpen() const { return reader_.IsOpen(); }

  // The next line into `*line`; false after the last one.
  bool Next(AgendaLine* line);

 private:
  AgendaReader reader_;
  size_t number_ = 0;
};
