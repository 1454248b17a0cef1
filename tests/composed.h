// Composition as the engine's unit tests call it: for tests linked with the
// module's objects.
#pragma once

#include <string>

#include "agenda/agenda.h"
#include "tests/test_support.h"

namespace testing_support {

// A memo composed from a NUL-terminated file list, and the length the
// composition reported.
struct Composed {
  int32_t length;
  std::string text;
};

inline Composed Compose(const std::string& list, AgendaDate date) {
  HLOCAL memo = nullptr;
  Composed result;
  result.length = ComposeMemo(list.c_str(), date, &memo);
  result.text = BlockText(memo);
  LocalFree(memo);
  return result;
}

}  // namespace testing_support
