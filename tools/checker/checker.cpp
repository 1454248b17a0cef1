#include "tools/checker/checker.h"

#include <stdint.h>
#include <stdio.h>

#include "agenda/calendar.h"
#include "agenda/line.h"
#include "tools/files/files.h"
#include "tools/encodings/encodings.h"
#include "tools/strings/strings.h"

namespace {

constexpr size_t kPiecesDescribed = 3;
constexpr AgendaField kDateFields[3] = {kAgendaYearField, kAgendaMonthField, kAgendaDayField};

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// A byte of a line as the finding shows the line: a control byte other than
// a tab would move the terminal's cursor or end the line, so it shows as "?".
char Shown(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F ? '?' : c; }

std::string Number(long long value) { return std::to_string(value); }

// Whether the file is an iCalendar: it begins, after a byte-order mark, with
// BEGIN:VCALENDAR in any case.
bool IsICalendar(const std::string& bytes) {
  const std::string start = bytes.substr(ByteOrderMarkLength(bytes) == 3 ? 3 : 0, 15);
  return EqualsIgnoringAsciiCase(start, "BEGIN:VCALENDAR");
}

std::string Padded(int32_t value, int width) {
  char text[16];
  snprintf(text, sizeof text, "%0*d", width, static_cast<int>(value));
  return text;
}

}  // namespace

bool IsFileWide(FindingKind kind) {
  return kind == FindingKind::kICalendar || kind == FindingKind::kUtf16 ||
         kind == FindingKind::kUtf8ByteOrderMark || kind == FindingKind::kUtf8;
}

std::string AgendaChecker::Say(Text text, const std::vector<std::string>& arguments) const {
  return ::Say(options_.language, text, arguments);
}

// An entry text (Shift-JIS) as a message quotes it.
std::string AgendaChecker::Quote(const std::string& shiftJis) const {
  return Quoted(ShiftJisToUtf8(shiftJis));
}

// The days a reading applies to, e.g. "every year, month 04, day 01".
std::string AgendaChecker::When(const AgendaLineReading& reading) const {
  const bool japanese = options_.language == Language::kJapanese;
  auto field = [&](int32_t value, Text every, Text named, int width) {
    if (value == 0) return Say(every);
    return Say(named, {japanese && width == 2 ? Number(value) : Padded(value, width)});
  };
  return field(reading.year, kTextEveryYear, kTextYear, 4) + Say(kTextDateJoin) +
         field(reading.month, kTextEveryMonth, kTextMonth, 2) + Say(kTextDateJoin) +
         field(reading.day, kTextEveryDay, kTextDay, 2);
}

// How a piece of a line is read, for readings and for the pieces of a long line.
std::string AgendaChecker::Describe(const std::string& piece) const {
  const std::string line = piece.substr(0, piece.find_first_of(std::string("\r\0", 2)));
  if (!piece.empty() && piece[0] == ';') return Say(kTextComment);
  if (line.empty()) return Say(kTextNothing);
  AgendaLineReading reading;
  if (!ReadAgendaLine(line.data(), line.size(), &reading)) return Say(kTextShortReading);
  if (reading.textBegin == reading.textEnd) return Say(kTextShowsNothing, {When(reading)});
  return Say(kTextReading, {When(reading), Quote(line.substr(reading.textBegin))});
}

void AgendaChecker::Add(FindingKind kind, size_t column, const std::string& message,
                        const std::string& shown) {
  std::string safe;
  for (unsigned char c : shown) safe += Shown(c);
  findings_->push_back({kind, line_, column, message, safe});
}

bool AgendaChecker::Begin(const std::string& name, const std::string& shownName,
                          std::vector<Finding>* findings) {
  // The bytes as they are, for the file's encoding and where a Ctrl-Z lies;
  // its lines come from the module's own reader.
  std::string bytes;
  if (ReadWholeFile(name, &bytes)) return false;
  findings_ = findings;
  if (IsICalendar(bytes)) {
    // Its lines are a calendar's, which the plug-in cannot read; import makes
    // an agenda file of it.
    linesMeanNothing_ = true;
    Add(FindingKind::kICalendar, 0,
        Say(kTextICalendar, {shownName, WithExtension(shownName, ".vrn")}));
    return true;
  }
  switch (DetectEncoding(bytes)) {
    case Encoding::kUtf16LittleEndian:
    case Encoding::kUtf16BigEndian:
      linesMeanNothing_ = true;
      Add(FindingKind::kUtf16, 0, Say(kTextUtf16, {shownName}));
      return true;  // its lines mean nothing as Shift-JIS
    case Encoding::kUtf8ByteOrderMark:
      byteOrderMark_ = true;
      Add(FindingKind::kUtf8ByteOrderMark, 0, Say(kTextUtf8ByteOrderMark, {shownName}));
      break;
    case Encoding::kUtf8:
      Add(FindingKind::kUtf8, 0, Say(kTextUtf8, {shownName}));
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
      findings->push_back(
          {FindingKind::kReading, line_, piece.column + 1, Describe(piece.bytes), std::string()});
    }
  }
  if (line_ == ctrlZLine_) {
    Add(FindingKind::kCtrlZ, ctrlZColumn_, Say(kTextCtrlZ, {Quote(afterCtrlZ_)}));
    ctrlZAdded_ = true;
  } else if (line.Length() > kLongestAgendaLine) {
    std::string rest;
    size_t described = 0, more = 0;
    for (size_t i = 1; i < line.pieces.size(); ++i) {
      const AgendaLine::Piece& piece = line.pieces[i];
      if (piece.bytes.empty()) continue;  // the LF after a line of 1023 bytes
      if (described == kPiecesDescribed) {
        ++more;
        continue;
      }
      if (described++ > 0) rest += Say(kTextPieceSeparator);
      rest += Say(kTextPiece, {Number(piece.column + 1), Describe(piece.bytes)});
    }
    if (more > 0) rest += Say(kTextPieceSeparator) + Say(kTextMorePieces, {Number(more)});
    Add(FindingKind::kLongLine, kLongestAgendaLine + 1,
        Say(kTextLongLine, {Number(line.Length()), rest}));
  } else {
    CheckCut(line.pieces.front().bytes);
  }
}

