// vorlinde-agenda's subcommands, each a function of its parsed command line
// that returns the exit status (agenda_commands.cpp, calendar_commands.cpp).
#pragma once

#include <time.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "tools/arguments/arguments.h"
#include "tools/programs/vorlinde_agenda/environment.h"

int Show(const Arguments& arguments);
int Check(const Arguments& arguments);
int Convert(const Arguments& arguments);
int Import(const Arguments& arguments);
int Export(const Arguments& arguments);
int Expand(const Arguments& arguments);
int Refresh(const Arguments& arguments);
int Holidays(const Arguments& arguments);

// The years --from and --until give, from `first` to `last`: by default this
// year and the next (within `last`). False, told, when they are none.
bool ReadYears(const Arguments& arguments, long first, long last, long* from, long* until);
int Almanac(const Arguments& arguments);

// The kinds almanac --only takes, as its usage lists them ("kyureki, sekki...").
std::string AlmanacKindNames();

// The memos of `days` days from `date` from the agenda files, as a chip
// listing them shows them. A file the module would pass over is named.
void ShowDays(const std::vector<std::string>& files, AgendaDate date, long days, bool raw);

// Checks the agenda files and tells what it found; the exit status.
int CheckFiles(const std::vector<std::string>& files, bool verbose, bool chipLimits);

// Files dropped onto the program (dropped_files.cpp): a calendar is imported
// into an agenda file beside it; each agenda file is checked, then the memos
// of the seven days from today shown, and the paths to write into the chip.
// When `ask`, it asks whether to refresh the imported ones every day.
int DroppedFiles(const std::vector<std::string>& files, bool ask);

// The calendar at `source` (a file or a web address) imported into
// `agendaFile` with the window of import's default, in the machine's time
// zone, the source recorded for refresh. The exit status.
int ImportInto(const std::string& source, const std::string& agendaFile);

// The agenda file imported again from its recorded sources, and told, when
// `verbose`, what changed; the exit status.
int RefreshFile(const std::string& file, bool verbose);

// Has the system refresh the agenda file every day (or no longer): a task of
// the Task Scheduler on Windows, the line for cron elsewhere. The exit status.
int ScheduleRefresh(const std::string& file, bool schedule);

// Writes `bytes` to standard output as they are, or to the file `output`
// through a file beside it, so that it is never left half written. The exit
// status: 0, or 2 when it cannot be written.
int WriteOutput(const std::string& bytes, const std::string& output);
