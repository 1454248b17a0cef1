// Files on Windows: new files made exclusively, MoveFileExA to move one over
// another.
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>
#include <windows.h>

#include "tools/files/files_platform.h"

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

}  // namespace

FILE* CreateNewFile(const std::string& name, FileProblem* problem) {
  const int fd =
      _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  FILE* file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
  if (file == nullptr) {
    *problem = ProblemOf(errno);
    if (fd >= 0) {
      _close(fd);
      remove(name.c_str());
    }
  }
  return file;
}

bool FlushToDisk(FILE* file) { return _commit(_fileno(file)) == 0; }

// The plug-in opens an agenda file without letting it be deleted, so while
// it reads one the file cannot be replaced; it reads for a moment only.
constexpr int kMoveTries = 40;
constexpr DWORD kMoveWaitMilliseconds = 100;

FileProblem MoveFileOver(const std::string& from, const std::string& to) {
  FileProblem problem;
  for (int attempt = 0; attempt < kMoveTries; ++attempt) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return {};
    }
    problem = ProblemOfSystem(GetLastError());
    if (problem.kind != FileProblem::kInUse && problem.kind != FileProblem::kNotPermitted) break;
    Sleep(kMoveWaitMilliseconds);
  }
  return problem;
}

std::string AbsolutePath(const std::string& name) {
  char path[MAX_PATH];
  const DWORD length = GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
  return length > 0 && length < sizeof path ? std::string(path, length) : name;
}

// The Windows side's own versions of these come with ReplaceFileW and
// LockFileEx; until then: the path as given, the read-only attribute, a name
// of this process's own, and no lock.
std::string FollowedPath(const std::string& path) { return path; }

FileProblem WhyNotWritable(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0
             ? FileProblem{FileProblem::kReadOnly, 0}
             : FileProblem();
}

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

RefreshLock::~RefreshLock() {}

FileProblem LockForRefresh(const std::string& path, int, RefreshLock* lock) {
  lock->path_ = path;
  return {};
}
