// The checker's messages, English and Japanese side by side, so that a change
// to one is seen beside the other.
#pragma once

#include <stdint.h>

#include "tools/texts.h"

// Every text the checker writes. "{0}", "{1}" stand for the arguments the
// text is given.
enum CheckerText {
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

// The English and Japanese of a text.
const TextPair& CheckerTextPair(CheckerText text);

// A month's English name: "January" for 1.
const char* EnglishMonthName(int32_t month);
