// How vorlinde-agenda decides, from its arguments and its console, what to do
// and whether to wait for Enter before its window closes.
// Not covered: the console calls themselves (tests/tool/check_convert.py runs
// the program under Wine with its input closed).
#include "tools/programs/vorlinde_agenda/start_mode.h"

#include <gtest/gtest.h>

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

}  // namespace
