#include "tools/programs/vorlinde_agenda/environment.h"

#include <stdlib.h>
#include <time.h>

#include "host/clock.h"
#include "tools/console/console.h"

std::string MessageLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string value = EnvironmentText(name);
    if (!value.empty()) return value;
  }
  return "";
}

time_t Now() {
  const char* epoch = getenv("SOURCE_DATE_EPOCH");
  return epoch != nullptr ? static_cast<time_t>(strtoll(epoch, nullptr, 10)) : CurrentInstant();
}

bool Today(AgendaDate* today) {
  const time_t now = Now();
  const struct tm* fields = localtime(&now);
  if (fields == nullptr) return false;
  *today = {fields->tm_year + 1900, fields->tm_mon + 1, fields->tm_mday};
  return true;
}

FetchLimits FetchLimitsFromEnvironment() {
  const char* timeout = getenv("VORLINDE_WEB_TIMEOUT");
  FetchLimits limits = FetchLimitsWithin(timeout != nullptr ? atoi(timeout) : 0);
  if (const char* file = getenv("VORLINDE_CA_FILE")) limits.certificateFile = file;
  return limits;
}
