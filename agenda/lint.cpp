#include "agenda/lint.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "agenda/calendar.h"
#include "agenda/line.h"
#include "agenda/reader.h"

namespace {

constexpr size_t kMaxPiece = kLineBufferSize - 1;
constexpr size_t kQuotedBytes = 40;  // of an entry text quoted in a message
constexpr size_t kPiecesDescribed = 3;

// Every text the checker writes, English and Japanese side by side. "{0}",
// "{1}" stand for the arguments the text is given.
enum Text {
  kTextUtf16,
  kTextUtf8ByteOrderMark,
  kTextUtf8,
  kTextCtrlZ,
  kTextLongLine,
  kTextPiece,
  kTextMorePieces,
  kTextPieceSeparator,
  kTextComment,
  kTextNothing,
  kTextNul,
  kTextLoneCr,
  kTextShort,
  kTextBlank,
  kTextNegativeField,
  kTextNoSuchMonth,
  kTextNoSuchDay,
  kTextMonthHasNoDay,
  kTextNotALeapYear,
  kTextDoubleByteDate,
  kTextSplitsCharacter,
  kTextDateField,
  kTextNotAComment,
  kTextIndented,
  kTextReading,
  kTextShowsNothing,
  kTextShortReading,
  kTextYearField,
  kTextMonthField,
  kTextDayField,
  kTextEveryYear,
  kTextEveryMonth,
  kTextEveryDay,
  kTextYear,
  kTextMonth,
  kTextDay,
  kTextDateJoin,
  kTextCount
};

const TextPair kTexts[] = {
    // kTextUtf16
    {"the file is saved as UTF-16: the chip will show its text garbled; save it as Shift-JIS "
     "(\"ANSI\" in Windows editors)",
     "ファイルが UTF-16 で保存されています。付箋では文字化けします。Shift-JIS（Windows "
     "のエディターでは「ANSI」）で保存し直してください"},
    // kTextUtf8ByteOrderMark
    {"the file is saved as UTF-8 with a byte-order mark: the chip will show its non-ASCII text "
     "garbled, and the mark's 3 bytes shift the first line's date; save it as Shift-JIS (\"ANSI\" "
     "in Windows editors)",
     "ファイルが UTF-8（BOM 付き）で保存されています。付箋では ASCII 以外の文字が文字化けし、BOM "
     "の 3 バイトで 1 行目の日付の桁がずれます。Shift-JIS（Windows "
     "のエディターでは「ANSI」）で保存し直してください"},
    // kTextUtf8
    {"the file is saved as UTF-8: the chip will show its non-ASCII text garbled; save it as "
     "Shift-JIS (\"ANSI\" in Windows editors)",
     "ファイルが UTF-8 で保存されています。付箋では ASCII 以外の文字が文字化けします。Shift-JIS"
     "（Windows のエディターでは「ANSI」）で保存し直してください"},
    // kTextCtrlZ
    {"a Ctrl-Z byte ends the file for the plug-in: nothing after it is read, from \"{0}\" on",
     "Ctrl-Z（0x1A）でファイルが終わったものとして読まれ、その後の「{0}」以降は読まれません"},
    // kTextLongLine
    {"the line is {0} bytes long: the plug-in reads its first 1023 bytes as one line and the rest "
     "as lines of their own: {1}",
     "行の長さが {0} バイトあります。最初の 1023 バイトが 1 行として読まれ、残りは別の行として読ま"
     "れます：{1}"},
    // kTextPiece
    {"from column {0}, {1}", "{0} 桁目から「{1}」"},
    // kTextMorePieces
    {"and {0} more", "ほか {0} 行"},
    // kTextPieceSeparator
    {"; ", "、"},
    // kTextComment
    {"a comment", "コメント"},
    // kTextNothing
    {"nothing", "空行"},
    // kTextNul
    {"a NUL byte ends the line for the plug-in: \"{0}\" after it is not read",
     "NUL バイトで行が終わったものとして読まれ、その後の「{0}」は読まれません"},
    // kTextLoneCr
    {"a CR without an LF ends the line for the plug-in: \"{0}\" after it is not read",
     "LF の付かない CR で行が終わったものとして読まれ、その後の「{0}」は読まれません"},
    // kTextShort
    {"the line is shorter than 11 bytes, so it has no text: the plug-in never shows it",
     "行が 11 バイトより短く本文がないため、表示されることはありません"},
    // kTextBlank
    {"the line has nothing but blanks after its date: the plug-in never shows it",
     "日付の後ろに空白しかないため、表示されることはありません"},
    // kTextNegativeField
    {"never shows: the {0} field reads as {1}",
     "表示されることはありません：{0}の欄が {1} と読まれます"},
    // kTextNoSuchMonth
    {"never shows: there is no month {0}", "表示されることはありません：{0}月はありません"},
    // kTextNoSuchDay
    {"never shows: no month has a day {0}",
     "表示されることはありません：{0}日まである月はありません"},
    // kTextMonthHasNoDay
    {"never shows: {0} has no day {1}", "表示されることはありません：{0}月に{1}日はありません"},
    // kTextNotALeapYear
    {"never shows: {0} is not a leap year, so February has no day 29",
     "表示されることはありません：{0}年はうるう年ではないので 2 月 29 日はありません"},
    // kTextDoubleByteDate
    {"the date columns hold double-byte characters (such as full-width digits), which are not "
     "read as digits: the plug-in reads the line as {0} and shows \"{1}\"",
     "日付の桁に全角文字（全角数字など）があり、数字として読まれません。この行は{0}の予定「{1}」"
     "として読まれます"},
    // kTextSplitsCharacter
    {"the text column (the 11th byte) falls on the second byte of a double-byte character: the "
     "plug-in reads the line as {0} and shows \"{1}\", its first character broken",
     "本文の始まる桁（11 バイト目）が全角文字の 2 バイト目に当たります。この行は{0}の予定として読ま"
     "れ、本文「{1}」の先頭が文字化けします"},
    // kTextDateField
    {"the date is not written as yyyy/mm/dd in digits: the plug-in reads the line as {0} and "
     "shows \"{1}\", not what the text suggests",
     "日付が yyyy/mm/dd の形の半角数字で書かれていません。この行は{0}の予定「{1}」として読まれま"
     "す（見た目の日付とは違います）"},
    // kTextNotAComment
    {"only a \";\" in the first column makes a comment: the plug-in reads the line as {0} and "
     "shows \"{1}\"",
     "コメントになるのは 1 桁目が「;」の行だけです。この行は{0}の予定「{1}」として読まれます"},
    // kTextIndented
    {"the line starts with a blank, which moves its date out of the fixed columns: the plug-in "
     "reads the line as {0} and shows \"{1}\"",
     "行頭に空白があるため日付の桁がずれています。この行は{0}の予定「{1}」として読まれます"},
    // kTextReading
    {"{0}: {1}", "{0}：{1}"},
    // kTextShowsNothing
    {"{0}: shows nothing", "{0}：表示なし"},
    // kTextShortReading
    {"shows nothing (shorter than 11 bytes)", "表示なし（11 バイトより短い行）"},
    // kTextYearField, kTextMonthField, kTextDayField
    {"year", "年"},
    {"month", "月"},
    {"day", "日"},
    // kTextEveryYear, kTextEveryMonth, kTextEveryDay
    {"every year", "毎年"},
    {"every month", "毎月"},
    {"every day", "毎日"},
    // kTextYear, kTextMonth, kTextDay
    {"year {0}", "{0}年"},
    {"month {0}", "{0}月"},
    {"day {0}", "{0}日"},
    // kTextDateJoin: between year, month and day
    {", ", ""},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == kTextCount, "one pair of texts for each text");

const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The length of the Shift-JIS character at `i`: 2 for a lead byte with its
// trail byte, else 1.
size_t CharacterLength(const std::string& s, size_t i) {
  return IsLeadByte(s[i]) && i + 1 < s.size() && IsTrailByte(s[i + 1]) ? 2 : 1;
}

std::string Number(long long value) { return std::to_string(value); }

std::string TwoDigits(int32_t value) {
  char text[16];
  snprintf(text, sizeof text, "%02d", static_cast<int>(value));
  return text;
}

class Checker {
 public:
  Checker(const LintOptions& options, std::vector<LintFinding>* findings)
      : options_(options), findings_(findings) {}

