// The agenda checker: reads an agenda file as the module reads it (the same
// reader, the same reading of each line) and finds the lines whose meaning is
// probably not what their writer intended. Each finding is a kind and what
// the program needs to word it (tools/programs/vorlinde_agenda/ does). It
// belongs to the agenda tool, not to the module.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "agenda/line.h"
#include "tools/agenda_lines/agenda_lines.h"

enum class FindingKind {
  // The file as a whole: it is a calendar, or its text is not Shift-JIS.
  kICalendar,
  kUtf16,
  kUtf8ByteOrderMark,
  kUtf8,
  // A line: at most one each, the first of these that applies, except that
  // an indented line is told as kIndented or kNotAComment before its date is
  // looked at.
  kCtrlZ,     // a Ctrl-Z ends the file before its end: `unread`
  kLongLine,  // longer than 1023 bytes, read as several lines: `length`, `pieces`, `morePieces`
  kNul,       // a NUL ends the line before its end: `unread`
  kLoneCr,    // a CR without an LF ends the line before its end: `unread`
  // An entry line that can never show anything.
  kShortLine,      // shorter than 11 bytes
  kNothingToShow,  // nothing but blanks after the date
  // A date no calendar has; `reading` holds the fields as read, `field` the
  // one at fault.
  kNegativeField,  // a field reads as a negative number
  kNoSuchMonth,    // a month over 12
  kNoSuchDay,      // a day over 31
  kNotALeapYear,   // 29 February of a year that is not a leap year
  kMonthHasNoDay,  // a day the month never has
  // A line read otherwise than it looks; `reading` is how it is read.
  kDoubleByteDate,       // double-byte characters in the date columns
  kTextSplitsCharacter,  // the text begins on the second byte of a character
  kNotAComment,          // a ";" after blanks, not in the first column
  kIndented,             // blanks before the date move it out of its columns
  kDateField,            // a date field not written in plain digits
  // Not a finding: how an entry line is read (CheckOptions::readings), in
  // `reading`.
  kReading,
};

// Whether a finding is about the file as a whole.
bool IsFileWide(FindingKind kind);

enum class DateField { kYear, kMonth, kDay };

// How a line, or a piece of a long line, is read.
struct LineReading {
  enum Kind {
    kComment,       // begins with ";"
    kEmpty,         // ends before its first byte
    kShort,         // shorter than 11 bytes: nothing of it is read
    kShowsNothing,  // its date, then blanks
    kShows,         // its date and `text`
  };
  Kind kind = kEmpty;
  // The date fields as read (kShowsNothing, kShows), 0 for every year,
  // month or day.
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  std::string text;  // Shift-JIS: from the text column's first non-blank to the line's end
};

// A piece of a long line that the plug-in reads as a line of its own.
struct LinePiece {
  size_t column;  // the byte column it begins on, from 1
  LineReading reading;
};

struct Finding {
  FindingKind kind;
  size_t line = 0;    // from 1; file-wide findings are put on line 1
  size_t column = 0;  // byte column from 1, or 0 when the whole line or file is meant
  std::string bytes;  // the line as the module reads it (Shift-JIS, control bytes too), or empty
  // What the kind needs (see FindingKind); the rest stays as it is here.
  std::string unread;  // Shift-JIS: the first of what the plug-in does not read
  LineReading reading;
  DateField field = DateField::kYear;
  size_t length = 0;              // the whole line's bytes
  std::vector<LinePiece> pieces;  // the pieces after the first, at most three
  size_t morePieces = 0;          // how many pieces follow those
};

struct CheckOptions {
  bool readings = false;  // also give a kReading for every entry line
};

// Checks one agenda file line by line, so that a caller that goes through
// the file's lines itself (export) can ask about each.
class AgendaChecker {
 public:
  explicit AgendaChecker(const CheckOptions& options) : options_(options) {}

  // Reads the file `name` whole for what concerns all of it (a calendar, its
  // encoding, a Ctrl-Z before its end), appending those findings. False when
  // it cannot be read.
  bool Begin(const std::string& name, std::vector<Finding>* findings);
  // Whether the file's lines mean anything to the plug-in (not when UTF-16,
  // nor in a calendar).
  bool LinesAreText() const { return !linesMeanNothing_; }
  // Appends what concerns one line of the file, the lines in order.
  void CheckLine(const AgendaLine& line, std::vector<Finding>* findings);
  // Appends what concerns no line the reader gave: a Ctrl-Z at a line's start.
  void End(std::vector<Finding>* findings);

 private:
  Finding& Add(FindingKind kind, size_t column, const std::string& bytes = "");
  void CheckCut(const std::string& piece);
  void CheckEntry(const std::string& line);
  bool CheckNeverOccurs(const std::string& line, const LineReading& reading);

  const CheckOptions options_;
  std::vector<Finding>* findings_ = nullptr;
  size_t line_ = 1;
  bool linesMeanNothing_ = false;
  bool byteOrderMark_ = false;
  size_t ctrlZLine_ = 0;  // the line a Ctrl-Z ends the file on, 0 for none
  size_t ctrlZColumn_ = 0;
  std::string afterCtrlZ_;  // the first of what the Ctrl-Z keeps from being read
  bool ctrlZAdded_ = false;
};

// Checks the agenda file `name`, appending what it finds in the order of the
// file's lines. False when the file cannot be read.
bool CheckAgendaFile(const std::string& name, const CheckOptions& options,
                     std::vector<Finding>* findings);
