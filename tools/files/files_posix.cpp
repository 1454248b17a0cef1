// Files on Linux: new files made exclusively, rename(2) to move one over
// another.
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/files/files_platform.h"

FILE* CreateNewFile(const std::string& name, FileProblem* problem) {
  const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (file == nullptr) {
    *problem = ProblemOf(errno);
    if (fd >= 0) {
      close(fd);
      remove(name.c_str());
    }
  }
  return file;
}

bool FlushToDisk(FILE* file) { return fsync(fileno(file)) == 0; }

FileProblem MoveFileOver(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0 ? FileProblem() : ProblemOf(errno);
}

std::string AbsolutePath(const std::string& name) {
  if (IsAbsolutePath(name)) return name;
  char folder[PATH_MAX];
  if (getcwd(folder, sizeof folder) == nullptr) return name;
  return std::string(folder) + "/" + name;
}

FILE* OpenToRead(const std::string& name) { return fopen(name.c_str(), "rb"); }

void RemoveFile(const std::string& name) { remove(name.c_str()); }

FileProblem KindAt(const std::string& name) {
  struct stat status;
  if (stat(name.c_str(), &status) != 0) return ProblemOf(errno);
  if (S_ISDIR(status.st_mode)) return {FileProblem::kFolder, 0};
  if (!S_ISREG(status.st_mode)) return {FileProblem::kNotAFile, 0};
  return {};
}
