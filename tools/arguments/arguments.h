// One reader for the tools' command lines. An option is --name, or takes a
// value as --name VALUE or --name=VALUE; "--" ends the options, and every
// argument that is not an option is an operand. Dates and numbers are read
// strictly: digits only, no sign, no spaces, nothing after them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "agenda/agenda.h"

// The option that asks for the usage instead ("-h" too).
constexpr char kHelpOption[] = "--help";

struct Option {
  enum Kind { kFlag, kText, kDate, kNumber } kind;
  const char* name;  // "--date"
  long least;        // the range of a kNumber
  long most;
};

// What a command line said. Of an option given twice, the last counts.
struct Arguments {
  bool help = false;  // -h or --help before any "--"
  std::vector<std::string> operands;
  std::map<std::string, std::string> options;  // by name; a flag's value is empty

  bool Has(const std::string& name) const { return options.count(name) != 0; }
  // The value of a kText, kDate or kNumber option given, as its kind reads it.
  std::string Text(const std::string& name) const;
  AgendaDate Date(const std::string& name) const;
  long Number(const std::string& name) const;
};

struct ArgumentProblem {
  enum Kind {
    kNone,
    kUnknownOption,  // `argument` as given (a flag given a value included)
    kNeedsValue,     // `argument` is the option's name
    kBadDate,        // `argument` the name, `value` what was given
    kBadNumber,      // likewise; `least` and `most` the range
  } kind = kNone;
  std::string argument;
  std::string value;
  long least = 0, most = 0;

  explicit operator bool() const { return kind != kNone; }
};

// Reads `arguments` (without the program's name, or a subcommand's) against
// the options a command takes, into `*read`. Stops at -h or --help.
ArgumentProblem ReadArguments(const std::vector<std::string>& arguments,
                              const std::vector<Option>& options, Arguments* read);

// A whole number written in digits alone, from `least` to `most`.
bool ReadWholeNumber(const std::string& text, long least, long most, long* value);
