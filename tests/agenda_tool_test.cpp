// vorlinde-agenda as users run it: show prints the memo the module's engine
// composes, day after calendar day, and both commands end with the status
// their help promises. Shift-JIS bytes are written as escapes.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "tests/composed.h"
#include "tests/test_support.h"
#include "tests/time_zone.h"

namespace {

using testing_support::Compose;
using testing_support::Escaped;
using testing_support::ScratchDir;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun RunTool(const std::string& arguments) {
  ScratchDir dir;
  const std::string errPath = dir.path() + "/stderr";
  // In English, whatever the environment the tests run in.
  const std::string command = std::string("LC_ALL=C ") + VORLINDE_AGENDA_COMMAND + " " + arguments +
                              " 2>" + Quoted(errPath);
  ToolRun run = {-1, "", ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (FILE* err = fopen(errPath.c_str(), "rb")) {
    while ((got = fread(buffer, 1, sizeof buffer, err)) > 0) run.err.append(buffer, got);
    fclose(err);
  }
  return run;
}

std::string DateArgument(AgendaDate date, char separator) {
  char text[32];
  snprintf(text, sizeof text, "%04d%c%02d%c%02d", date.year, separator, date.month, separator,
           date.day);
  return text;
}

// Two agenda files with entries of every kind, and the file list a chip
// naming them and a missing file would hold.
class AgendaToolTest : public ::testing::Test {
 protected:
  AgendaToolTest()
      : a_(dir_.Write("a.vrn",
                      "; entries of every kind\r\n"
                      "1998/04/01 \x83\x47\x83\x43\x83\x76\x83\x8A\x83\x8B\r\n"  // エイプリル
                      "0000/12/24 Christmas Eve\r\n"
                      "0000/00/01 first of the month\r\n"
                      "0000/00/00 every day\r\n"
                      "2026/1/15 read as the 5th\r\n"
                      "0000/02/29 leap day\r\n")),
        b_(dir_.Write("b.vrn",
                      "2026/11/01 daylight saving ends\n"
                      "0000/03/08 daylight saving begins\n"
                      "2027/01/01 new year\n"
                      "0000/00/31 a 31st\n")),
        missing_(dir_.path() + "/missing.vrn"),
        files_(Quoted(a_) + " " + Quoted(b_) + " " + Quoted(missing_)),
        list_(a_ + "\r\n" + b_ + "\r\n" + missing_) {}

  ScratchDir dir_;
  std::string a_, b_, missing_;
  std::string files_;  // as arguments
  std::string list_;   // as a chip's text
};

TEST_F(AgendaToolTest, ShowPrintsTheMemoTheModuleComposes) {
  const AgendaDate dates[] = {{1998, 4, 1},  {2026, 12, 24}, {2026, 1, 5},
                              {2028, 2, 29}, {2026, 11, 1},  {2026, 7, 9}};
  for (const AgendaDate& date : dates) {
    for (char separator : {'/', '-'}) {
      const std::string expected = Compose(list_, date).text + "\r\n";
      const ToolRun run =
          RunTool("show --raw --date " + DateArgument(date, separator) + " " + files_);
      EXPECT_EQ(expected, run.out)
          << DateArgument(date, separator) << ": want \"" << Escaped(expected) << "\"\n got \""
          << Escaped(run.out) << "\"";
      EXPECT_EQ(0, run.status) << run.err;
      EXPECT_NE(std::string::npos, run.err.find("cannot read " + missing_)) << run.err;
    }
  }
}

TEST_F(AgendaToolTest, DaysAreCalendarDays) {
  // Days of 23 and 25 hours where the days change, and a year's and a
  // February's end.
  fixed_clock::TimeZone zone("America/New_York");
  const struct {
    const char* start;
    int days;
    std::vector<AgendaDate> dates;
  } cases[] = {
      {"2026/03/07", 3, {{2026, 3, 7}, {2026, 3, 8}, {2026, 3, 9}}},
      {"2026/10/31", 3, {{2026, 10, 31}, {2026, 11, 1}, {2026, 11, 2}}},
      {"2026/12/30", 4, {{2026, 12, 30}, {2026, 12, 31}, {2027, 1, 1}, {2027, 1, 2}}},
      {"2028/02/28", 3, {{2028, 2, 28}, {2028, 2, 29}, {2028, 3, 1}}},
  };
  for (const auto& c : cases) {
    std::string expected;
    for (const AgendaDate& date : c.dates) {
      if (!expected.empty()) expected += "\r\n";
      expected += Compose(list_, date).text + "\r\n";
    }
    const ToolRun run = RunTool("show --raw --date " + std::string(c.start) + " --days " +
                                std::to_string(c.days) + " " + files_);
    EXPECT_EQ(expected, run.out) << c.start << " for " << c.days << " days: want \""
                                 << Escaped(expected) << "\"\n got \"" << Escaped(run.out) << "\"";
  }
}

TEST_F(AgendaToolTest, ExitStatuses) {
  const std::string clean = Quoted(b_), traps = Quoted(a_), missing = Quoted(missing_);
  const struct {
    std::string arguments;
    int status;
    const char* errorNames;  // what standard error must name, or "" for nothing at all
  } cases[] = {
      {"check " + clean, 0, ""},
      {"check --verbose " + clean, 0, ""},
      {"check " + traps + " " + clean, 1, ""},
      {"check " + missing + " " + traps, 2, "missing.vrn"},
      {"show --date 2026/02/30 " + clean, 2, "2026/02/30"},
      {"show --date 2026/13/01 " + clean, 2, "2026/13/01"},
      {"show --date tomorrow " + clean, 2, "tomorrow"},
      {"show --days 367 " + clean, 2, "367"},
      {"show --date 2026/12/24", 2, "no agenda file"},
      {"list " + clean, 2, "list"},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(c.arguments);
    EXPECT_EQ(c.status, run.status) << c.arguments << "\n" << run.out << run.err;
    if (c.errorNames[0] == '\0') {
      EXPECT_EQ("", run.err) << c.arguments;
    } else {
      EXPECT_NE(std::string::npos, run.err.find(c.errorNames)) << c.arguments << "\n" << run.err;
    }
  }
  // A clean file, checked without --verbose, gets no output at all.
  EXPECT_EQ("", RunTool("check " + clean).out);
}

}  // namespace
