// The agenda checker: reads an agenda file as the module reads it (the same
// reader, the same reading of each line) and finds the lines whose meaning is
// probably not what their writer intended, each with a message that says
// what the module will do with it. Part of the agenda tool, not of the module.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "agenda/line.h"
#include "tools/agenda_lines/agenda_lines.h"
#include "tools/programs/vorlinde_agenda/texts.h"

enum class FindingKind {
  // The file as a whole: it is a calendar, or its text is not Shift-JIS.
  kICalendar,
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

// Whether a finding is about the file as a whole.
bool IsFileWide(FindingKind kind);

struct Finding {
  FindingKind kind;
  size_t line;          // from 1; file-wide findings are put on line 1
  size_t column;        // byte column from 1, or 0 when the whole line or file is meant
  std::string message;  // UTF-8
  std::string shown;    // the line as the module reads it (Shift-JIS), or empty
};

struct CheckOptions {
  Language language = Language::kEnglish;
  bool readings = false;  // also give a kReading for every entry line
};

// Checks one agenda file line by line, so that a caller that goes through
// the file's lines itself (export) can ask about each.
class AgendaChecker {
 public:
  explicit AgendaChecker(const CheckOptions& options) : options_(options) {}

  // Reads the file `name` whole for what concerns all of it (a calendar, its
  // encoding, a Ctrl-Z before its end), appending those findings; messages
  // name it as `shownName` (UTF-8). False when it cannot be read.
  bool Begin(const std::string& name, const std::string& shownName, std::vector<Finding>* findings);
  // Whether the file's lines mean anything to the plug-in (not when UTF-16,
  // nor in a calendar).
  bool LinesAreText() const { return !linesMeanNothing_; }
  // Appends what concerns one line of the file, the lines in order.
  void CheckLine(const AgendaLine& line, std::vector<Finding>* findings);
  // Appends what concerns no line the reader gave: a Ctrl-Z at a line's start.
  void End(std::vector<Finding>* findings);

 private:
  std::string Say(Text text, const std::vector<std::string>& arguments = {}) const;
  std::string Quote(const std::string& shiftJis) const;
  std::string When(const AgendaLineReading& reading) const;
  std::string Describe(const std::string& piece) const;
  void Add(FindingKind kind, size_t column, const std::string& message,
           const std::string& shown = "");
  void CheckCut(const std::string& piece);
  void CheckEntry(const std::string& line);
  bool CheckNeverOccurs(const std::string& line, const AgendaLineReading& reading);

  const CheckOptions options_;
  std::vector<Finding>* findings_ = nullptr;
  size_t line_ = 1;
  bool linesMeanNothing_ = false;
  bool byteOrderMark_ = false;
  size_t ctrlZLine_ = 0;  // the line a Ctrl-Z ends the file on, 0 for none
  size_t ctrlZColumn_ = 0;
  std::string afterCtrlZ_;  // the first of what the Ctrl-Z keeps from being read
  bool ctrlZAdded_ = false;
};

// Checks the agenda file `name` (named `shownName` in messages), appending
// what it finds in the order of the file's lines. False when the file cannot
// be read.
bool CheckAgendaFile(const std::string& name, const std::string& shownName,
                     const CheckOptions& options, std::vector<Finding>* findings);
