#include "tools/checker/checker.h"

#include <stdint.h>

#include "agenda/calendar.h"
#include "agenda/line.h"
#include "tools/encodings/encodings.h"
#include "tools/files/files.h"
#include "tools/strings/strings.h"

namespace {

constexpr size_t kPiecesDescribed = 3;
constexpr AgendaField kDateFields[3] = {kAgendaYearField, kAgendaMonthField, kAgendaDayField};

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Whether the file is an iCalendar: it begins, after a byte-order mark, with
// BEGIN:VCALENDAR in any case.
bool IsICalendar(const std::string& bytes) {
  const std::string start = bytes.substr(ByteOrderMarkLength(bytes) == 3 ? 3 : 0, 15);
  return EqualsIgnoringAsciiCase(start, "BEGIN:VCALENDAR");
}

}  // namespace

namespace {

// How an entry line (cut before its first CR or NUL) is read.
LineReading ReadingOfEntry(const std::string& line) {
  LineReading out;
  if (line.empty()) return out;
  AgendaLineReading reading;
  if (!ReadAgendaLine(line.data(), line.size(), &reading)) {
    out.kind = LineReading::kShort;
    return out;
  }
  out.kind =
      reading.textBegin == reading.textEnd ? LineReading::kShowsNothing : LineReading::kShows;
  out.year = reading.year;
  out.month = reading.month;
  out.day = reading.day;
  if (out.kind == LineReading::kShows) out.text = line.substr(reading.textBegin);
  return out;
}

// How a piece of a line is read, for readings and for the pieces of a long line.
LineReading ReadingOfPiece(const std::string& piece) {
  if (!piece.empty() && piece[0] == ';') {
    LineReading comment;
    comment.kind = LineReading::kComment;
    return comment;
  }
  return ReadingOfEntry(piece.substr(0, piece.find_first_of(std::string("\r\0", 2))));
}

}  // namespace

bool IsFileWide(FindingKind kind) {
  return kind == FindingKind::kICalendar || kind == FindingKind::kUtf16 ||
         kind == FindingKind::kUtf8ByteOrderMark || kind == FindingKind::kUtf8;
}

Finding& AgendaChecker::Add(FindingKind kind, size_t column, const std::string& bytes) {
  Finding finding;
  finding.kind = kind;
  finding.line = line_;
  finding.column = column;
  finding.bytes = bytes;
  findings_->push_back(finding);
  return findings_->back();
}

bool AgendaChecker::Begin(const std::string& name, std::vector<Finding>* findings) {
  // The bytes as they are, for the file's encoding and where a Ctrl-Z lies;
  // its lines come from the module's own reader.
  std::string bytes;
  if (ReadWholeFile(name, &bytes)) return false;
  findings_ = findings;
  if (IsICalendar(bytes)) {
    // Its lines are a calendar's, which the plug-in cannot read; import makes
    // an agenda file of it.
    linesMeanNothing_ = true;
    Add(FindingKind::kICalendar, 0);
    return true;
  }
  switch (DetectEncoding(bytes)) {
    case Encoding::kUtf16LittleEndian:
    case Encoding::kUtf16BigEndian:
      linesMeanNothing_ = true;
      Add(FindingKind::kUtf16, 0);
      return true;  // its lines mean nothing as Shift-JIS
    case Encoding::kUtf8ByteOrderMark:
      byteOrderMark_ = true;
      Add(FindingKind::kUtf8ByteOrderMark, 0);
      break;
    case Encoding::kUtf8:
      Add(FindingKind::kUtf8, 0);
      break;
    case Encoding::kShiftJis:
    case Encoding::kNotText:
      break;
  }
  // A Ctrl-Z matters when anything but line breaks and blanks follows it.
  const size_t ctrlZ = bytes.find('\x1A');
  const size_t rest = ctrlZ == std::string::npos
                          ? std::string::npos
                          : bytes.find_first_not_of(std::string("\x1A\r\n \t"), ctrlZ);
  if (rest != std::string::npos) {
    afterCtrlZ_ = bytes.substr(rest, bytes.find_first_of("\r\n", rest) - rest);
    const size_t lineStart = bytes.rfind('\n', ctrlZ) + 1;  // npos + 1 is 0
    ctrlZLine_ = 1;
    for (size_t i = 0; i < lineStart; ++i) ctrlZLine_ += bytes[i] == '\n';
    ctrlZColumn_ = ctrlZ - lineStart + 1;
  }
  return true;
}

// A physical line. At most one finding, the first that applies: a Ctrl-Z
// that ends the file early, a line read as several, a NUL or CR that cuts the
// line early, then what the line's reading says.
void AgendaChecker::CheckLine(const AgendaLine& line, std::vector<Finding>* findings) {
  findings_ = findings;
  line_ = line.number;
  if (linesMeanNothing_) return;
  if (options_.readings) {
    for (const AgendaLine::Piece& piece : line.pieces) {
      if (piece.bytes.empty() || piece.bytes[0] == ';' || piece.bytes[0] == '\r' ||
          piece.bytes[0] == '\0') {
        continue;
      }
      Add(FindingKind::kReading, piece.column + 1).reading = ReadingOfPiece(piece.bytes);
    }
  }
  if (line_ == ctrlZLine_) {
    Add(FindingKind::kCtrlZ, ctrlZColumn_).unread = afterCtrlZ_;
    ctrlZAdded_ = true;
  } else if (line.Length() > kLongestAgendaLine) {
    Finding& finding = Add(FindingKind::kLongLine, kLongestAgendaLine + 1);
    finding.length = line.Length();
    for (size_t i = 1; i < line.pieces.size(); ++i) {
      const AgendaLine::Piece& piece = line.pieces[i];
      if (piece.bytes.empty()) continue;  // the LF after a line of 1023 bytes
      if (finding.pieces.size() == kPiecesDescribed) {
        ++finding.morePieces;
      } else {
        finding.pieces.push_back({piece.column + 1, ReadingOfPiece(piece.bytes)});
      }
    }
  } else {
    CheckCut(line.pieces.front().bytes);
  }
}

