// How vorlinde-agenda was started. Double-clicked in Explorer, or with files
// dropped onto it, the program gets a console window of its own, which closes
// the moment it ends: it then waits for Enter, so that what it printed can be
// read. From a command prompt, or with input that is not a console, it never
// waits.
#pragma once

#include <functional>
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

// Where a calendar dropped onto the program (an .ics file, or an Internet
// shortcut to a calendar's web address) is imported, and whether into a new
// agenda file or by refreshing one a drop made before.
struct CalendarTarget {
  std::string agenda;  // NAME.vrn beside NAME.ics, or NAME-2.vrn, NAME-3.vrn...
  bool refresh;        // it exists, written by import from this calendar
  bool renamed;        // NAME.vrn is another file, which is kept
};

// Whether `name` is a calendar's: it ends in ".ics", or in ".url" (an
// Internet shortcut, as a browser makes of a link dragged out of it), in any
// case.
bool IsCalendarName(const std::string& name);
bool IsShortcutName(const std::string& name);

// The first of NAME.vrn, NAME-2.vrn, NAME-3.vrn... beside `calendar` that
// does not exist, or that `importedFromIt` says was imported from it: any
// other file is never written over. No agenda when a thousand names are
// taken.
CalendarTarget DroppedCalendarTarget(const std::string& calendar,
                                     const std::function<bool(const std::string&)>& exists,
                                     const std::function<bool(const std::string&)>& importedFromIt);

// `arguments` without the program's name; `consoleProcesses` is how many
// processes share the console (0 without one); `isFile` tells whether a name
// is an existing regular file. A first argument that names a subcommand of
// the table (commands.h) or is an option makes a command.
StartMode DecideStartMode(const std::vector<std::string>& arguments, unsigned long consoleProcesses,
                          bool inputIsConsole, bool (*isFile)(const std::string& name));
