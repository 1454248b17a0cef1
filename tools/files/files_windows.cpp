// Files on Windows, by their wide names (the tools' names are UTF-8): new files
// made exclusively (CREATE_NEW), ReplaceFileW to put one in another's place,
// and a refresh lock held with LockFileEx.
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>
#include <windows.h>

#include "tools/encodings/encodings.h"
#include "tools/files/files_platform.h"
#include "tools/strings/strings.h"

namespace {

// The problem a Windows error code stands for.
FileProblem ProblemOfSystem(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return {FileProblem::kNoSuchFile, static_cast<int>(error)};
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return {FileProblem::kNotPermitted, static_cast<int>(error)};
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
      return {FileProblem::kInUse, static_cast<int>(error)};
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return {FileProblem::kExists, static_cast<int>(error)};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return {FileProblem::kDiskFull, static_cast<int>(error)};
    default:
      return {FileProblem::kOther, static_cast<int>(error)};
  }
}

std::wstring Wide(const std::string& utf8) { return Utf8ToWide(utf8); }

// The full path of `name`, "" when there is none.
std::wstring FullPath(const std::wstring& name) {
  const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::wstring();
  std::wstring path(size, L'\0');
  const DWORD length = GetFullPathNameW(name.c_str(), size, &path[0], nullptr);
  if (length == 0 || length >= size) return std::wstring();
  path.resize(length);
  return path;
}

}  // namespace

FILE* CreateNewFile(const std::string& name, FileProblem* problem) {
  // CREATE_NEW fails on any name that is taken, a link's included.
  const HANDLE handle = CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    *problem = ProblemOfSystem(GetLastError());
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  FILE* file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
  if (file == nullptr) {
    *problem = ProblemOf(errno);
    if (fd >= 0) {
      _close(fd);
    } else {
      CloseHandle(handle);
    }
    RemoveFile(name);
  }
  return file;
}

bool FlushToDisk(FILE* file) { return _commit(_fileno(file)) == 0; }

// The plug-in opens an agenda file without letting it be deleted, so while
// it reads one the file cannot be replaced; it reads for a moment only.
constexpr int kMoveTries = 40;
constexpr DWORD kMoveWaitMilliseconds = 100;

// Whether the file `name` may be opened to be deleted now: not while another
// program holds it open without sharing that (the plug-in reading it). The
// error is left for GetLastError.
bool MayBeDeleted(const std::wstring& name) {
  const HANDLE handle =
      CreateFileW(name.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}

// The attributes a replaced file keeps, of those SetFileAttributesW sets.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

FileProblem MoveFileOver(const std::string& from, const std::string& to) {
  const std::wstring source = Wide(from), target = Wide(to);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return {FileProblem::kReadOnly, 0};
  }
  FileProblem problem;
  for (int attempt = 0; attempt < kMoveTries; ++attempt) {
    // ReplaceFileW keeps the target's attributes, its ACL and its identity
    // (its file ID, its creation time), which a move would take from the new
    // file; a target that is not there yet is simply moved to.
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return {};
    } else if (!MayBeDeleted(target)) {
      // Held open without leave to delete it: ReplaceFileW would fail too,
      // and under Wine leave a temporary file of its own behind each time.
    } else if (ReplaceFileW(target.c_str(), source.c_str(), nullptr,
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
      // Set again, for the systems whose ReplaceFileW does not keep them
      // (Wine's).
      SetFileAttributesW(target.c_str(), attributes & kKeptAttributes);
      return {};
    }
    problem = ProblemOfSystem(GetLastError());
    if (problem.kind != FileProblem::kInUse && problem.kind != FileProblem::kNotPermitted) break;
    Sleep(kMoveWaitMilliseconds);
  }
  return problem;
}

std::string AbsolutePath(const std::string& name) {
  const std::wstring path = FullPath(Wide(name));
  return path.empty() ? name : WideToUtf8(path);
}

FILE* OpenToRead(const std::string& name) { return _wfopen(Wide(name).c_str(), L"rb"); }

void RemoveFile(const std::string& name) { DeleteFileW(Wide(name).c_str()); }

