// A child run natively: its exit status, its standard handles on /dev/null
// (or its output on ours, when kept), stopped after its time, and a program
// that cannot be run told as not started.
// Not covered: the Windows children (schtasks, and vorlinde-agenda.exe run
// by the task), which the wine tests of refresh --schedule run.
#include "tools/processes/processes.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

// Where this program's standard handle `fd` leads, as /proc tells it.
std::string Target(int fd) {
  char path[PATH_MAX];
  const ssize_t length =
      readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : "(none)";
}

// A shell line that exits with 0 when the shell's handle `fd` leads to
// `target`, else with 1.
std::string Leads(int fd, const std::string& target) {
  return "[ \"$(readlink /proc/$$/fd/" + std::to_string(fd) + ")\" = '" + target + "' ]";
}

TEST(Processes, RunChild) {
  const ChildOptions nulled = {false, 10000, false}, kept = {true, 10000, false};
  const struct {
    const char* what;
    std::string program, line;  // the program, run with "-c LINE" when LINE is not empty
    ChildOptions options;
    ChildRun::Outcome outcome;
    unsigned long code;
  } cases[] = {
      {"an exit status", "/bin/sh", "exit 3", nulled, ChildRun::kFinished, 3},
      {"input on /dev/null", "/bin/sh", Leads(0, "/dev/null"), nulled, ChildRun::kFinished, 0},
      {"input read to its end at once", "/bin/sh", "read line; exit $?", nulled,
       ChildRun::kFinished, 1},
      {"output on /dev/null", "/bin/sh", Leads(1, "/dev/null") + " && " + Leads(2, "/dev/null"),
       nulled, ChildRun::kFinished, 0},
      {"output kept", "/bin/sh", Leads(1, Target(1)) + " && " + Leads(2, Target(2)), kept,
       ChildRun::kFinished, 0},
      {"input on /dev/null with output kept", "/bin/sh", Leads(0, "/dev/null"), kept,
       ChildRun::kFinished, 0},
      {"a signal", "/bin/sh", "kill -TERM $$", nulled, ChildRun::kFinished, 128 + 15},
      {"stopped after its time",
       "/bin/sh",
       "exec sleep 30",
       {false, 200, false},
       ChildRun::kTimedOut,
       0},
      {"no such program", "/no/such/program", "", nulled, ChildRun::kNotStarted, ENOENT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ": " + c.program + " -c " + c.line);
    std::vector<std::string> words = {c.program};
    if (!c.line.empty()) words.insert(words.end(), {"-c", c.line});
    std::vector<char*> arguments;
    for (std::string& word : words) arguments.push_back(&word[0]);
    arguments.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const ChildRun run = RunChild(c.program.c_str(), arguments.data(), c.options);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(c.outcome, run.outcome);
    EXPECT_EQ(c.code, run.code);
    // Well within the 30 s the child would sleep: it was stopped, not waited for.
    EXPECT_LT(took, std::chrono::seconds(10));
  }
}

}  // namespace
