#include "tools/checker/checker.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "agenda/calendar.h"
#include "agenda/line.h"
#include "agenda/reader.h"
#include "tools/checker/encoding.h"
#include "tools/checker/messages.h"

namespace {

constexpr size_t kMaxPiece = kLineBufferSize - 1;
constexpr size_t kQuotedBytes = 40;  // of an entry text quoted in a message
constexpr size_t kPiecesDescribed = 3;
constexpr AgendaField kDateFields[3] = {kAgendaYearField, kAgendaMonthField, kAgendaDayField};

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// A byte as a message shows it: a control byte other than a tab would move
// the terminal's cursor or end the line, so it shows as "?".
char Shown(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F ? '?' : c; }

std::string Number(long long value) { return std::to_string(value); }

std::string TwoDigits(int32_t value) {
  char text[16];
  snprintf(text, sizeof text, "%02d", static_cast<int>(value));
  return text;
}

class Checker {
 public:
  Checker(const CheckOptions& options, std::vector<Finding>* findings)
      : options_(options), findings_(findings) {}

  bool Check(const char* name);

 private:
  // A piece of a line as the reader gives it, its LF taken off.
  struct Piece {
    std::string bytes;
    size_t column;  // where it begins in its line, from 0
  };

  std::string Say(CheckerText text, const std::vector<std::string>& arguments = {}) const;
  std::string Utf8(const std::string& shiftJis) const;
  std::string Quoted(const std::string& shiftJis) const;
  std::string When(const AgendaLineReading& reading) const;
  std::string Describe(const std::string& piece) const;
  void Add(FindingKind kind, size_t column, const std::string& message,
           const std::string& shown = "");

  void CheckEncoding(const char* name, const std::string& bytes);
  void CheckLine(const std::vector<Piece>& pieces);
  void CheckCut(const std::string& piece);
  void CheckEntry(const std::string& line);
  bool CheckNeverOccurs(const std::string& line, const AgendaLineReading& reading);