FileProblem KindAt(const std::string& name) {
  struct _stat64 status;
  if (_wstat64(Wide(name).c_str(), &status) != 0) return ProblemOf(errno);
  if ((status.st_mode & _S_IFMT) == _S_IFDIR) return {FileProblem::kFolder, 0};
  if ((status.st_mode & _S_IFMT) != _S_IFREG) return {FileProblem::kNotAFile, 0};
  return {};
}

// The refresh lock is an exclusive LockFileEx lock on the first byte of a
// file of its own, %TEMP%\vorlinde-refresh-XXXXXXXX.lock, where XXXXXXXX is
// the FNV-1a hash of the agenda file's full path (links followed where the
// system says where they lead, ASCII letters upper-cased, "/" as "\"). The
// agenda file itself is never held open, so ReplaceFileW puts the new file
// in its place while the lock is held, and the plug-in reads it as before.
// The lock goes with the handle: a run that ends, or is killed, lets go. The
// small lock file is left behind, since removing it would race with a run
// that has just opened it.
namespace {

constexpr DWORD kLockWaitMilliseconds = 100;

// The path that names the agenda file the same way in every run.
std::string LockIdentity(const std::wstring& path) {
  std::wstring full = FullPath(path);
  const HANDLE handle =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  // GetFinalPathNameByHandleW (Windows Vista and later) is looked up, so
  // that the program still starts on the systems before it.
  using FinalPathOf = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  const FinalPathOf finalPathOf = reinterpret_cast<FinalPathOf>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  if (handle != INVALID_HANDLE_VALUE) {
    std::wstring final(32768, L'\0');
    const DWORD length = finalPathOf != nullptr ? finalPathOf(handle, &final[0], 32768, 0) : 0;
    if (length > 0 && length < 32768) full.assign(final.data(), length);
    CloseHandle(handle);
  }
  std::string identity = AsciiUpper(WideToUtf8(full.empty() ? path : full));
  for (char& c : identity) {
    if (c == '/') c = '\\';
  }
  return identity;
}

}  // namespace

RefreshLock::~RefreshLock() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

FileProblem LockForRefresh(const std::string& path, int seconds, RefreshLock* lock) {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return ProblemOfSystem(GetLastError());
  char name[40];
  snprintf(name, sizeof name, "vorlinde-refresh-%08x.lock",
           static_cast<unsigned>(Fnv1a32(LockIdentity(Wide(path)))));
  const std::wstring lockPath = std::wstring(folder, length) + Wide(name);
  const HANDLE handle = CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return ProblemOfSystem(GetLastError());
  const DWORD started = GetTickCount();
  const DWORD bound = seconds > 0 ? static_cast<DWORD>(seconds) * 1000 : 0;
  for (;;) {
    OVERLAPPED at = {};
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      break;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
      CloseHandle(handle);
      return ProblemOfSystem(error);
    }
    if (GetTickCount() - started >= bound) {
      CloseHandle(handle);
      return {FileProblem::kBusy, 0};
    }
    Sleep(kLockWaitMilliseconds);
  }
  if (lock->handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(lock->handle_));
  lock->handle_ = reinterpret_cast<intptr_t>(handle);
  return {};
}

// ReplaceFileW replaces the file a link names, and the lock is named by the
// path links resolve to: the path serves as given.
std::string FollowedPath(const std::string& path) { return path; }

FileProblem WhyNotWritable(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0
             ? FileProblem{FileProblem::kReadOnly, 0}
             : FileProblem();
}

// The temporary file is named for this process, numbered on when the name is
// taken, and made with CREATE_NEW; ReplaceFileW gives the target's
// attributes and ACL to what takes its place.
FILE* CreateTemporaryFor(const std::string& target, std::string* name, FileProblem* problem) {
  FILE* file = nullptr;
  const NumberedNames names = {target + "." + std::to_string(GetCurrentProcessId()), ".", 1,
                               ".writing"};
  FirstFittingName(names, [&](const std::string& tried) {
    *name = tried;
    file = CreateNewFile(tried, problem);
    return file != nullptr || problem->kind != FileProblem::kExists;
  });
  return file;
}