void AgendaChecker::End(std::vector<Finding>* findings) {
  if (ctrlZLine_ == 0 || ctrlZAdded_) return;
  // The Ctrl-Z begins its line, which therefore gave no piece.
  findings_ = findings;
  line_ = ctrlZLine_;
  Add(FindingKind::kCtrlZ, ctrlZColumn_, Say(kTextCtrlZ, {Quote(afterCtrlZ_)}));
}

// A line no longer than a piece: whether a NUL or lone CR ends it early, and
// if not, its entry.
void AgendaChecker::CheckCut(const std::string& piece) {
  if (piece.empty() || piece[0] == ';') return;  // a comment, whatever follows
  const size_t cut = piece.find_first_of(std::string("\r\0", 2));
  if (cut != std::string::npos && cut + 1 < piece.size()) {
    const bool nul = piece[cut] == '\0';
    Add(nul ? FindingKind::kNul : FindingKind::kLoneCr, cut + 1,
        Say(nul ? kTextNul : kTextLoneCr, {Quote(piece.substr(cut + 1))}), piece.substr(0, cut));
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
  if (line.empty()) return;
  AgendaLineReading reading;
  if (!ReadAgendaLine(line.data(), line.size(), &reading)) {
    Add(FindingKind::kNoText, 0, Say(kTextShort), line);
    return;
  }
  if (reading.textBegin == reading.textEnd) {
    Add(FindingKind::kNoText, 0, Say(kTextBlank), line);
    return;
  }
  const std::string when = When(reading);
  const std::string text = Quote(line.substr(reading.textBegin));
  if (IsBlank(line[0])) {
    const bool comment = line[line.find_first_not_of(" \t")] == ';';
    Add(FindingKind::kDateField, 1, Say(comment ? kTextNotAComment : kTextIndented, {when, text}),
        line);
    return;
  }
  if (CheckNeverOccurs(line, reading)) return;

  // Characters from the line's start: a double-byte one within the date
  // columns, or one whose second byte is the text column.
  for (size_t i = 0; i < kAgendaTextColumn;) {
    const size_t n = CharacterLength(line, i);
    if (n == 2 && i + 1 < kAgendaTextColumn) {
      Add(FindingKind::kDoubleByteDate, i + 1, Say(kTextDoubleByteDate, {when, text}), line);
      return;
    }
    if (n == 2) {
      Add(FindingKind::kTextSplitsCharacter, kAgendaTextColumn + 1,
          Say(kTextSplitsCharacter, {when, text}), line);
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
    Add(FindingKind::kDateField, f.column + 1, Say(kTextDateField, {when, text}), line);
    return;
  }
}

bool AgendaChecker::CheckNeverOccurs(const std::string& line, const AgendaLineReading& reading) {
  const int32_t values[3] = {reading.year, reading.month, reading.day};
  const Text names[3] = {kTextYearField, kTextMonthField, kTextDayField};
  for (size_t f = 0; f < 3; ++f) {
    if (values[f] >= 0) continue;
    Add(FindingKind::kNeverOccurs, kDateFields[f].column + 1,
        Say(kTextNegativeField, {Say(names[f]), Number(values[f])}), line);
    return true;
  }
  if (reading.month > 12) {
    Add(FindingKind::kNeverOccurs, kAgendaMonthField.column + 1,
        Say(kTextNoSuchMonth, {Number(reading.month)}), line);
    return true;
  }
  if (reading.day > 31) {
    Add(FindingKind::kNeverOccurs, kAgendaDayField.column + 1,
        Say(kTextNoSuchDay, {Number(reading.day)}), line);
    return true;
  }
  if (reading.month == 0 || reading.day == 0) return false;
  // With every year, a leap year gives the month its most days.
  const int32_t year = reading.year != 0 ? reading.year : 2000;
  if (reading.day <= DaysInMonth(year, reading.month)) return false;
  if (reading.month == 2 && reading.day == 29) {
    Add(FindingKind::kNeverOccurs, kAgendaDayField.column + 1,
        Say(kTextNotALeapYear, {Number(reading.year)}), line);
  } else {
    const Text month = static_cast<Text>(kTextJanuary + reading.month - 1);
    Add(FindingKind::kNeverOccurs, kAgendaDayField.column + 1,
        Say(kTextMonthHasNoDay, {Say(month), Number(reading.day)}), line);
  }
  return true;
}

bool CheckAgendaFile(const std::string& name, const std::string& shownName,
                     const CheckOptions& options, std::vector<Finding>* findings) {
  AgendaChecker checker(options);
  AgendaLines lines(name.c_str());
  if (!lines.IsOpen() || !checker.Begin(name, shownName, findings)) return false;
  AgendaLine line;
  while (checker.LinesAreText() && lines.Next(&line)) checker.CheckLine(line, findings);
  checker.End(findings);
  return true;
}
