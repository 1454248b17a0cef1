// vorlinde-agenda-task.exe: what the daily refresh task runs. A console
// program started by Task Scheduler opens a console window on the user's
// screen; this one is a GUI program that opens none and shows nothing. It
// runs vorlinde-agenda.exe from its own folder with its own arguments, without
// a console window, waits for it and exits with its exit status, or with 127
// when it cannot be started.
//
// vorlinde-agenda.exe's input is NUL: with a console of its own (which
// CREATE_NO_WINDOW gives it, hidden) and console input it would wait for
// Enter before it ends. Its output goes where this program's goes, which is
// nowhere under Task Scheduler. It runs in a job that ends it when this
// program ends, so that the task's time limit, which stops this program,
// stops it too.
#include <wchar.h>
#include <windows.h>

#include "tools/programs/vorlinde_agenda_task/command_line.h"

namespace {

constexpr DWORD kNotStarted = 127;

// The longest command line CreateProcessW takes, with its terminating NUL;
// no path is longer.
constexpr size_t kSize = 32768;

// This program's path, vorlinde-agenda.exe's beside it and the command line
// that runs it; on the heap, which costs the program file no bytes.
struct Launch {
  wchar_t ownPath[kSize];
  wchar_t agendaTool[kSize];
  wchar_t commandLine[kSize];
};

// Appends `text` to `buffer`, which holds `*length` characters; false when it
// does not fit.
bool Append(wchar_t* buffer, size_t* length, const wchar_t* text, size_t count) {
  if (*length + count >= kSize) return false;
  wmemcpy(buffer + *length, text, count);
  *length += count;
  buffer[*length] = L'\0';
  return true;
}

// vorlinde-agenda.exe in this program's folder, and the command line that
// runs it with this program's arguments; false when they cannot be had.
bool MakeCommandLine(Launch* launch) {
  wchar_t* ownPath = launch->ownPath;
  wchar_t* agendaTool = launch->agendaTool;
  wchar_t* commandLine = launch->commandLine;
  const DWORD own = GetModuleFileNameW(nullptr, ownPath, kSize);
  if (own == 0 || own >= kSize) return false;
  size_t folder = own;
  while (folder > 0 && ownPath[folder - 1] != L'\\' && ownPath[folder - 1] != L'/') --folder;
  static const wchar_t kAgendaTool[] = L"vorlinde-agenda.exe";
  size_t toolLength = 0;
  if (!Append(agendaTool, &toolLength, ownPath, folder) ||
      !Append(agendaTool, &toolLength, kAgendaTool, wcslen(kAgendaTool))) {
    return false;
  }
  const wchar_t* given = GetCommandLineW();
  const wchar_t* arguments = given + ArgumentsStart(given, ownPath);
  size_t length = 0;
  return Append(commandLine, &length, L"\"", 1) &&
         Append(commandLine, &length, agendaTool, toolLength) &&
         Append(commandLine, &length, L"\"", 1) &&
         (arguments[0] == L'\0' || (Append(commandLine, &length, L" ", 1) &&
                                    Append(commandLine, &length, arguments, wcslen(arguments))));
}

// An inheritable copy of this program's standard handle `which`, or of NUL
// when it has none.
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

DWORD RunAgendaTool(Launch* launch) {
  if (launch == nullptr || !MakeCommandLine(launch)) return kNotStarted;
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  const HANDLE nul =
      CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherited, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = InheritableHandle(STD_OUTPUT_HANDLE, nul);
  startup.hStdError = InheritableHandle(STD_ERROR_HANDLE, nul);
  const HANDLE job = EndingJob();
  PROCESS_INFORMATION process = {};
  const BOOL started =
      CreateProcessW(launch->agendaTool, launch->commandLine, nullptr, nullptr, TRUE,
                     CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &process);
  const HANDLE passed[] = {nul, startup.hStdOutput, startup.hStdError};
  for (const HANDLE handle : passed) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  DWORD status = kNotStarted;
  if (started) {
    // Before Windows 8 a process in a job (as Task Scheduler may start this
    // one) cannot be put in another: it then runs outside it.
    if (job != nullptr) AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    if (!GetExitCodeProcess(process.hProcess, &status)) status = kNotStarted;
    CloseHandle(process.hProcess);
  }
  if (job != nullptr) CloseHandle(job);
  return status;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Launch* launch = static_cast<Launch*>(HeapAlloc(GetProcessHeap(), 0, sizeof(Launch)));
  return static_cast<int>(RunAgendaTool(launch));
}
