// Children on Windows: CreateProcessW with CREATE_NO_WINDOW and the standard
// handles given; a job that ends the child when this program ends.
#include <windows.h>

#include "tools/processes/processes.h"

namespace {

// An inheritable copy of this program's standard handle `which`, or of
// `nul` when it has none; INVALID_HANDLE_VALUE when neither can be had.
HANDLE InheritableHandle(DWORD which, HANDLE nul) {
  const HANDLE own = GetStdHandle(which);
  const HANDLE source = own != nullptr && own != INVALID_HANDLE_VALUE ? own : nul;
  HANDLE copy = INVALID_HANDLE_VALUE;
  if (source == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), source, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS)) {
    return INVALID_HANDLE_VALUE;
  }
  return copy;
}

// A job whose processes end when its last handle closes, at the latest when
// this program ends; null when the system refuses one.
HANDLE EndingJob() {
  const HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    CloseHandle(job);
    return nullptr;
  }
  return job;
}

}  // namespace

ChildRun RunChild(ChildProgram program, ChildArguments arguments, const ChildOptions& options) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  const HANDLE nul =
      CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherited, OPEN_EXISTING, 0, nullptr);
  // Without NUL and without output of its own to pass on, the child gets
  // this program's handles as they are.
  const bool handlesGiven = nul != INVALID_HANDLE_VALUE || options.keepOutput;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (handlesGiven) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = options.keepOutput ? InheritableHandle(STD_OUTPUT_HANDLE, nul) : nul;
    startup.hStdError = options.keepOutput ? InheritableHandle(STD_ERROR_HANDLE, nul) : nul;
  }
  const HANDLE job = options.endsWithUs ? EndingJob() : nullptr;
  PROCESS_INFORMATION process = {};
  // In a job from its first instruction: it starts suspended, and resumes
  // once assigned.
  const BOOL started = CreateProcessW(program, arguments, nullptr, nullptr, handlesGiven,
                                      CREATE_NO_WINDOW | (job != nullptr ? CREATE_SUSPENDED : 0),
                                      nullptr, nullptr, &startup, &process);
  const DWORD startError = GetLastError();
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (options.keepOutput) {
    if (startup.hStdOutput != INVALID_HANDLE_VALUE) CloseHandle(startup.hStdOutput);
    if (startup.hStdError != INVALID_HANDLE_VALUE) CloseHandle(startup.hStdError);
  }
  ChildRun run = {ChildRun::kNotStarted, startError};
  if (started) {
    // Before Windows 8 a process in a job (as Task Scheduler may start this
    // one) cannot be put in another: the child then runs outside it.
    if (job != nullptr) {
      AssignProcessToJobObject(job, process.hProcess);
      ResumeThread(process.hThread);
    }
    CloseHandle(process.hThread);
    const DWORD wait = options.mostMilliseconds == 0 ? INFINITE : options.mostMilliseconds;
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, wait) != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 1);
      run = {ChildRun::kTimedOut, 0};
    } else if (GetExitCodeProcess(process.hProcess, &code)) {
      run = {ChildRun::kFinished, code};
    } else {
      run = {ChildRun::kNotStarted, GetLastError()};
    }
    CloseHandle(process.hProcess);
  }
  if (job != nullptr) CloseHandle(job);
  return run;
}
