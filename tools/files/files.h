// Whole files for the agenda tool: read at once, and written so that a file
// is never left half written; and why a file cannot be read or written, for
// the tool to tell in the user's language.
#pragma once

#include <stdint.h>

#include <functional>
#include <string>

// Why a file operation failed.
struct FileProblem {
  enum Kind {
    kNone,
    kNoSuchFile,    // the file, or a folder on its way, does not exist
    kNotPermitted,  // the system does not allow it
    kFolder,        // the name is a folder's
    kNotAFile,      // a device, a pipe or the like
    kExists,        // a new file's name is taken
    kInUse,         // another program holds the file open
    kDiskFull,
    kReadOnly,  // the file may not be written: refused, left as it is
    kBusy,      // another run holds the file's refresh lock
    kOther,     // `code` says what the system said
  } kind = kNone;
  int code = 0;  // the system's error number, for kOther

  explicit operator bool() const { return kind != kNone; }
};

// Reads the file `name` into `*bytes`.
FileProblem ReadWholeFile(const std::string& name, std::string* bytes);

// Makes the new file `name` holding `bytes`, flushed to the disk; kExists
// when the name is taken. Leaves no file behind when it fails.
FileProblem WriteNewFile(const std::string& name, const std::string& bytes);

// Writes `bytes` to a new file beside `target`, flushed to the disk, and moves
// it over `target` in one step, so that a reader of `target`, or an
// interruption, meets the old file or the new one, never a mixture. Leaves
// no temporary file behind. On Windows a file another program holds open
// cannot be replaced: it tries again for a few seconds before it gives up.
// A link is followed: the file it names is replaced, and the link stays.
// The new file keeps what the old one was: its mode, owner and group where
// the process may set them (POSIX), its attributes and identity (Windows).
// kReadOnly, touching nothing, for a file that may not be written. The
// temporary file has a name of its own, made exclusively, so that two runs
// never meet in it; when it cannot be made, `*temporary` (when given) is its
// name, for the message to name.
FileProblem ReplaceFileContents(const std::string& target, const std::string& bytes,
                                std::string* temporary = nullptr);

class RefreshLock {  // held while one run refreshes a file; let go when destroyed
 public:
  RefreshLock() = default;
  RefreshLock(const RefreshLock&) = delete;
  RefreshLock& operator=(const RefreshLock&) = delete;
  ~RefreshLock();

 private:
  friend FileProblem LockForRefresh(const std::string&, int, RefreshLock*);
  intptr_t handle_ = -1;  // the platform's handle (a descriptor, or a HANDLE)
};

// Takes the refresh lock of the file `path` names (links followed), waiting
// up to `seconds`; kBusy when another run holds it still.
FileProblem LockForRefresh(const std::string& path, int seconds, RefreshLock* lock);

// Why the file `name`, which the agenda reader would not open, cannot be read.
FileProblem WhyUnreadable(const std::string& name);

bool IsRegularFile(const std::string& name);

// Removes the file `name`, when it is there.
void RemoveFile(const std::string& name);

// The folder part of a path, with its last separator ("/", or "\\" as well),
// or "" for a bare name.
std::string FolderOf(const std::string& path);

// `path` with its file name's extension (from its last ".") replaced by
// `extension` (as ".vrn"), or `extension` added when it has none.
std::string WithExtension(const std::string& path, const std::string& extension);

// Names numbered after a pattern, for a file that must not take the place
// of another: the first is `stem` + `ending`, the next `stem` + `separator`
// + `firstNumber` + `ending`, then the numbers after it (FILE.bak,
// FILE.1.bak, FILE.2.bak...; NAME.vrn, NAME-2.vrn, NAME-3.vrn...).
struct NumberedNames {
  std::string stem;
  std::string separator;
  int firstNumber;
  std::string ending;
};

// The first of the names (a thousand at most) that `fits` takes, or "" when
// it takes none. `fits` may do more than look: make the file, for one.
std::string FirstFittingName(const NumberedNames& names,
                             const std::function<bool(const std::string&)>& fits);

// Whether `path` begins at the root ("/", "\\", or a drive as "C:").
bool IsAbsolutePath(const std::string& path);

// `name` as a full path from the current folder.
std::string AbsolutePath(const std::string& name);