void AgendaChecker::End(std::vector<Finding>* findings) {
  if (ctrlZLine_ == 0 || ctrlZAdded_) return;
  // The Ctrl-Z begins its line, which therefore gave no piece.
  findings_ = findings;
  line_ = ctrlZLine_;
  Add(FindingKind::kCtrlZ, ctrlZColumn_).unread = afterCtrlZ_;
}

// A line no longer than a piece: whether a NUL or lone CR ends it early, and
// if not, its entry.
void AgendaChecker::CheckCut(const std::string& piece) {
  if (piece.empty() || piece[0] == ';') return;  // a comment, whatever follows
  const size_t cut = piece.find_first_of(std::string("\r\0", 2));
  if (cut != std::string::npos && cut + 1 < piece.size()) {
    Add(piece[cut] == '\0' ? FindingKind::kNul : FindingKind::kLoneCr, cut + 1,
        piece.substr(0, cut))
        .unread = piece.substr(cut + 1);
    return;
  }
  if (byteOrderMark_ && line_ == 1) return;  // told with the file's encoding
  CheckEntry(piece.substr(0, cut));
}

// What an entry line's reading says, the first of: nothing to show, a line
// indented (a comment's ";" among them) so that its date is out of place, a
// date that never comes, double-byte characters where the date or the text
// should begin, date fields not in plain digits.
void AgendaChecker::CheckEntry(const std::string& line) {
  const LineReading reading = ReadingOfEntry(line);
  switch (reading.kind) {
    case LineReading::kShort:
      Add(FindingKind::kShortLine, 0, line);
      return;
    case LineReading::kShowsNothing:
      Add(FindingKind::kNothingToShow, 0, line);
      return;
    case LineReading::kShows:
      break;
    case LineReading::kComment:
    case LineReading::kEmpty:
      return;
  }
  if (IsBlank(line[0])) {
    const bool comment = line[line.find_first_not_of(" \t")] == ';';
    Add(comment ? FindingKind::kNotAComment : FindingKind::kIndented, 1, line).reading = reading;
    return;
  }
  if (CheckNeverOccurs(line, reading)) return;

  // Characters from the line's start: a double-byte one within the date
  // columns, or one whose second byte is the text column.
  for (size_t i = 0; i < kAgendaTextColumn;) {
    const size_t n = CharacterLength(line, i);
    if (n == 2 && i + 1 < kAgendaTextColumn) {
      Add(FindingKind::kDoubleByteDate, i + 1, line).reading = reading;
      return;
    }
    if (n == 2) {
      Add(FindingKind::kTextSplitsCharacter, kAgendaTextColumn + 1, line).reading = reading;
      return;
    }
    i += n;
  }

  // A year of four digits; a month or day of two, or of one beside a blank.
  for (const AgendaField& f : kDateFields) {
    const unsigned char* field = reinterpret_cast<const unsigned char*>(line.data()) + f.column;
    const bool plain =
        f.width == 4
            ? IsDigit(field[0]) && IsDigit(field[1]) && IsDigit(field[2]) && IsDigit(field[3])
            : (IsDigit(field[0]) && (IsDigit(field[1]) || IsBlank(field[1]))) ||
                  (IsBlank(field[0]) && IsDigit(field[1]));
    if (plain) continue;
    Add(FindingKind::kDateField, f.column + 1, line).reading = reading;
    return;
  }
}

bool AgendaChecker::CheckNeverOccurs(const std::string& line, const LineReading& reading) {
  const int32_t values[3] = {reading.year, reading.month, reading.day};
  const DateField fields[3] = {DateField::kYear, DateField::kMonth, DateField::kDay};
  FindingKind kind;
  size_t column = kAgendaDayField.column + 1;
  DateField field = DateField::kDay;
  if (values[0] < 0 || values[1] < 0 || values[2] < 0) {
    const size_t f = values[0] < 0 ? 0 : values[1] < 0 ? 1 : 2;
    kind = FindingKind::kNegativeField;
    column = kDateFields[f].column + 1;
    field = fields[f];
  } else if (reading.month > 12) {
    kind = FindingKind::kNoSuchMonth;
    column = kAgendaMonthField.column + 1;
    field = DateField::kMonth;
  } else if (reading.day > 31) {
    kind = FindingKind::kNoSuchDay;
  } else if (reading.month == 0 || reading.day == 0) {
    return false;
  } else if (reading.day <= DaysInMonth(reading.year != 0 ? reading.year : 2000, reading.month)) {
    return false;  // with every year, a leap year gives the month its most days
  } else if (reading.month == 2 && reading.day == 29) {
    kind = FindingKind::kNotALeapYear;
  } else {
    kind = FindingKind::kMonthHasNoDay;
  }
  Finding& finding = Add(kind, column, line);
  finding.reading = reading;
  finding.field = field;
  return true;
}

bool CheckAgendaFile(const std::string& name, const CheckOptions& options,
                     std::vector<Finding>* findings) {
  AgendaChecker checker(options);
  // The module's reader opens the file by its ANSI name, as the plug-in does.
  std::string ansi;
  if (!AnsiName(name, &ansi)) return false;
  AgendaLines lines(ansi.c_str());
  if (!lines.IsOpen() || !checker.Begin(name, findings)) return false;
  AgendaLine line;
  while (checker.LinesAreText() && lines.Next(&line)) checker.CheckLine(line, findings);
  checker.End(findings);
  return true;
}
