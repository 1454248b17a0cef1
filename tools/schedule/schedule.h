// The daily refresh of an agenda file from the calendar it was imported from,
// left to the system: on Windows a Task Scheduler task that runs the windowless
// companion vorlinde-agenda-task.exe, which runs `vorlinde-agenda refresh FILE`;
// on Linux a crontab line the user installs.
//
// The task definition and the crontab line are plain data (schedule.cpp); the
// system calls are in schedule_windows.cpp and schedule_posix.cpp. Every text
// here is UTF-8, as the tools' arguments are after ArgumentToUtf8. In use:
//   const std::string file = the agenda file's full path, user = CurrentUserName(USER);
//   RegisterTask(TaskName(file, user), TaskXml(ScheduledProgramPath(), file, user));
//   RemoveTask(TaskName(file, user));
//   CrontabLine(ScheduledProgramPath(), file);  // where RegisterTask is kUnsupported
#pragma once

#include <string>

// The refresh runs every day at this local time, and on Windows also when
// the user logs on and when a run was missed because the computer was off.
constexpr int kRefreshHour = 7;
constexpr int kRefreshMinute = 0;

// The companion that the task runs, beside vorlinde-agenda.exe.
constexpr char kTaskProgramName[] = "vorlinde-agenda-task.exe";

// The name of the task that refreshes `agendaFile` (its full path) for `user`
// ("DOMAIN\name" or "name"): "Vorlinde\refresh <file name> <8 hex digits>",
// the task "refresh <file name> <hash>" in the folder "Vorlinde". The hex
// digits are the FNV-1a hash of the user and the path, both with ASCII letters
// upper-cased and the path's "/" read as "\" (Windows reads both so), so that
// one file always gives one task, whichever way its path is spelt (but for the
// case of letters beyond ASCII), and two files or two users two tasks. The
// file name is cut to 48 characters, and characters that no Windows file name
// may hold (: * ? " < > | and controls) become "_": Task Scheduler keeps each
// task as a file named so.
std::string TaskName(const std::string& agendaFile, const std::string& user);

// The task definition (Task Scheduler schema 1.2) that refreshes `agendaFile`
// for `user` by running `program` (the companion's full path) with the
// arguments `refresh "AGENDA-FILE"`: every day at kRefreshHour, and two
// minutes after `user` logs on; a missed run starts when the computer is on
// again, on battery too; a run is stopped after 10 minutes, and none starts
// while one is running. The task is hidden and runs as `user`, only while
// logged on, without elevation. As text with an encoding="UTF-16" declaration,
// to be saved with TaskFileBytes. Empty when either path holds a "%", which
// Task Scheduler would read as the start of an environment variable's name.
std::string TaskXml(const std::string& program, const std::string& agendaFile,
                    const std::string& user);

// `xml` as the file `schtasks /create /xml` reads: UTF-16 little-endian with
// a byte-order mark. Empty when `xml` is empty or not UTF-8.
std::string TaskFileBytes(const std::string& xml);

// `argument` in double quotes as CommandLineToArgvW and the C runtime read it
// back: a quote is written \" and the backslashes before a quote, or before
// the closing one, are doubled.
std::string QuoteWindowsArgument(const std::string& argument);

// Whether a task or a crontab line can carry the path `agendaFile`: false
// when it holds a control character (a line end ends a crontab line, and the
// task's command line is no place for the others either).
bool SchedulableName(const std::string& agendaFile);

// The crontab line that refreshes `agendaFile` every day at kRefreshHour with
// `program` (vorlinde-agenda's full path), without a line end:
//   0 7 * * * '/path/vorlinde-agenda' refresh '/path/cal.vrn'
// Both paths are quoted for the shell, and a "%" is written "\%", which cron
// would otherwise read as a line end. No "@reboot" line: at boot the network
// is often not up yet and no user is logged on, and a missed morning is
// caught up the next morning, from an agenda that reaches a year ahead.
// Empty when a path holds a line end, which no crontab line can carry.
std::string CrontabLine(const std::string& program, const std::string& agendaFile);

// How running the system's scheduler went.
struct SchedulerRun {
  enum Outcome {
    kFinished,     // schtasks ran; `code` is its exit status (0: done)
    kNotStarted,   // its file could not be written or it could not be started;
                   // `code` is the Windows error
    kTimedOut,     // it did not end within 30 seconds and was stopped
    kUnsupported,  // there is no Task Scheduler here (Linux): use CrontabLine
  } outcome;
  unsigned long code;
  bool Succeeded() const { return outcome == kFinished && code == 0; }
};

// Registers the task `name` defined by `xml` (TaskXml), replacing a task of
// that name: `schtasks /create /tn NAME /xml FILE /f` with `xml` in a
// temporary file, which is removed afterwards.
SchedulerRun RegisterTask(const std::string& name, const std::string& xml);

// Removes the task `name`: `schtasks /delete /tn NAME /f`. schtasks exits
// with 1 when there is no such task.
SchedulerRun RemoveTask(const std::string& name);

// The user this program runs as: on Windows "DOMAIN\name" from USERDOMAIN and
// USERNAME, read from the system in UTF-16, as the task's definition needs
// them whatever the code page; on Linux the login name of the user's entry,
// or `loginFromEnvironment` (USER, which the program reads) when there is
// none.
std::string CurrentUserName(const std::string& loginFromEnvironment);

// The full path of the program the schedule runs: on Windows the companion
// kTaskProgramName in this program's folder, on Linux this program.
std::string ScheduledProgramPath();
