#include "tests/test_support.h"

#include <stdio.h>
#include <time.h>

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

std::string BlockText(HLOCAL block) {
  if (block == nullptr) return "(none)";
  const char* text = static_cast<const char*>(LocalLock(block));
  if (text == nullptr) return "(unlockable)";
  std::string copy(text);
  LocalUnlock(block);
  return copy;
}

AgendaDate LocalToday() {
  const time_t now = time(nullptr);
  const struct tm* local = localtime(&now);
  return AgendaDate{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

bool SameDate(AgendaDate a, AgendaDate b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

std::string Heading(AgendaDate date) {
  char buffer[64];
  snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", static_cast<int>(date.year),
           static_cast<int>(date.month), static_cast<int>(date.day));
  return std::string(buffer) + "の予定";
}

}  // namespace testing_support
