// Children on Linux: fork and execv, /dev/null for the standard handles, a
// signal to the child when this program ends, and waitpid polled for the
// time limit.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "tools/processes/processes.h"

namespace {

// How often a child with a time limit is looked at.
constexpr long kPollMilliseconds = 10;

// In the child after fork: its standard handles, then the program. Tells
// the error of what failed on `report` and ends.
[[noreturn]] void BecomeChild(ChildProgram program, ChildArguments arguments,
                              const ChildOptions& options, int report) {
  if (options.endsWithUs) prctl(PR_SET_PDEATHSIG, SIGKILL);
  const int null = open("/dev/null", O_RDWR);
  bool ready = null >= 0 && dup2(null, STDIN_FILENO) >= 0;
  const int outputs[] = {STDOUT_FILENO, STDERR_FILENO};
  for (const int handle : outputs) {
    if (ready && (!options.keepOutput || fcntl(handle, F_GETFD) < 0)) {
      ready = dup2(null, handle) >= 0;
    }
  }
  if (ready) execv(program, arguments);
  const int error = errno;
  _exit(write(report, &error, sizeof error) == static_cast<ssize_t>(sizeof error) ? 127 : 126);
}

}  // namespace

ChildRun RunChild(ChildProgram program, ChildArguments arguments, const ChildOptions& options) {
  // A pipe that closes on exec: the child writes on it only when it could
  // not become the program.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0)
    return {ChildRun::kNotStarted, static_cast<unsigned long>(errno)};
  const pid_t child = fork();
  if (child == 0) BecomeChild(program, arguments, options, report[1]);
  const int forkError = errno;
  close(report[1]);
  int error = 0;
  const bool failed =
      child < 0 || read(report[0], &error, sizeof error) == static_cast<ssize_t>(sizeof error);
  close(report[0]);
  if (child < 0) return {ChildRun::kNotStarted, static_cast<unsigned long>(forkError)};
  int status = 0;
  if (failed) {
    waitpid(child, &status, 0);
    return {ChildRun::kNotStarted, static_cast<unsigned long>(error)};
  }
  for (unsigned long waited = 0;; waited += kPollMilliseconds) {
    const pid_t ended = waitpid(child, &status, options.mostMilliseconds == 0 ? 0 : WNOHANG);
    if (ended == child) break;
    if (ended < 0 && errno != EINTR)
      return {ChildRun::kNotStarted, static_cast<unsigned long>(errno)};
    if (options.mostMilliseconds != 0 && waited >= options.mostMilliseconds) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return {ChildRun::kTimedOut, 0};
    }
    const timespec pause = {0, kPollMilliseconds * 1000000L};
    nanosleep(&pause, nullptr);
  }
  // A child ended by a signal is told as the shell tells it.
  return {
      ChildRun::kFinished,
      static_cast<unsigned long>(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status))};
}