  bool Check(const char* name);

 private:
  // A piece of a line as the reader gives it, its LF taken off.
  struct Piece {
    std::string bytes;
    size_t column;  // where it begins in its line, from 0
  };

  std::string Say(Text text, const std::vector<std::string>& arguments = {}) const;
  std::string Utf8(const std::string& shiftJis) const;
  std::string Quoted(const std::string& shiftJis) const;
  std::string When(const AgendaLineReading& reading) const;
  std::string Describe(const std::string& piece) const;
  void Add(LintKind kind, size_t column, const std::string& message, const std::string& shown = "");

  void CheckEncoding(const std::string& bytes);
  void CheckLine(const std::vector<Piece>& pieces);
  void CheckCut(const std::string& piece);
  void CheckEntry(const std::string& line);
  bool CheckNeverOccurs(const std::string& line, const AgendaLineReading& reading);

  const LintOptions& options_;
  std::vector<LintFinding>* findings_;
  size_t line_ = 1;
  bool utf16_ = false;
  bool byteOrderMark_ = false;
  size_t ctrlZLine_ = 0;  // the line a Ctrl-Z ends the file on, 0 for none
  size_t ctrlZColumn_ = 0;
  std::string afterCtrlZ_;  // the first of what the Ctrl-Z keeps from being read
  bool ctrlZAdded_ = false;
};

std::string Checker::Say(Text text, const std::vector<std::string>& arguments) const {
  const TextPair& pair = kTexts[text];
  return FillIn(options_.language == LintLanguage::kJapanese ? pair.japanese : pair.english,
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
    for (size_t k = 0; k < n; ++k) {
      const unsigned char c = shiftJis[i + k];
      text += c < 0x20 && c != '\t' ? '?' : c == 0x7F ? '?' : static_cast<char>(c);
    }
    i += n;
  }
  return Utf8(text) + (cut ? "..." : "");
}

// The days a reading applies to, e.g. "every year, month 04, day 01".
std::string Checker::When(const AgendaLineReading& reading) const {
  const bool japanese = options_.language == LintLanguage::kJapanese;
  auto field = [&](int32_t value, Text every, Text named, bool padded) {
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

void Checker::Add(LintKind kind, size_t column, const std::string& message,
                  const std::string& shown) {
  std::string safe;
  for (unsigned char c : shown) safe += c < 0x20 && c != '\t' ? '?' : c == 0x7F ? '?' : c;
  findings_->push_back({kind, line_, column, message, safe});
}

bool IsUtf8WithNonAscii(const std::string& bytes) {
  bool nonAscii = false;
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = bytes[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the first continuation byte
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + n >= bytes.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      const unsigned char next = bytes[i + k];
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    nonAscii = true;
    i += n + 1;
  }
  return nonAscii;
}

// Whether `bytes` read as Shift-JIS give text a person could have written:
// every double-byte character whole, and symbols, kana and first-level kanji
// (lead bytes 0x81 to 0x9F) at least three times as many as half-width
// katakana and characters from lead byte 0xE0 on, which is what UTF-8's bytes
// turn into.
bool IsPlausibleShiftJis(const std::string& bytes) {
  size_t common = 0, rare = 0;
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = bytes[i];
    if (c < 0x80) {
      ++i;
    } else if (c >= 0xA1 && c <= 0xDF) {
      ++rare;
      ++i;
    } else if (IsLeadByte(c) && i + 1 < bytes.size() && IsTrailByte(bytes[i + 1])) {
      ++(c < 0xA0 ? common : rare);
      i += 2;
    } else {
      return false;
    }
  }
  return common >= 3 * rare;
}

void Checker::CheckEncoding(const std::string& bytes) {
  size_t nuls = 0;
  for (char c : bytes) nuls += c == '\0';
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 ||
      (nuls >= 4 && nuls * 4 >= bytes.size())) {
    utf16_ = true;
    Add(LintKind::kUtf16, 0, Say(kTextUtf16));
  } else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    byteOrderMark_ = true;
    Add(LintKind::kUtf8ByteOrderMark, 0, Say(kTextUtf8ByteOrderMark));
  } else if (IsUtf8WithNonAscii(bytes) && !IsPlausibleShiftJis(bytes)) {
    Add(LintKind::kUtf8, 0, Say(kTextUtf8));
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
          {LintKind::kReading, line_, piece.column + 1, Describe(piece.bytes), std::string()});
    }
  }
  const size_t length = pieces.back().column + pieces.back().bytes.size();
  if (line_ == ctrlZLine_) {
    Add(LintKind::kCtrlZ, ctrlZColumn_, Say(kTextCtrlZ, {Quoted(afterCtrlZ_)}));
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
    Add(LintKind::kLongLine, kMaxPiece + 1, Say(kTextLongLine, {Number(length), rest}));
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
    Add(nul ? LintKind::kNul : LintKind::kLoneCr, cut + 1,
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
    Add(LintKind::kNoText, 0, Say(kTextShort), line);
    return;
  }
  if (reading.textBegin == reading.textEnd) {
    Add(LintKind::kNoText, 0, Say(kTextBlank), line);
    return;
  }
  const std::string when = When(reading);
  const std::string text = Quoted(line.substr(reading.textBegin));
  if (IsBlank(line[0])) {
    const bool comment = line[line.find_first_not_of(" \t")] == ';';
    Add(LintKind::kDateField, 1, Say(comment ? kTextNotAComment : kTextIndented, {when, text}),
        line);
    return;
  }
  if (CheckNeverOccurs(line, reading)) return;

  // Characters from the line's start: a double-byte one within the date
  // columns, or one whose second byte is the text column.
  for (size_t i = 0; i < kAgendaTextColumn;) {
    const size_t n = CharacterLength(line, i);
    if (n == 2 && i + 1 < kAgendaTextColumn) {
      Add(LintKind::kDoubleByteDate, i + 1, Say(kTextDoubleByteDate, {when, text}), line);
      return;
    }
    if (n == 2) {
      Add(LintKind::kTextSplitsCharacter, kAgendaTextColumn + 1,
          Say(kTextSplitsCharacter, {when, text}), line);
      return;
    }
    i += n;
  }

  // A year of four digits; a month or day of two, or of one beside a blank.
  const size_t columns[3] = {0, 5, 8}, widths[3] = {4, 2, 2};
  for (size_t f = 0; f < 3; ++f) {
    const unsigned char* field = reinterpret_cast<const unsigned char*>(line.data()) + columns[f];
    const bool plain =
        widths[f] == 4
            ? IsDigit(field[0]) && IsDigit(field[1]) && IsDigit(field[2]) && IsDigit(field[3])
            : (IsDigit(field[0]) && (IsDigit(field[1]) || IsBlank(field[1]))) ||
                  (IsBlank(field[0]) && IsDigit(field[1]));
    if (plain) continue;
    Add(LintKind::kDateField, columns[f] + 1, Say(kTextDateField, {when, text}), line);
    return;
  }
}

