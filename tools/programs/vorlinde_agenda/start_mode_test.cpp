// How vorlinde-agenda decides, from its arguments and its console, what to do
// and whether to wait for Enter before its window closes.
// Not covered: the console calls themselves (tests/tool/check_convert.py runs
// the program under Wine with its input closed).
#include "tools/programs/vorlinde_agenda/start_mode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool Exists(const std::string& name) { return name != "missing.vrn" && name != "list"; }

TEST(StartMode, Table) {
  const StartMode::Kind command = StartMode::kCommand, dropped = StartMode::kDroppedFiles,
                        explain = StartMode::kExplanation;
  const struct {
    std::vector<std::string> arguments;
    unsigned long consoleProcesses;
    bool inputIsConsole;
    StartMode::Kind kind;
    bool waits;
  } cases[] = {
      {{}, 1, true, explain, true},                        // double-clicked
      {{}, 1, false, explain, false},                      // ... with input closed
      {{}, 2, true, command, false},                       // from a command prompt: usage
      {{}, 0, true, command, false},                       // no console count (Linux)
      {{"a.vrn"}, 1, true, dropped, true},                 // a file dropped onto it
      {{"a.vrn", "b.vrn"}, 3, true, dropped, false},       // files named at a prompt
      {{"a.vrn", "missing.vrn"}, 1, true, command, true},  // not all files: a usage error
      {{"list"}, 2, true, command, false},                 // a mistyped command
      {{"check", "a.vrn"}, 1, true, command, true},
      {{"convert", "a.vrn"}, 2, true, command, false},
      {{"--help"}, 1, false, command, false},
  };
  for (const auto& c : cases) {
    std::string arguments;
    for (const std::string& a : c.arguments) arguments += a + " ";
    SCOPED_TRACE("arguments [" + arguments + "], " + std::to_string(c.consoleProcesses) +
                 " console processes, input " + (c.inputIsConsole ? "a console" : "closed"));
    const StartMode got =
        DecideStartMode(c.arguments, c.consoleProcesses, c.inputIsConsole, Exists);
    EXPECT_EQ(c.kind, got.kind);
    EXPECT_EQ(c.waits, got.waitForEnter);
  }
}

// Where a dropped calendar goes, from the files that lie beside it: "mine"
// stands for an agenda file imported from the calendar, "other" for any
// other file (from another calendar, or written by hand).
std::vector<std::string> beside;

bool Beside(const std::string& name) {
  for (const std::string& entry : beside) {
    if (entry.compare(entry.find(':') + 1, std::string::npos, name) == 0) return true;
  }
  return false;
}

bool Mine(const std::string& agenda) {
  return std::find(beside.begin(), beside.end(), "mine:" + agenda) != beside.end();
}

TEST(StartMode, DroppedCalendarTarget) {
  const struct {
    std::vector<std::string> beside;
    const char* agenda;
    bool refresh, renamed;
  } cases[] = {
      {{}, "C:\\cal\\work.vrn", false, false},
      {{"mine:C:\\cal\\work.vrn"}, "C:\\cal\\work.vrn", true, false},
      {{"other:C:\\cal\\work.vrn"}, "C:\\cal\\work-2.vrn", false, true},
      {{"other:C:\\cal\\work.vrn", "mine:C:\\cal\\work-2.vrn"}, "C:\\cal\\work-2.vrn", true, true},
      {{"other:C:\\cal\\work.vrn", "other:C:\\cal\\work-2.vrn"},
       "C:\\cal\\work-3.vrn",
       false,
       true},
  };
  EXPECT_TRUE(IsCalendarName("C:\\cal\\work.ICS"));
  EXPECT_TRUE(IsCalendarName("work.url"));
  EXPECT_FALSE(IsCalendarName("work.ics.vrn"));
  for (const auto& c : cases) {
    beside = c.beside;
    SCOPED_TRACE(testing::PrintToString(c.beside));
    const CalendarTarget target = DroppedCalendarTarget("C:\\cal\\work.ICS", Beside, Mine);
    EXPECT_EQ(c.agenda, target.agenda);
    EXPECT_EQ(c.refresh, target.refresh);
    EXPECT_EQ(c.renamed, target.renamed);
  }
}

}  // namespace
