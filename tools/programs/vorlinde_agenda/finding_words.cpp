#include "tools/programs/vorlinde_agenda/finding_words.h"

#include <stdint.h>
#include <stdio.h>

#include "tools/encodings/encodings.h"
#include "tools/files/files.h"

namespace {

std::string Number(long long value) { return std::to_string(value); }

std::string Padded(int32_t value, int width) {
  char text[16];
  snprintf(text, sizeof text, "%0*d", width, static_cast<int>(value));
  return text;
}

// An entry text (Shift-JIS) as a message quotes it.
std::string Quote(const std::string& shiftJis) { return Quoted(ShiftJisToUtf8(shiftJis)); }

// The days a reading applies to, e.g. "every year, month 04, day 01": in
// Japanese a month or day goes unpadded.
std::string When(Language language, const LineReading& reading) {
  auto field = [&](int32_t value, Text every, Text named, int width) {
    if (value == 0) return Say(language, every);
    const bool unpadded = language == Language::kJapanese && width == 2;
    return Say(language, named, {unpadded ? Number(value) : Padded(value, width)});
  };
  const std::string join = Say(language, kTextDateJoin);
  return field(reading.year, kTextEveryYear, kTextYear, 4) + join +
         field(reading.month, kTextEveryMonth, kTextMonth, 2) + join +
         field(reading.day, kTextEveryDay, kTextDay, 2);
}

// How a line or a piece of one is read, as readings and a long line's pieces
// tell it.
std::string Described(Language language, const LineReading& reading) {
  switch (reading.kind) {
    case LineReading::kComment:
      return Say(language, kTextComment);
    case LineReading::kEmpty:
      return Say(language, kTextNothing);
    case LineReading::kShort:
      return Say(language, kTextShortReading);
    case LineReading::kShowsNothing:
      return Say(language, kTextShowsNothing, {When(language, reading)});
    case LineReading::kShows:
      break;
  }
  return Say(language, kTextReading, {When(language, reading), Quote(reading.text)});
}

// "from column 1024, ...; from column 2047, ...; and 2 more".
std::string Pieces(Language language, const Finding& finding) {
  std::string out;
  for (const LinePiece& piece : finding.pieces) {
    if (!out.empty()) out += Say(language, kTextPieceSeparator);
    out += Say(language, kTextPiece, {Number(piece.column), Described(language, piece.reading)});
  }
  if (finding.morePieces > 0) {
    out += Say(language, kTextPieceSeparator) +
           Say(language, kTextMorePieces, {Number(finding.morePieces)});
  }
  return out;
}

Text FieldName(DateField field) {
  switch (field) {
    case DateField::kYear:
      return kTextYearField;
    case DateField::kMonth:
      return kTextMonthField;
    case DateField::kDay:
      break;
  }
  return kTextDayField;
}

int32_t FieldValue(const LineReading& reading, DateField field) {
  return field == DateField::kYear    ? reading.year
         : field == DateField::kMonth ? reading.month
                                      : reading.day;
}

// A line read otherwise than it looks: the sentence `text` with the days it
// applies to and the text it shows.
std::string ReadInstead(Language language, Text text, const LineReading& reading) {
  return Say(language, text, {When(language, reading), Quote(reading.text)});
}

}  // namespace

std::string FindingWords(Language language, const Finding& finding, const std::string& file) {
  const LineReading& reading = finding.reading;
  switch (finding.kind) {
    case FindingKind::kICalendar:
      return Say(language, kTextICalendar, {file, WithExtension(file, ".vrn")});
    case FindingKind::kUtf16:
      return Say(language, kTextUtf16, {file});
    case FindingKind::kUtf8ByteOrderMark:
      return Say(language, kTextUtf8ByteOrderMark, {file});
    case FindingKind::kUtf8:
      return Say(language, kTextUtf8, {file});
    case FindingKind::kCtrlZ:
      return Say(language, kTextCtrlZ, {Quote(finding.unread)});
    case FindingKind::kLongLine:
      return Say(language, kTextLongLine, {Number(finding.length), Pieces(language, finding)});
    case FindingKind::kNul:
      return Say(language, kTextNul, {Quote(finding.unread)});
    case FindingKind::kLoneCr:
      return Say(language, kTextLoneCr, {Quote(finding.unread)});
    case FindingKind::kShortLine:
      return Say(language, kTextShort);
    case FindingKind::kNothingToShow:
      return Say(language, kTextBlank);
    case FindingKind::kNegativeField:
      return Say(
          language, kTextNegativeField,
          {Say(language, FieldName(finding.field)), Number(FieldValue(reading, finding.field))});
    case FindingKind::kNoSuchMonth:
      return Say(language, kTextNoSuchMonth, {Number(reading.month)});
    case FindingKind::kNoSuchDay:
      return Say(language, kTextNoSuchDay, {Number(reading.day)});
    case FindingKind::kNotALeapYear:
      return Say(language, kTextNotALeapYear, {Number(reading.year)});
    case FindingKind::kMonthHasNoDay:
      return Say(language, kTextMonthHasNoDay,
                 {Say(language, static_cast<Text>(kTextJanuary + reading.month - 1)),
                  Number(reading.day)});
    case FindingKind::kReading:
      return Described(language, reading);
    case FindingKind::kDoubleByteDate:
      return ReadInstead(language, kTextDoubleByteDate, reading);
    case FindingKind::kTextSplitsCharacter:
      return ReadInstead(language, kTextSplitsCharacter, reading);
    case FindingKind::kNotAComment:
      return ReadInstead(language, kTextNotAComment, reading);
    case FindingKind::kIndented:
      return ReadInstead(language, kTextIndented, reading);
    case FindingKind::kDateField:
      break;
  }
  return ReadInstead(language, kTextDateField, reading);
}

std::string FindingLine(const Finding& finding) {
  std::string shown;
  for (unsigned char c : finding.bytes) {
    shown += (c < 0x20 && c != '\t') || c == 0x7F ? '?' : static_cast<char>(c);
  }
  return shown;
}
