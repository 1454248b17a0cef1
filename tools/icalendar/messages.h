// What the calendar bridge has to tell about its input: warnings, on which it
// goes on, and errors, on which it stops. The agenda tool words them.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

enum class CalendarMessageKind {
  // Warnings.
  kSubstituted,   // a summary had characters Shift-JIS lacks: {0} the summary
  kShortened,     // a summary was cut to fit an agenda line: {0} the summary
  kUnknownZone,   // a TZID names no zone known: {0} the TZID, {1} the summary
  kNoStart,       // an event without DTSTART was passed over: {0} the summary
  kTooManyLines,  // an event gave more lines than an agenda can use: {0} the summary, {1} how many
  kLeftOut,       // an agenda line was not exported: {0} why (its finding, worded by the program)
  kFileLeftOut,   // an agenda file was not exported: {0} why (likewise)
  // Errors.
  kNotICalendar,  // the file is not iCalendar
  kDamaged,       // the file is damaged: {0} what libical or the reader found
  kUnreadable,    // an agenda file cannot be read
};

struct CalendarMessage {
  CalendarMessageKind kind;
  std::string file;                    // as messages name it (UTF-8)
  size_t line;                         // from 1; 0 for the file as a whole
  std::vector<std::string> arguments;  // UTF-8, quoted as messages quote text
};
