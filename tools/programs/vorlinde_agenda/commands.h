// The subcommands of vorlinde-agenda in one table, which the usage text, the
// dispatch and the dropped-file mode all read.
#pragma once

#include <string>
#include <vector>

#include "tools/arguments/arguments.h"
#include "tools/programs/vorlinde_agenda/texts.h"

struct Command {
  const char* name;
  std::vector<OptionSpec> options;
  Text synopsis;                 // what follows the name in the usage
  Text summary;                  // what it does
  std::vector<Text> optionHelp;  // the usage's lines on its options
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
