#include "tools/programs/vorlinde_agenda/start_mode.h"

#include "tools/programs/vorlinde_agenda/command_table.h"

StartMode DecideStartMode(const std::vector<std::string>& arguments, unsigned long consoleProcesses,
                          bool inputIsConsole, bool (*isFile)(const std::string& name)) {
  // A console shared with nobody was made for this program alone: it was not
  // started from a command prompt, whose shell shares it.
  const bool ownWindow = consoleProcesses == 1;
  const bool waits = ownWindow && inputIsConsole;
  if (arguments.empty()) return {ownWindow ? StartMode::kExplanation : StartMode::kCommand, waits};
  const std::string& first = arguments.front();
  if (FindCommand(first) != nullptr || first.compare(0, 1, "-") == 0) {
    return {StartMode::kCommand, waits};
  }
  for (const std::string& argument : arguments) {
    if (!isFile(argument)) return {StartMode::kCommand, waits};
  }
  return {StartMode::kDroppedFiles, waits};
}
