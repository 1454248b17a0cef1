// Composition as the engine's unit tests call it: for tests linked with the
// module's objects.
#pragma once

#include <gtest/gtest.h>

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

// Expects the Composed `composed` to hold the memo `expected` and to report
// its length; a difference is shown around the first byte that differs.
#define EXPECT_MEMO(expected, composed)                                                      \
  do {                                                                                       \
    const std::string want_ = (expected);                                                    \
    const ::testing_support::Composed got_ = (composed);                                     \
    EXPECT_TRUE(want_ == got_.text) << ::testing_support::FirstDifference(want_, got_.text); \
    EXPECT_EQ(static_cast<int32_t>(got_.text.size()), got_.length) << "reported length";     \
  } while (0)
