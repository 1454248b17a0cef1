// The tools' one argument reader: option forms, "--", help, and strict dates
// and numbers, with what it reports for each mistake.
// Not covered: how the tools word the mistakes (tests/tool/check_agenda_tool.py).
#include "tools/arguments/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<Option> kOptions = {
    {Option::kFlag, "--raw", 0, 0},
    {Option::kText, "--output", 0, 0},
    {Option::kDate, "--date", 0, 0},
    {Option::kNumber, "--days", 1, 366},
};

// What the reader made of a command line: each option as NAME=VALUE, then
// the operands, "help", or the problem as KIND:ARGUMENT:VALUE.
std::string Read(const std::vector<std::string>& arguments) {
  Arguments read;
  const ArgumentProblem problem = ReadArguments(arguments, kOptions, &read);
  if (problem) {
    static const char* const kKinds[] = {"none", "unknown", "needs-value", "bad-date",
                                         "bad-number"};
    return std::string(kKinds[problem.kind]) + ":" + problem.argument + ":" + problem.value;
  }
  if (read.help) return "help";
  std::string out;
  for (const auto& option : read.options) out += option.first + "=" + option.second + " ";
  for (const std::string& operand : read.operands) out += "[" + operand + "]";
  return out;
}

TEST(ReadArguments, Forms) {
  const struct {
    std::vector<std::string> arguments;
    const char* read;
  } cases[] = {
      {{"--days", "3", "a.vrn"}, "--days=3 [a.vrn]"},
      {{"--days=3", "a.vrn"}, "--days=3 [a.vrn]"},
      {{"a.vrn", "--raw", "b.vrn"}, "--raw= [a.vrn][b.vrn]"},
      {{"--output", "--raw"}, "--output=--raw "},  // a value may look like an option
      {{"--output="}, "--output= "},
      {{"--days", "2", "--days", "5"}, "--days=5 "},  // the last counts
      {{"-", "a.vrn"}, "[-][a.vrn]"},                 // "-" alone is an operand
      {{"--", "--raw", "-h"}, "[--raw][-h]"},         // nothing after "--" is an option
      {{"a.vrn", "-h"}, "help"},
      {{"--help", "--frobnicate"}, "help"},
      {{"--frobnicate"}, "unknown:--frobnicate:"},
      {{"-x"}, "unknown:-x:"},
      {{"--raw=yes"}, "unknown:--raw=yes:"},  // a flag takes no value
      {{"--date"}, "needs-value:--date:"},
      {{"--date", "2026/1/5"}, "--date=2026/1/5 "},
      {{"--date=2026/02/30"}, "bad-date:--date:2026/02/30"},
      {{"--days", "+2"}, "bad-number:--days:+2"},
      {{"--days", " 2"}, "bad-number:--days: 2"},
      {{"--days", "2 "}, "bad-number:--days:2 "},
      {{"--days", "2x"}, "bad-number:--days:2x"},
      {{"--days", "-1"}, "bad-number:--days:-1"},
      {{"--days", "0"}, "bad-number:--days:0"},
      {{"--days", "367"}, "bad-number:--days:367"},
      {{"--days", "366"}, "--days=366 "},
      {{"--days", "99999999999"}, "bad-number:--days:99999999999"},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const std::string& a : c.arguments) line += a + " ";
    EXPECT_EQ(c.read, Read(c.arguments)) << line;
  }
}

TEST(ReadArguments, TypedValues) {
  Arguments read;
  ASSERT_FALSE(ReadArguments({"--date", "2026-1-5", "--days", "007"}, kOptions, &read));
  const AgendaDate date = read.Date("--date");
  EXPECT_EQ(2026, date.year);
  EXPECT_EQ(1, date.month);
  EXPECT_EQ(5, date.day);
  EXPECT_EQ(7, read.Number("--days"));
}

}  // namespace
