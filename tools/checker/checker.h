// The agenda checker: reads an agenda file as the module reads it (the same
// reader, the same reading of each line) and finds the lines whose meaning is
// probably not what their writer intended, each with a message that says
// what the module will do with it. Part of the agenda tool, not of the module.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

enum class FindingKind {
  // The file as a whole: its text is not Shift-JIS.
  kUtf16,
  kUtf8ByteOrderMark,
  kUtf8,
  // A line: at most one each, the first of these that applies, except that
  // an indented line is told as kDateField before its date is looked at.
  kCtrlZ,                // a Ctrl-Z ends the file before its end
  kLongLine,             // longer than 1023 bytes: read as several lines
  kNul,                  // a NUL ends the line before its end
  kLoneCr,               // a CR without an LF ends the line before its end
  kNoText,               // an entry line that can never show anything
  kNeverOccurs,          // a date no calendar has
  kDoubleByteDate,       // double-byte characters in the date columns
  kTextSplitsCharacter,  // the text begins on the second byte of a character
  kDateField,            // a date field not written in plain digits
  // Not a finding: how an entry line is read (CheckOptions::readings).
  kReading,
};

enum class CheckLanguage { kEnglish, kJapanese };

struct Finding {
  FindingKind kind;
  size_t line;          // from 1; file-wide findings are put on line 1
  size_t column;        // byte column from 1, or 0 when the whole line or file is meant
  std::string message;  // UTF-8
  std::string shown;    // the line as the module reads it (Shift-JIS), or empty
};

struct CheckOptions {
  CheckLanguage language = CheckLanguage::kEnglish;
  bool readings = false;  // also give a kReading for every entry line
  // Converts the Shift-JIS entry texts that messages quote to UTF-8.
  std::string (*shiftJisToUtf8)(const std::string& shiftJis) = nullptr;
};

// Checks the agenda file `name`, appending what it finds in the order of the
// file's lines. False when the file cannot be read.
bool CheckAgendaFile(const char* name, const CheckOptions& options, std::vector<Finding>* findings);
