// vorlinde-agenda: shows the memo a chip would show on any day, composed by
// the module's own engine, checks agenda files for the lines the module will
// probably read otherwise than their writer meant, re-saves files from
// today's editors (UTF-8, UTF-16) as the Shift-JIS the module reads, and
// bridges agenda files and calendars (tools/icalendar/).
#include <stdio.h>

#include <string>
#include <vector>

#include "tools/console/console.h"
#include "tools/files/files.h"
#include "tools/programs/vorlinde_agenda/command_table.h"
#include "tools/programs/vorlinde_agenda/start_mode.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = ProgramArguments(argc, argv);
  const StartMode start =
      DecideStartMode(arguments, ConsoleProcessCount(), InputIsConsole(), IsRegularFile);
  int status = 0;
  if (start.kind == StartMode::kExplanation) {
    Tell(stdout, kTextExplanation, {SayNumber(UserLanguage(), kDaysDropShows)});
  } else if (start.kind == StartMode::kDroppedFiles) {
    status = DroppedFiles(arguments, start.waitForEnter);
  } else {
    status = RunCommandLine(arguments);
  }
  if (start.waitForEnter) {
    Tell(stdout, kTextPressEnter);
    fflush(stdout);
    for (int c = getchar(); c != EOF && c != '\n';) c = getchar();
  }
  return status;
}
