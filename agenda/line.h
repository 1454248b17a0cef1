// How the engine reads an entry line: its three date fields and where its
// text lies. The matchers of agenda.h answer from this reading and the agenda
// checker explains it, so that what the checker says is what the module does.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Where a date field lies in an entry line: its first column and its width.
struct AgendaField {
  size_t column;
  size_t width;
};

// The date takes columns 0 to 9: the year in 0-3, the month in 5-6, the day in
// 8-9. The bytes between them, at columns 4 and 7, are not looked at ("/" by
// convention). The text may begin at column 10.
constexpr AgendaField kAgendaYearField = {0, 4};
constexpr AgendaField kAgendaMonthField = {5, 2};
constexpr AgendaField kAgendaDayField = {8, 2};
constexpr size_t kAgendaSeparatorColumns[2] = {4, 7};
constexpr size_t kAgendaTextColumn = 10;
static_assert(kAgendaYearField.column + kAgendaYearField.width == kAgendaSeparatorColumns[0] &&
                  kAgendaSeparatorColumns[0] + 1 == kAgendaMonthField.column &&
                  kAgendaMonthField.column + kAgendaMonthField.width ==
                      kAgendaSeparatorColumns[1] &&
                  kAgendaSeparatorColumns[1] + 1 == kAgendaDayField.column &&
                  kAgendaDayField.column + kAgendaDayField.width == kAgendaTextColumn,
              "the fields and separators fill the date columns in order");

struct AgendaLineReading {
  // The fields' values; 0 stands for every year, month or day.
  int32_t year;
  int32_t month;
  int32_t day;
  // The text is the bytes [textBegin, textEnd): from column 10 on, after any
  // tabs and spaces, to the line's end. The line has none when they meet.
  size_t textBegin;
  size_t textEnd;
};

// Reads an entry line of `length` bytes, the line as composition cuts it
// (before its first CR, LF or NUL). False, leaving `*reading` alone, for a
// line shorter than 11 bytes: it has no text column, and nothing of it is
// read.
bool ReadAgendaLine(const char* line, size_t length, AgendaLineReading* reading);
