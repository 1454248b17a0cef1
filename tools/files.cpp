#include "tools/files.h"

#include <errno.h>
#include <stdio.h>

#include "tools/terminal.h"

bool ReadWholeFile(const std::string& name, std::string* bytes) {
  FILE* file = fopen(name.c_str(), "rb");
  if (file == nullptr) return false;
  char buffer[65536];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, n);
  const bool read = !ferror(file);
  fclose(file);
  if (!read) errno = EIO;
  return read;
}

bool WriteNewFile(const std::string& name, const std::string& bytes) {
  FILE* file = CreateNewFile(name);
  if (file == nullptr) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int error = errno;
  if (fclose(file) == 0 && written) return true;
  remove(name.c_str());
  if (!written) errno = error;
  return false;
}

int ReplaceFileContents(const std::string& target, const std::string& bytes) {
  const std::string temporary = target + ".converting";
  remove(temporary.c_str());  // left by an earlier, interrupted run
  if (!WriteNewFile(temporary, bytes)) return errno;
  if (MoveFileOver(temporary, target)) return 0;
  const int error = errno != 0 ? errno : EACCES;
  remove(temporary.c_str());
  return error;
}
