#include "testing/scratch_dir.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>

namespace testing_support {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device seed;
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    const fs::path candidate =
        base / ("vorlinde-test-" + std::to_string(seed()) + "-" + std::to_string(counter++));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      path_ = candidate.string();
      return;
    }
  }
}

ScratchDir::~ScratchDir() {
  std::error_code error;
  fs::remove_all(path_, error);
}

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string full = (fs::path(path_) / name).string();
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

}  // namespace testing_support
