#include "tools/programs/vorlinde_agenda/start_mode.h"

#include "tools/programs/vorlinde_agenda/commands.h"
#include "tools/files/files.h"

namespace {

// The last four characters of `name`, in lower case: its extension, if any.
std::string Ending(const std::string& name) {
  std::string end = name.size() >= 4 ? name.substr(name.size() - 4) : "";
  for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return end;
}

}  // namespace

bool IsCalendarName(const std::string& name) {
  return Ending(name) == ".ics" || IsShortcutName(name);
}

bool IsShortcutName(const std::string& name) { return Ending(name) == ".url"; }

CalendarTarget DroppedCalendarTarget(
    const std::string& calendar, const std::function<bool(const std::string&)>& exists,
    const std::function<bool(const std::string&)>& importedFromIt) {
  const std::string stem = WithExtension(calendar, "");
  for (int n = 1; n < 1000; ++n) {
    const std::string agenda = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".vrn";
    if (!exists(agenda)) return {agenda, false, n > 1};
    if (importedFromIt(agenda)) return {agenda, true, n > 1};
  }
  return {"", false, true};
}

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
