// The daily refresh's names and command lines: the task's name, the Windows
// quoting of its argument, the crontab line, and what the windowless companion
// passes on from its command line.
// Not covered here: the task definition's XML, parsed back in
// tests/tool/check_task_xml.py; schtasks itself and the companion's process
// (by hand under Wine: Task Scheduler under Wine keeps neither triggers nor
// actions).
#include "tools/schedule/schedule.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/programs/vorlinde_agenda_task/command_line.h"
#include "tools/strings/strings.h"

namespace {

TEST(TaskName, OneTaskPerFileAndUser) {
  const std::string file = "C:\\Users\\Taro\\Documents\\cal.vrn", user = "PC\\Taro";
  // The names stay as they are from one release to the next, or tasks that
  // an older release registered could not be removed.
  EXPECT_EQ("Vorlinde\\refresh cal.vrn 09400dc7", TaskName(file, user));
  const struct {
    std::string file, user;
    bool sameTask;  // Windows compares task names without regard to case
  } cases[] = {
      {"c:/users/taro/documents/CAL.VRN", "pc\\TARO", true},
      {"C:\\Users\\Taro\\Documents\\old\\cal.vrn", user, false},
      {"C:\\Users\\Taro\\Documents\\cal.vrn.bak", user, false},
      {file, "PC\\Hanako", false},
      {file, "Taro", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " for " + c.user);
    EXPECT_EQ(c.sameTask, AsciiUpper(TaskName(c.file, c.user)) == AsciiUpper(TaskName(file, user)));
  }
}

TEST(TaskName, FileNamePart) {
  std::string long_name;
  for (int i = 0; i < 60; ++i) long_name += u8"予";
  const struct {
    std::string file, part;
  } cases[] = {
      {"D:\\My Agenda\\family & work.vrn", "family & work.vrn"},
      {"/home/taro/what? <when>: \"a|b*\".vrn", "what_ _when__ _a_b__.vrn"},
      {std::string("C:\\tab\there\x7F.vrn"), "tab_here_.vrn"},
      {"C:\\" + long_name, long_name.substr(0, 48 * 3)},  // 48 characters, none cut in half
      {"cal.vrn", "cal.vrn"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string name = TaskName(c.file, "PC\\Taro");
    const std::string prefix = "Vorlinde\\refresh ";
    ASSERT_EQ(prefix, name.substr(0, prefix.size()));
    ASSERT_GT(name.size(), prefix.size() + 9);
    EXPECT_EQ(c.part, name.substr(prefix.size(), name.size() - prefix.size() - 9));
    EXPECT_EQ(std::string::npos, name.find_first_not_of("0123456789abcdef", name.size() - 8));
  }
}

TEST(QuoteWindowsArgument, ReadBackAsOneArgument) {
  const struct {
    std::string argument, quoted;
  } cases[] = {
      {"C:\\cal.vrn", "\"C:\\cal.vrn\""},
      {"C:\\My Documents\\R&D.vrn", "\"C:\\My Documents\\R&D.vrn\""},
      {"\\\\server\\share\\cal.vrn", "\"\\\\server\\share\\cal.vrn\""},
      {"C:\\folder\\", "\"C:\\folder\\\\\""},  // the closing quote stays a quote
      {"say \"hi\\\" there", "\"say \\\"hi\\\\\\\" there\""},
      {"", "\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.quoted, QuoteWindowsArgument(c.argument)) << c.argument;
}

TEST(CrontabLine, QuotedForShellAndCron) {
  const std::string program = "/usr/local/bin/vorlinde-agenda";
  const std::string start = "0 7 * * * '/usr/local/bin/vorlinde-agenda' refresh ";
  const struct {
    std::string file, line;
  } cases[] = {
      {"/home/taro/cal.vrn", start + "'/home/taro/cal.vrn'"},
      {"/home/taro/my cal & $HOME.vrn", start + "'/home/taro/my cal & $HOME.vrn'"},
      {"/home/taro/Taro's.vrn", start + "'/home/taro/Taro'\\''s.vrn'"},
      {"/home/taro/100%.vrn", start + "'/home/taro/100\\%.vrn'"},
      {"/home/taro/two\nlines.vrn", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.line, CrontabLine(program, c.file)) << c.file;
  EXPECT_EQ("", CrontabLine("/odd\r/vorlinde-agenda", "/home/taro/cal.vrn"));
}

TEST(AgendaTask, ArgumentsStart) {
  const wchar_t* own = L"C:\\Program Files\\Vorlinde\\vorlinde-agenda-task.exe";
  const struct {
    const wchar_t *commandLine, *arguments;
  } cases[] = {
      {L"\"C:\\Program Files\\Vorlinde\\vorlinde-agenda-task.exe\" refresh \"C:\\my cal.vrn\"",
       L"refresh \"C:\\my cal.vrn\""},
      // Unquoted, as a scheduler might start it: the whole path is the name.
      {L"c:\\program files\\vorlinde\\VORLINDE-AGENDA-TASK.EXE refresh a.vrn", L"refresh a.vrn"},
      {L"vorlinde-agenda-task.exe \t refresh  \"a \\\"b\\\\\" c", L"refresh  \"a \\\"b\\\\\" c"},
      {L"\"vorlinde-agenda-task\"refresh", L"refresh"},
      {L"\"C:\\Program Files\\Vorlinde\\vorlinde-agenda-task.exe\"  ", L""},
      {L"C:\\Program Files\\Vorlinde\\vorlinde-agenda-task.exe.bak x",
       L"Files\\Vorlinde\\vorlinde-agenda-task.exe.bak x"},
      {L"\"unclosed quote", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::wstring(c.arguments), c.commandLine + ArgumentsStart(c.commandLine, own))
        << c.commandLine;
  }
}

}  // namespace
