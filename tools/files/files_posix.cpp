// Files on Linux: new files made exclusively, rename(2) to move one over
// another, flock(2) for the refresh lock.
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
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

std::string FollowedPath(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  const std::string followed = real;
  free(real);
  return followed;
}

FileProblem WhyNotWritable(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
  // A file with no write permission at all is read-only even to root, who
  // access(2) lets write anything.
  const bool writable =
      (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && access(path.c_str(), W_OK) == 0;
  return writable ? FileProblem() : FileProblem{FileProblem::kReadOnly, 0};
}

FILE* CreateTemporaryFor(const std::string& target, std::string* name, FileProblem* problem) {
  struct stat old;
  const bool replaces = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  int fd = -1, error = EEXIST;
  // Named after this process, numbered on when a name is taken (by a file
  // an interrupted run left, say): never opened unless made here.
  const NumberedNames names = {target + "." + std::to_string(getpid()), ".", 1, ".writing"};
  *name = FirstFittingName(names, [&](const std::string& tried) {
    *name = tried;
    // A new file is made as any new file is; one that replaces another is
    // the owner's alone until it has the old file's mode.
    fd = open(tried.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replaces ? 0600 : 0666);
    error = errno;
    return fd >= 0 || error != EEXIST;
  });
  if (fd < 0) {
    *problem = ProblemOf(error);
    if (name->empty()) *name = names.stem + names.ending;
    return nullptr;
  }
  if (replaces) {
    // Owner and group as far as the process may set them (EPERM is not a
    // fault); the mode after them, since a change of owner clears set-id bits.
    if (fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) {
      *problem = ProblemOf(errno);
    } else if (fchmod(fd, old.st_mode & 07777) != 0) {
      *problem = ProblemOf(errno);
    }
  }
  FILE* file = !*problem ? fdopen(fd, "wb") : nullptr;
  if (file == nullptr) {
    if (!*problem) *problem = ProblemOf(errno);
    close(fd);
    remove(name->c_str());
  }
  return file;
}

// The lock is flock(2) on the file itself, not on a lock file beside it
// (which would be left behind). A refresh moves a new file over the old
// one, so a run that waited on the old file's lock wakes holding the lock of
// a file no longer named: after taking the lock it looks again at what the
// path names, and when that is another file it lets go and locks that one.
// A run therefore holds the lock of the file the path names while it reads
// it, fetches and replaces it.
RefreshLock::~RefreshLock() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

FileProblem LockForRefresh(const std::string& path, int seconds, RefreshLock* lock) {
  constexpr long kWaitMilliseconds = 100;
  const std::string file = FollowedPath(path);
  const long tries = (seconds > 0 ? seconds : 0) * (1000 / kWaitMilliseconds) + 1;
  for (long attempt = 0; attempt < tries; ++attempt) {
    // Without blocking: a pipe in the file's place is not waited on.
    const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return ProblemOf(errno);
    struct stat locked, named;
    if (fstat(fd, &locked) != 0 || !S_ISREG(locked.st_mode)) {
      close(fd);
      return WhyUnreadable(file);
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      close(fd);
      if (error != EWOULDBLOCK) return ProblemOf(error);
      const struct timespec wait = {0, kWaitMilliseconds * 1000000};
      nanosleep(&wait, nullptr);
      continue;
    }
    if (stat(file.c_str(), &named) == 0 && named.st_dev == locked.st_dev &&
        named.st_ino == locked.st_ino) {
      lock->handle_ = fd;
      return {};
    }
    close(fd);  // replaced while we waited: lock the file named now
  }
  return {FileProblem::kBusy, 0};
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
