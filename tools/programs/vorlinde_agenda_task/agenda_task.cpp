// vorlinde-agenda-task.exe: what the daily refresh task runs. A console
// program started by Task Scheduler opens a console window on the user's
// screen; this one is a GUI program that opens none and shows nothing. It
// runs vorlinde-agenda.exe from its own folder with its own arguments, without
// a console window, waits for it and exits with its exit status, or with 127
// when it cannot be started.
//
// vorlinde-agenda.exe's input is NUL (tools/processes/): with a console of
// its own (which CREATE_NO_WINDOW gives it, hidden) and console input it
// would wait for Enter before it ends. Its output goes where this program's
// goes, which is nowhere under Task Scheduler. It ends when this program
// ends, so that the task's time limit, which stops this program, stops it
// too.
#include <wchar.h>
#include <windows.h>

#include "tools/processes/processes.h"
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

DWORD RunAgendaTool(Launch* launch) {
  if (launch == nullptr || !MakeCommandLine(launch)) return kNotStarted;
  // Its output where this program's goes; ended when this program ends.
  const ChildRun run = RunChild(launch->agendaTool, launch->commandLine, {true, 0, true});
  return run.outcome == ChildRun::kFinished ? run.code : kNotStarted;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Launch* launch = static_cast<Launch*>(HeapAlloc(GetProcessHeap(), 0, sizeof(Launch)));
  return static_cast<int>(RunAgendaTool(launch));
}
