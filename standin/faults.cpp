// The fault log shared by every part of the stand-in.
#include <cstdio>
#include <mutex>
#include <vector>

#include "internal.h"
#include "standin.h"

namespace {

struct FaultLog {
  std::mutex mutex;
  std::vector<std::string> faults;
};

// Never destroyed: modules may still call in from their exit-time code.
FaultLog& Log() {
  static FaultLog* log = new FaultLog;
  return *log;
}

}  // namespace

namespace standin {

namespace detail {

void Fault(const char* call, const std::string& what) {
  std::string text = std::string(call) + ": " + what;
  std::fprintf(stderr, "standin fault: %s\n", text.c_str());
  std::lock_guard<std::mutex> lock(Log().mutex);
  Log().faults.push_back(text);
}

std::string Describe(const void* handle) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", handle);
  return text;
}

}  // namespace detail

int FaultCount() {
  std::lock_guard<std::mutex> lock(Log().mutex);
  return static_cast<int>(Log().faults.size());
}

std::vector<std::string> Faults() {
  std::lock_guard<std::mutex> lock(Log().mutex);
  return Log().faults;
}

void ClearFaults() {
  std::lock_guard<std::mutex> lock(Log().mutex);
  Log().faults.clear();
}

}  // namespace standin