  const CheckOptions& options_;
  std::vector<Finding>* findings_;
  size_t line_ = 1;
  bool utf16_ = false;
  bool byteOrderMark_ = false;
  size_t ctrlZLine_ = 0;  // the line a Ctrl-Z ends the file on, 0 for none
  size_t ctrlZColumn_ = 0;
  std::string afterCtrlZ_;  // the first of what the Ctrl-Z keeps from being read
  bool ctrlZAdded_ = false;
};

std::string Checker::Say(CheckerText text, const std::vector<std::string>& arguments) const {
  const TextPair& pair = CheckerTextPair(text);
  return FillIn(options_.language == CheckLanguage::kJapanese ? pair.japanese : pair.english,
                arguments);
}

std::string Checker::Utf8(const std::string& shiftJis) const {
  return options_.shiftJisToUtf8 != nullptr ? options_.shiftJisToUtf8(shiftJis) : shiftJis;
}

// An entry text for a message: at most kQuotedBytes bytes of it, cut between
// characters, control bytes shown as "?".
std::string Checker::Quoted(const std::string& shiftJis) const {
  std::string text;
  bool cut = false;
  for (size_t i = 0; i < shiftJis.size();) {
    const size_t n = CharacterLength(shiftJis, i);
    if (text.size() + n > kQuotedBytes) {
      cut = true;
      break;
    }
    for (size_t k = 0; k < n; ++k) text += Shown(shiftJis[i + k]);
    i += n;
  }
  return Utf8(text) + (cut ? "..." : "");
}

// The days a reading applies to, e.g. "every year, month 04, day 01".
std::string Checker::When(const AgendaLineReading& reading) const {
  const bool japanese = options_.language == CheckLanguage::kJapanese;
  auto field = [&](int32_t value, CheckerText every, CheckerText named, bool padded) {
    if (value == 0) return Say(every);
    char year[16];
    snprintf(year, sizeof year, "%04d", static_cast<int>(value));
    return Say(named, {padded ? year : japanese ? Number(value) : TwoDigits(value)});
  };
  return field(reading.year, kTextEveryYear, kTextYear, true) + Say(kTextDateJoin) +
         field(reading.month, kTextEveryMonth, kTextMonth, false) + Say(kTextDateJoin) +
         field(reading.day, kTextEveryDay, kTextDay, false);
}

// How a piece of a line is read, for readings and for the pieces of a long line.
std::string Checker::Describe(const std::string& piece) const {
  const std::string line = piece.substr(0, piece.find_first_of(std::string("\r\0", 2)));
  if (!piece.empty() && piece[0] == ';') return Say(kTextComment);
  if (line.empty()) return Say(kTextNothing);
  AgendaLineReading reading;
  if (!ReadAgendaLine(line.data(), line.size(), &reading)) return Say(kTextShortReading);
  if (reading.textBegin == reading.textEnd) return Say(kTextShowsNothing, {When(reading)});
  return Say(kTextReading, {When(reading), Quoted(line.substr(reading.textBegin))});
}

void Checker::Add(FindingKind kind, size_t column, const std::string& message,
                  const std::string& shown) {
  std::string safe;
  for (unsigned char c : shown) safe += Shown(c);
  findings_->push_back({kind, line_, column, message, safe});
}

void Checker::CheckEncoding(const char* name, const std::string& bytes) {
  switch (DetectEncoding(bytes)) {
    case FileEncoding::kUtf16:
      utf16_ = true;
      Add(FindingKind::kUtf16, 0, Say(kTextUtf16, {name}));
      break;
    case FileEncoding::kUtf8ByteOrderMark:
      byteOrderMark_ = true;
      Add(FindingKind::kUtf8ByteOrderMark, 0, Say(kTextUtf8ByteOrderMark, {name}));
      break;
    case FileEncoding::kUtf8:
      Add(FindingKind::kUtf8, 0, Say(kTextUtf8, {name}));
      break;
    case FileEncoding::kShiftJis:
      break;
  }
}

// A physical line, as pieces. At most one finding, the first that applies:
// a Ctrl-Z that ends the file early, a line read as several, a NUL or CR that
// cuts the line early, then what the line's reading says.
void Checker::CheckLine(const std::vector<Piece>& pieces) {
  if (options_.readings) {
    for (const Piece& piece : pieces) {
      if (piece.bytes.empty() || piece.bytes[0] == ';' || piece.bytes[0] == '\r' ||
          piece.bytes[0] == '\0') {
        continue;
      }
      findings_->push_back(
          {FindingKind::kReading, line_, piece.column + 1, Describe(piece.bytes), std::string()});
    }
  }
  const size_t length = pieces.back().column + pieces.back().bytes.size();
  if (line_ == ctrlZLine_) {
    Add(FindingKind::kCtrlZ, ctrlZColumn_, Say(kTextCtrlZ, {Quoted(afterCtrlZ_)}));
    ctrlZAdded_ = true;
  } else if (length > kMaxPiece) {
    std::string rest;
    size_t described = 0, more = 0;
    for (size_t i = 1; i < pieces.size(); ++i) {
      if (pieces[i].bytes.empty()) continue;  // the LF after a line of 1023 bytes
      if (described == kPiecesDescribed) {
        ++more;
        continue;
      }
      if (described++ > 0) rest += Say(kTextPieceSeparator);
      rest += Say(kTextPiece, {Number(pieces[i].column + 1), Describe(pieces[i].bytes)});
    }
    if (more > 0) rest += Say(kTextPieceSeparator) + Say(kTextMorePieces, {Number(more)});
    Add(FindingKind::kLongLine, kMaxPiece + 1, Say(kTextLongLine, {Number(length), rest}));
  } else {
    CheckCut(pieces.front().bytes);
  }
}

// A line no longer than a piece: whether a NUL or lone CR ends it early, and
// if not, its entry.
void Checker::CheckCut(const std::string& piece) {
  if (piece.empty() || piece[0] == ';') return;  // a comment, whatever follows
  const size_t cut = piece.find_first_of(std::string("\r\0", 2));
  if (cut != std::string::npos && cut + 1 < piece.size()) {
    const bool nul = piece[cut] == '\0';
    Add(nul ? FindingKind::kNul : FindingKind::kLoneCr, cut + 1,
        Say(nul ? kTextNul : kTextLoneCr, {Quoted(piece.substr(cut + 1))}), piece.substr(0, cut));
    return;
  }
  if (byteOrderMark_ && line_ == 1) return;  // told with the file's encoding
  CheckEntry(piece.substr(0, cut));
}

// What an entry line's reading says, the first of: nothing to show, a line
// indented (a comment's ";" among them) so that its date is out of place, a
// date that never comes, double-byte characters where the date or the text
// should begin, date fields not in plain digits.
void Checker::CheckEntry(const std::string& line) {
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
  const std::string text = Quoted(line.substr(reading.textBegin));
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

bool Checker::CheckNeverOccurs(const std::string& line, const AgendaLineReading& reading) {
  const int32_t values[3] = {reading.year, reading.month, reading.day};
  const CheckerText names[3] = {kTextYearField, kTextMonthField, kTextDayField};
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
    const std::string month = options_.language == CheckLanguage::kJapanese
                                  ? Number(reading.month)
                                  : EnglishMonthName(reading.month);
    Add(FindingKind::kNeverOccurs, kAgendaDayField.column + 1,
        Say(kTextMonthHasNoDay, {month, Number(reading.day)}), line);
  }
  return true;
}

bool Checker::Check(const char* name) {
  // The bytes as they are, for the file's encoding and where a Ctrl-Z lies;
  // its lines come from the module's own reader.
  FILE* file = fopen(name, "rb");
  if (file == nullptr) return false;
  std::string bytes;
  char buffer[64 * 1024];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const bool readError = ferror(file) != 0;
  fclose(file);
  AgendaReader reader(name);
  if (readError || !reader.IsOpen()) return false;

  CheckEncoding(name, bytes);
  if (utf16_) return true;  // its lines mean nothing as Shift-JIS
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

  char piece[kLineBufferSize];
  size_t length = 0;
  std::vector<Piece> pieces;
  size_t column = 0;
  while (reader.ReadPiece(piece, &length)) {
    const bool endsLine = length > 0 && piece[length - 1] == '\n';
    pieces.push_back({std::string(piece, length - endsLine), column});
    column += length - endsLine;
    if (!endsLine) continue;
    CheckLine(pieces);
    pieces.clear();
    column = 0;
    ++line_;
  }
  if (!pieces.empty()) CheckLine(pieces);
  if (ctrlZLine_ != 0 && !ctrlZAdded_) {
    // The Ctrl-Z begins its line, which therefore gave no piece.
    line_ = ctrlZLine_;
    Add(FindingKind::kCtrlZ, ctrlZColumn_, Say(kTextCtrlZ, {Quoted(afterCtrlZ_)}));
  }
  return true;
}

}  // namespace

bool CheckAgendaFile(const char* name, const CheckOptions& options,
                     std::vector<Finding>* findings) {
  Checker checker(options, findings);
  return checker.Check(name);
}
