// The agenda checker: reads an agenda file as the module reads it (the same
// reader, the same reading of each line) and finds the lines whose meaning is
// probably not what their writer intended, each with a message that says
// what the module will do with it. Used by the agenda tool, not the module.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

enum class LintKind {
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
  // Not a finding: how an entry line is read (LintOptions::readings).
  kReading,
};

enum class LintLanguage { kEnglish, kJapanese };

struct LintFinding {
  LintKind kind;
  size_t line;          // from 1; file-wide findings are put on line 1
  size_t column;        // byte column from 1, or 0 when the whole line or file is meant
  std::string message;  // UTF-8
  std::string shown;    // the line as the module reads it (Shift-JIS), or empty
};

struct LintOptions {
  LintLanguage language = LintLanguage::kEnglish;
  bool readings = false;  // also give a kReading for every entry line
  // Converts the Shift-JIS entry texts that messages quote to UTF-8.
  std::string (*shiftJisToUtf8)(const std::string& shiftJis) = nullptr;
};

// A text the checker or the agenda tool writes, in English and in Japanese
// (UTF-8), side by side; "{0}" to "{9}" stand for the arguments it is given.
struct TextPair {
  const char* english;
  const char* japanese;
};

// `pattern` with "{0}" to "{9}" replaced by the arguments given (a missing
// one by nothing).
std::string FillIn(const std::string& pattern, const std::vector<std::string>& arguments);

// Checks the agenda file `name`, appending what it finds in the order of the
// file's lines. False when the file cannot be read.
bool LintAgendaFile(const char* name, const LintOptions& options,
                    std::vector<LintFinding>* findings);
