// Files dropped onto the program, as people who never open a command prompt
// use it: a calendar becomes an agenda file beside it, and every agenda file
// is checked and its coming week shown, with the path to write into the chip.
#include <stdio.h>

#include <string>
#include <vector>

#include "tools/console/console.h"
#include "tools/desktop/desktop.h"
#include "tools/files/files.h"
#include "tools/icalendar/agenda_import.h"
#include "tools/programs/vorlinde_agenda/command_table.h"
#include "tools/programs/vorlinde_agenda/dropped_names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"
#include "tools/strings/strings.h"
#include "tools/web/web.h"

namespace {

// The web address an Internet shortcut (a .url file, as a browser makes of a
// link dragged out of it) leads to: its line URL=..., or "" (told).
std::string ShortcutAddress(const std::string& shortcut) {
  std::string bytes;
  if (const FileProblem problem = ReadWholeFile(shortcut, &bytes)) {
    Tell(stderr, kTextCannotRead, {Shown(shortcut), WhyFile(problem)});
    return "";
  }
  std::vector<std::string> lines = SplitLines(bytes);
  // A CR at the very end ends the last line as well.
  if (!lines.empty() && !lines.back().empty() && lines.back().back() == '\r') {
    lines.back().pop_back();
  }
  for (const std::string& line : lines) {
    if (EqualsIgnoringAsciiCase(line.substr(0, 4), "URL=") && IsWebAddress(line.substr(4))) {
      return line.substr(4);
    }
  }
  Tell(stderr, kTextNoCalendarAddress, {Shown(shortcut)});
  return "";
}

// A calendar, or a shortcut to one, imported into the agenda file the drop
// decides on; the agenda file, or "" when it could not be made (told).
std::string ImportDropped(const std::string& calendar) {
  const std::string source = IsShortcutName(calendar) ? ShortcutAddress(calendar) : calendar;
  if (source.empty()) return "";
  const CalendarTarget target = DroppedCalendarTarget(
      calendar, IsRegularFile,
      [&source](const std::string& agenda) { return ImportedFrom(agenda, source); });
  const std::string usual = WithExtension(calendar, ".vrn");
  if (target.agenda.empty()) {
    Tell(stderr, kTextCannotWrite, {Shown(usual), WhyFile({FileProblem::kExists, 0})});
    return "";
  }
  if (target.renamed) Tell(stdout, kTextKeptOther, {Shown(usual), Shown(target.agenda)});
  const int status =
      target.refresh ? RefreshFile(target.agenda, false) : ImportInto(source, target.agenda);
  return status == 0 ? target.agenda : "";
}

// Asks once whether the system should refresh the agenda files made from
// calendars every day; Enter is yes.
void OfferDailyRefresh(const std::vector<std::string>& agendas) {
  Tell(stdout, kTextAskDaily);
  fflush(stdout);
  char answer[64] = "";
  if (fgets(answer, sizeof answer, stdin) == nullptr) return;
  if (answer[0] != '\n' && answer[0] != 'y' && answer[0] != 'Y') return;
  for (const std::string& agenda : agendas) ScheduleRefresh(agenda, true);
}

}  // namespace

int DroppedFiles(const std::vector<std::string>& files, bool ask) {
  int status = 0;
  std::vector<std::string> agendas, imported;
  for (const std::string& file : files) {
    if (!IsCalendarName(file)) {
      agendas.push_back(file);
      continue;
    }
    // A calendar that cannot be imported is told why, and not checked line
    // by line as an agenda file.
    const std::string agenda = ImportDropped(file);
    if (agenda.empty()) {
      status = 2;
      continue;
    }
    agendas.push_back(agenda);
    imported.push_back(agenda);
  }
  if (agendas.empty()) return status;
  const int checked = CheckFiles(agendas, false, false);
  if (checked > status) status = checked;
  if (checked != 0) fputs("\n", stdout);
  AgendaDate today;
  if (Today(&today)) ShowDays(agendas, today, kDaysDropShows, false);
  if (imported.empty()) return status;
  // A path no chip can read is not handed on: the user is told why instead.
  std::string paths;
  for (const std::string& agenda : imported) {
    if (!TellChipLimits(stdout, agenda)) paths += Shown(AbsolutePath(agenda)) + "\r\n";
  }
  if (!paths.empty()) {
    Tell(stdout, kTextWriteIntoChip);
    PrintText(stdout, paths);
    if (PutOnClipboard(paths.substr(0, paths.size() - 2))) Tell(stdout, kTextOnClipboard);
  }
  if (ask) OfferDailyRefresh(imported);
  return status;
}
