// How vorlinde-agenda was started. Double-clicked in Explorer, or with files
// dropped onto it, the program gets a console window of its own, which closes
// the moment it ends: it then waits for Enter, so that what it printed can be
// read. From a command prompt, or with input that is not a console, it never
// waits.
#pragma once

#include <string>
#include <vector>

struct StartMode {
  enum Kind {
    kCommand,       // a subcommand, an option, or a usage error
    kDroppedFiles,  // only names of existing files: check them and show their week
    kExplanation,   // nothing given, in a window of its own: say how to use it
  } kind;
  bool waitForEnter;
};

// `arguments` without the program's name; `consoleProcesses` is how many
// processes share the console (0 without one); `isFile` tells whether a name
// is an existing regular file. A first argument that names a subcommand of
// the table (command_table.h) or is an option makes a command.
StartMode DecideStartMode(const std::vector<std::string>& arguments, unsigned long consoleProcesses,
                          bool inputIsConsole, bool (*isFile)(const std::string& name));
