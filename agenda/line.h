// How the engine reads an entry line: its three date fields and where its
// text lies. The matchers of agenda.h answer from this reading and the agenda
// checker explains it, so that what the checker says is what the module does.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The date takes columns 0 to 9 (year 0-3, month 5-6, day 8-9); the text may
// begin at column 10.
constexpr size_t kAgendaTextColumn = 10;

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
