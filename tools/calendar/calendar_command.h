// The agenda tool's calendar subcommands: import, export and expand.
#pragma once

#include <string>

#include "agenda/agenda.h"

// Whether `command` is one of them.
bool IsCalendarCommand(const std::string& command);

// Runs the subcommand argv[1] with its arguments and returns the exit status.
// `parseDate` reads a date as the tool's --date does.
int RunCalendarCommand(int argc, char** argv, bool japanese,
                       bool (*parseDate)(const std::string& text, AgendaDate* date));
