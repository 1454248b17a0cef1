// Linux has no Task Scheduler: the refresh is a crontab line the user
// installs (CrontabLine), which runs this program itself.
#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include "tools/schedule/schedule.h"

SchedulerRun RegisterTask(const std::string&, const std::string&) {
  return {SchedulerRun::kUnsupported, 0};
}

SchedulerRun RemoveTask(const std::string&) { return {SchedulerRun::kUnsupported, 0}; }

std::string CurrentUserName(const std::string& loginFromEnvironment) {
  const passwd* entry = getpwuid(geteuid());
  return entry != nullptr ? entry->pw_name : loginFromEnvironment;
}

std::string ScheduledProgramPath() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  return length > 0 && static_cast<size_t>(length) < sizeof path ? std::string(path, length) : "";
}