bool Checker::CheckNeverOccurs(const std::string& line, const AgendaLineReading& reading) {
  const int32_t values[3] = {reading.year, reading.month, reading.day};
  const Text names[3] = {kTextYearField, kTextMonthField, kTextDayField};
  const size_t columns[3] = {1, 6, 9};
  for (size_t f = 0; f < 3; ++f) {
    if (values[f] >= 0) continue;
    Add(LintKind::kNeverOccurs, columns[f],
        Say(kTextNegativeField, {Say(names[f]), Number(values[f])}), line);
    return true;
  }
  if (reading.month > 12) {
    Add(LintKind::kNeverOccurs, 6, Say(kTextNoSuchMonth, {Number(reading.month)}), line);
    return true;
  }
  if (reading.day > 31) {
    Add(LintKind::kNeverOccurs, 9, Say(kTextNoSuchDay, {Number(reading.day)}), line);
    return true;
  }
  if (reading.month == 0 || reading.day == 0) return false;
  // With every year, a leap year gives the month its most days.
  const int32_t year = reading.year != 0 ? reading.year : 2000;
  if (reading.day <= DaysInMonth(year, reading.month)) return false;
  if (reading.month == 2 && reading.day == 29) {
    Add(LintKind::kNeverOccurs, 9, Say(kTextNotALeapYear, {Number(reading.year)}), line);
  } else {
    const std::string month = options_.language == LintLanguage::kJapanese
                                  ? Number(reading.month)
                                  : kMonthNames[reading.month - 1];
    Add(LintKind::kNeverOccurs, 9, Say(kTextMonthHasNoDay, {month, Number(reading.day)}), line);
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

  CheckEncoding(bytes);
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
    Add(LintKind::kCtrlZ, ctrlZColumn_, Say(kTextCtrlZ, {Quoted(afterCtrlZ_)}));
  }
  return true;
}

}  // namespace

std::string FillIn(const std::string& pattern, const std::vector<std::string>& arguments) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 2 < pattern.size() && IsDigit(pattern[i + 1]) &&
        pattern[i + 2] == '}') {
      const size_t index = static_cast<size_t>(pattern[i + 1] - '0');
      if (index < arguments.size()) out += arguments[index];
      i += 2;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

bool LintAgendaFile(const char* name, const LintOptions& options,
                    std::vector<LintFinding>* findings) {
  Checker checker(options, findings);
  return checker.Check(name);
}
