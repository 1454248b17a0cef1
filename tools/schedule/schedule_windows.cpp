// Registering and removing the refresh task with schtasks.exe, which every
// Windows since XP has and whose /xml form takes the whole definition. (The
// Task Scheduler's COM interface would do the same with more code, and would
// bring OLE32 and OLEAUT32 into vorlinde-agenda.exe's imports.) schtasks runs
// as a child without a window, its input and output on NUL
// (tools/processes/).
#include <windows.h>

#include <string>

#include "tools/encodings/encodings.h"
#include "tools/processes/processes.h"
#include "tools/schedule/schedule.h"

namespace {

// How long schtasks may take before it is stopped.
constexpr unsigned long kSchtasksMilliseconds = 30000;

// Runs the system folder's schtasks.exe with `arguments` and waits for it.
SchedulerRun RunSchtasks(const std::string& arguments) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {SchedulerRun::kNotStarted, GetLastError()};
  const std::wstring program = std::wstring(folder, length) + L"\\schtasks.exe";
  std::wstring commandLine =
      Utf8ToWide(QuoteWindowsArgument(WideToUtf8(program)) + " " + arguments);
  const ChildRun run =
      RunChild(program.c_str(), &commandLine[0], {false, kSchtasksMilliseconds, false});
  switch (run.outcome) {
    case ChildRun::kFinished:
      return {SchedulerRun::kFinished, run.code};
    case ChildRun::kTimedOut:
      return {SchedulerRun::kTimedOut, 0};
    case ChildRun::kNotStarted:
      break;
  }
  return {SchedulerRun::kNotStarted, run.code};
}

std::string Environment(const wchar_t* name) {
  wchar_t value[512];
  const DWORD length = GetEnvironmentVariableW(name, value, 512);
  return length > 0 && length < 512 ? WideToUtf8(std::wstring(value, length)) : std::string();
}

}  // namespace

SchedulerRun RegisterTask(const std::string& name, const std::string& xml) {
  // An empty definition is a path TaskXml refused (a "%" in it).
  if (xml.empty()) return {SchedulerRun::kNotStarted, ERROR_INVALID_NAME};
  const std::string bytes = TaskFileBytes(xml);
  if (bytes.empty()) return {SchedulerRun::kNotStarted, ERROR_NO_UNICODE_TRANSLATION};
  wchar_t folder[MAX_PATH + 1];
  wchar_t file[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  // GetTempFileNameW makes the file, empty, under a name nothing else has.
  if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"vrl", 0, file) == 0) {
    return {SchedulerRun::kNotStarted, GetLastError()};
  }
  const HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  bool saved =
      handle != INVALID_HANDLE_VALUE &&
      WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  DWORD error = GetLastError();
  if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle) && saved) {
    saved = false;
    error = GetLastError();
  }
  const SchedulerRun run =
      saved ? RunSchtasks("/create /tn " + QuoteWindowsArgument(name) + " /xml " +
                          QuoteWindowsArgument(WideToUtf8(file)) + " /f")
            : SchedulerRun{SchedulerRun::kNotStarted, error};
  DeleteFileW(file);
  return run;
}

SchedulerRun RemoveTask(const std::string& name) {
  return RunSchtasks("/delete /tn " + QuoteWindowsArgument(name) + " /f");
}

std::string CurrentUserName(const std::string&) {
  const std::string domain = Environment(L"USERDOMAIN");
  const std::string name = Environment(L"USERNAME");
  return domain.empty() ? name : domain + "\\" + name;
}

std::string ScheduledProgramPath() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return std::string();
  path.resize(length);
  path.erase(path.find_last_of(L"\\/") + 1);
  return WideToUtf8(path) + kTaskProgramName;
}
