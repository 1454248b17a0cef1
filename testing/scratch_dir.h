// A folder of its own for files a test, fuzz target or benchmark writes.
#pragma once

#include <string>

namespace testing_support {

// A directory of its own under the system's temporary directory, removed
// with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  // Writes `bytes` exactly to `name` in the directory; returns the full path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

}  // namespace testing_support
