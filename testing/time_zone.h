// A time zone for the length of a test, on the native build (a zone name
// such as "America/New_York" needs the system's zone database).
#pragma once

#include <string>

namespace fixed_clock {

// Runs with the process's time zone set to `zone` (a zone name such as
// "America/New_York"), restoring the zone it had afterwards.
class TimeZone {
 public:
  explicit TimeZone(const char* zone);
  ~TimeZone();
  TimeZone(const TimeZone&) = delete;
  TimeZone& operator=(const TimeZone&) = delete;

 private:
  bool hadOld_ = false;
  std::string old_;
};

}  // namespace fixed_clock
