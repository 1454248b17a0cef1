// Registering and removing the refresh task with schtasks.exe, which every
// Windows since XP has and whose /xml form takes the whole definition. (The
// Task Scheduler's COM interface would do the same with more code, and would
// bring OLE32 and OLEAUT32 into vorlinde-agenda.exe's imports.) schtasks runs
// without a window, its input and output on NUL, so that a question it might
// ask ends at once instead of waiting for an answer nobody can give.
#include <windows.h>

#include <string>

#include "tools/schedule/schedule.h"

namespace {

// How long schtasks may take before it is stopped.
constexpr DWORD kSchtasksMilliseconds = 30000;

std::wstring Wide(const std::string& utf8) {
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &wide[0], length);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &utf8[0], length, nullptr, nullptr);
  return utf8;
}

// Runs the system folder's schtasks.exe with `arguments` and waits for it.
SchedulerRun RunSchtasks(const std::string& arguments) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {SchedulerRun::kNotStarted, GetLastError()};
  const std::wstring program = std::wstring(folder, length) + L"\\schtasks.exe";
  std::wstring commandLine = Wide(QuoteWindowsArgument(Utf8(program)) + " " + arguments);

  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  const HANDLE nul =
      CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherited, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (nul != INVALID_HANDLE_VALUE) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
  }
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr,
                                      nul != INVALID_HANDLE_VALUE, CREATE_NO_WINDOW, nullptr,
                                      nullptr, &startup, &process);
  const DWORD error = GetLastError();
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (!started) return {SchedulerRun::kNotStarted, error};
  CloseHandle(process.hThread);

  SchedulerRun run = {SchedulerRun::kFinished, 0};
  DWORD code = 0;
  if (WaitForSingleObject(process.hProcess, kSchtasksMilliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    run.outcome = SchedulerRun::kTimedOut;
  } else if (GetExitCodeProcess(process.hProcess, &code)) {
    run.code = code;
  }
  CloseHandle(process.hProcess);
  return run;
}

std::string Environment(const wchar_t* name) {
  wchar_t value[512];
  const DWORD length = GetEnvironmentVariableW(name, value, 512);
  return length > 0 && length < 512 ? Utf8(std::wstring(value, length)) : std::string();
}

}  // namespace

SchedulerRun RegisterTask(const std::string& name, const std::string& xml) {
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
  const SchedulerRun run = saved ? RunSchtasks("/create /tn " + QuoteWindowsArgument(name) +
                                               " /xml " + QuoteWindowsArgument(Utf8(file)) + " /f")
                                 : SchedulerRun{SchedulerRun::kNotStarted, error};
  DeleteFileW(file);
  return run;
}

SchedulerRun RemoveTask(const std::string& name) {
  return RunSchtasks("/delete /tn " + QuoteWindowsArgument(name) + " /f");
}

std::string CurrentUserName() {
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
  return Utf8(path) + kTaskProgramName;
}
