#include "tools/files/files.h"

#include <errno.h>
#include <stdio.h>

#include "tools/files/files_platform.h"

FileProblem ProblemOf(int error) {
  switch (error) {
    case 0:
      return {};
    case ENOENT:
    case ENOTDIR:
      return {FileProblem::kNoSuchFile, error};
    case EACCES:
    case EPERM:
    case EROFS:
      return {FileProblem::kNotPermitted, error};
    case EISDIR:
      return {FileProblem::kFolder, error};
    case EEXIST:
      return {FileProblem::kExists, error};
    case EBUSY:
      return {FileProblem::kInUse, error};
    case ENOSPC:
      return {FileProblem::kDiskFull, error};
    default:
      return {FileProblem::kOther, error};
  }
}

FileProblem ReadWholeFile(const std::string& name, std::string* bytes) {
  if (!IsRegularFile(name)) return WhyUnreadable(name);
  FILE* file = OpenToRead(name);
  if (file == nullptr) return ProblemOf(errno);
  char buffer[65536];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, n);
  const FileProblem problem = ferror(file) ? ProblemOf(EIO) : FileProblem();
  fclose(file);
  return problem;
}

namespace {

// Writes `bytes` to the new file `file`, on to the disk, and closes it. A
// failed write that set no error number is still a failure.
FileProblem WriteAndClose(FILE* file, const std::string& bytes) {
  FileProblem problem;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                       fflush(file) == 0 && FlushToDisk(file);
  if (!written) problem = ProblemOf(errno != 0 ? errno : EIO);
  if (fclose(file) != 0 && !problem) problem = ProblemOf(errno != 0 ? errno : EIO);
  return problem;
}

}  // namespace

FileProblem WriteNewFile(const std::string& name, const std::string& bytes) {
  FileProblem problem;
  FILE* file = CreateNewFile(name, &problem);
  if (file == nullptr) return problem;
  problem = WriteAndClose(file, bytes);
  if (problem) RemoveFile(name);
  return problem;
}

FileProblem ReplaceFileContents(const std::string& target, const std::string& bytes,
                                std::string* temporary) {
  const std::string file = FollowedPath(target);
  if (const FileProblem problem = WhyNotWritable(file)) return problem;
  std::string name;
  FileProblem problem;
  FILE* out = CreateTemporaryFor(file, &name, &problem);
  if (out == nullptr) {
    if (temporary != nullptr) *temporary = name;
    return problem;
  }
  problem = WriteAndClose(out, bytes);
  // The temporary file is this run's own: no other run removes it, or
  // writes it.
  if (!problem) problem = MoveFileOver(name, file);
  if (problem) RemoveFile(name);
  return problem;
}

FileProblem WhyUnreadable(const std::string& name) {
  if (const FileProblem kind = KindAt(name)) return kind;
  FILE* file = OpenToRead(name);
  if (file == nullptr) return ProblemOf(errno);
  fclose(file);
  return {FileProblem::kNotAFile, 0};
}

bool IsRegularFile(const std::string& name) { return !KindAt(name); }

std::string FolderOf(const std::string& path) {
  const size_t end = path.find_last_of("/\\");
  return end == std::string::npos ? "" : path.substr(0, end + 1);
}

std::string WithExtension(const std::string& path, const std::string& extension) {
  const size_t dot = path.find_last_of('.');
  const size_t folder = FolderOf(path).size();
  return (dot != std::string::npos && dot > folder ? path.substr(0, dot) : path) + extension;
}

std::string FirstFittingName(const NumberedNames& names,
                             const std::function<bool(const std::string&)>& fits) {
  constexpr int kMostNames = 1000;
  for (int n = 0; n < kMostNames; ++n) {
    const std::string name =
        names.stem + (n == 0 ? "" : names.separator + std::to_string(names.firstNumber + n - 1)) +
        names.ending;
    if (fits(name)) return name;
  }
  return "";
}

bool IsAbsolutePath(const std::string& path) {
  const bool drive = path.size() >= 2 && path[1] == ':' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive || (!path.empty() && (path[0] == '/' || path[0] == '\\'));
}
