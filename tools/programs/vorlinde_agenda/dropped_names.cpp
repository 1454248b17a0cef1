#include "tools/programs/vorlinde_agenda/dropped_names.h"

#include "tools/files/files.h"
#include "tools/strings/strings.h"

bool IsCalendarName(const std::string& name) {
  return EndsWithIgnoringAsciiCase(name, ".ics") || IsShortcutName(name);
}

bool IsShortcutName(const std::string& name) { return EndsWithIgnoringAsciiCase(name, ".url"); }

CalendarTarget DroppedCalendarTarget(
    const std::string& calendar, const std::function<bool(const std::string&)>& exists,
    const std::function<bool(const std::string&)>& importedFromIt) {
  const NumberedNames names = {WithExtension(calendar, ""), "-", 2, ".vrn"};
  bool refresh = false;
  const std::string agenda = FirstFittingName(names, [&](const std::string& name) {
    refresh = exists(name);
    return !refresh || importedFromIt(name);
  });
  if (agenda.empty()) return {"", false, true};
  return {agenda, refresh, agenda != names.stem + names.ending};
}
