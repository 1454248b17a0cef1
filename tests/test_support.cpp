#include "tests/test_support.h"

#include <stdio.h>
#include <time.h>

namespace testing_support {

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

std::string EntryFor(AgendaDate date) {
  char line[48];
  snprintf(line, sizeof line, "%04d/%02d/%02d entry of %04d-%02d-%02d", static_cast<int>(date.year),
           static_cast<int>(date.month), static_cast<int>(date.day), static_cast<int>(date.year),
           static_cast<int>(date.month), static_cast<int>(date.day));
  return line;
}

std::string MemoFor(AgendaDate date) { return Heading(date) + "\r\n" + EntryFor(date).substr(11); }

}  // namespace testing_support
