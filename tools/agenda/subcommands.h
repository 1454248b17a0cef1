// vorlinde-agenda's subcommands, each a function of its parsed command line
// that returns the exit status (agenda_commands.cpp, calendar_commands.cpp).
#pragma once

#include <string>
#include <vector>

#include "tools/arguments/arguments.h"

int Show(const Arguments& arguments);
int Check(const Arguments& arguments);
int Convert(const Arguments& arguments);
int Import(const Arguments& arguments);
int Export(const Arguments& arguments);
int Expand(const Arguments& arguments);
int Refresh(const Arguments& arguments);

// Files dropped onto the program: each checked, then the memos of the seven
// days from today.
int CheckAndShowWeek(const std::vector<std::string>& files);

// Writes `bytes` to standard output as they are, or to the file `output`
// through a file beside it, so that it is never left half written. The exit
// status: 0, or 2 when it cannot be written.
int WriteOutput(const std::string& bytes, const std::string& output);
