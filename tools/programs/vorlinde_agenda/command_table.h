// The subcommands of vorlinde-agenda in one table, which the usage text, the
// dispatch and the dropped-file mode all read.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/arguments/arguments.h"
#include "tools/programs/vorlinde_agenda/texts.h"

// The days a drop onto the program shows, from today on.
constexpr long kDaysDropShows = 7;

// A text of the usage and the arguments it is said with, taken from the
// owners of the limits it names. A text alone, as most are, stands for one
// without arguments.
struct UsageText {
  UsageText(Text text, std::vector<std::string> arguments = {})
      : text(text), arguments(std::move(arguments)) {}
  Text text;
  std::vector<std::string> arguments;
};

// An option a subcommand takes, and the usage's lines on it.
struct CommandOption {
  Option option;
  UsageText help;
};

struct Command {
  const char* name;
  std::vector<CommandOption> options;
  Text synopsis;      // what follows the name in the usage
  UsageText summary;  // what it does
  Text exitStatus;    // its exit statuses; subcommands that share one are named together
  int (*run)(const Arguments& arguments);
};

const std::vector<Command>& Commands();

// The subcommand of that name, or null.
const Command* FindCommand(const std::string& name);

// The usage text, in the user's language (UTF-8).
std::string Usage();

// Runs the command line (without the program's name): the subcommand it
// names with its options, --help, or a usage error. The exit status.
int RunCommandLine(const std::vector<std::string>& arguments);
