// The console's language natively: Japanese when the locale messages follow
// is Japanese. Not covered: Windows' code pages (under Wine, the tool tests'
// Japanese output).
#include "tools/console/console.h"

#include <gtest/gtest.h>

namespace {

TEST(Console, JapaneseByTheMessageLocale) {
  const struct {
    const char* locale;
    bool japanese;
  } cases[] = {
      {"ja_JP.UTF-8", true}, {"ja", true},          {"ja_JP.eucJP", true}, {"", false},
      {"C", false},          {"en_US.UTF-8", false}, {"j", false},         {"JA_JP", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.japanese, TerminalIsJapanese(c.locale)) << c.locale;
}

}  // namespace
