#include "tools/programs/vorlinde_agenda/environment.h"

#include <stdlib.h>

#include "tools/console/console.h"

std::string EnvironmentText(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? ArgumentToUtf8(value) : std::string();
}

std::string MessageLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string value = EnvironmentText(name);
    if (!value.empty()) return value;
  }
  return "";
}
