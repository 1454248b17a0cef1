#include "tools/programs/vorlinde_agenda/environment.h"

#include <stdlib.h>
#include <time.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "host/clock.h"
#include "tools/console/console.h"
#include "tools/encodings/encodings.h"

std::string EnvironmentText(const char* name) {
#if defined(_WIN32)
  // Read in UTF-16, as the command line is: getenv, and msvcrt's _wgetenv
  // made from it, give the ANSI code page.
  const std::wstring wide = Utf8ToWide(name);
  const DWORD size = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (size == 0) return std::string();
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(wide.c_str(), &value[0], size);
  return length < size ? WideToUtf8(value.substr(0, length)) : std::string();
#else
  const char* value = getenv(name);
  return value != nullptr ? ArgumentToUtf8(value) : std::string();
#endif
}

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
