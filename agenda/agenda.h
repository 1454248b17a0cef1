// The agenda engine: matching an agenda line against a date, reading agenda
// files, taking names out of a file list and composing the memo the host
// shows. It takes the date as an argument and never asks the clock.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

struct AgendaDate {
  int32_t year;   // full year, e.g. 1999
  int32_t month;  // 1 to 12
  int32_t day;    // 1 to 31
};

// Where the entry text of `line` (NUL-terminated) begins, or nullptr when the
// line does not apply to the date or has no text: the line as ReadAgendaLine
// (agenda/line.h) reads it.
const char* MatchAgendaLine(int32_t year, int32_t month, int32_t day, const char* line);

// The same for a piece as the agenda reader gives it (`length` bytes and a
// NUL, an LF only as its last byte): cuts the piece at its line's end (the
// first CR, LF or NUL) and returns where the entry text begins, with its
// length in `*textLength`, or nullptr. The answer is MatchAgendaLine's on the
// cut line; most lines of an agenda are for other days, and their date fields
// rule them out before the rest of the line is looked at.
const char* MatchAgendaPiece(int32_t year, int32_t month, int32_t day, char* piece, size_t length,
                             size_t* textLength);

// Size of the name buffer: a file name has at most 259 bytes.
constexpr size_t kFileNameBufferSize = 260;

// Copies the next file name of `fileList` (its first `listLength` bytes) into
// `name` and advances `*position`. Line breaks and tabs before a name are
// skipped; a line too long for the name buffer is skipped whole. Returns false
// when no further name is left.
bool NextFileName(size_t* position, char (&name)[kFileNameBufferSize], const char* fileList,
                  size_t listLength);

// Appends `text` to the memo block `*memoText` (a movable local block holding
// a NUL-terminated text), creating it with 128 bytes if there is none. The
// block grows by the smallest multiple of 128 bytes that exceeds the text's
// length whenever the text would not fit with its NUL. A null or empty text
// changes nothing. Returns false, leaving the memo as it was, when memory
// could not be had.
bool AppendMemoText(HLOCAL* memoText, const char* text);

// Composes the memo for `date` from the file list into `*memoText`, releasing
// any memo it held, and returns the memo's length (0 only when no memo could
// be made). The list is its first `listLength` bytes; it need not end in NUL.
int32_t ComposeMemo(const char* fileList, size_t listLength, AgendaDate date, HLOCAL* memoText);

// The same for a NUL-terminated (or null) file list.
int32_t ComposeMemo(const char* fileList, AgendaDate date, HLOCAL* memoText);
