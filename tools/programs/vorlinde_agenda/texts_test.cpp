// Every text of the table in both languages, its arguments filled as <0>,
// <1>..., against texts.golden beside it, line by line. After a deliberate
// change of a text, VORLINDE_UPDATE_GOLDEN=1 rewrites the golden file, to be
// read over before it is committed.
// Not covered: which text a command tells when (tests/tool/ holds the
// program's output to expected outputs).
#include "tools/programs/vorlinde_agenda/texts.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "tools/files/files.h"
#include "tools/strings/strings.h"

namespace {

// Every text as the golden file holds it: a heading line with the text's
// number and language, then the text itself, with a line break added after
// one that ends without one (and the heading says so).
std::string AllTexts() {
  std::vector<std::string> arguments;
  for (int i = 0; i < 10; ++i) arguments.push_back("<" + std::to_string(i) + ">");
  std::string all;
  for (int text = 0; text < kTextCount; ++text) {
    for (const Language language : {Language::kEnglish, Language::kJapanese}) {
      const std::string said = Say(language, static_cast<Text>(text), arguments);
      const bool ends = !said.empty() && said.back() == '\n';
      all += "--- " + std::to_string(text) + (language == Language::kEnglish ? " en" : " ja") +
             (ends ? "" : " (no line end)") + "\n" + said + (ends ? "" : "\n");
    }
  }
  return all;
}

TEST(Texts, AsTheGoldenFileHoldsThem) {
  const std::string got = AllTexts();
  if (getenv("VORLINDE_UPDATE_GOLDEN") != nullptr) {
    ASSERT_FALSE(ReplaceFileContents(VORLINDE_TEXTS_GOLDEN, got)) << VORLINDE_TEXTS_GOLDEN;
  }
  std::string want;
  ASSERT_FALSE(ReadWholeFile(VORLINDE_TEXTS_GOLDEN, &want)) << VORLINDE_TEXTS_GOLDEN;
  const std::vector<std::string> wantLines = SplitLines(want), gotLines = SplitLines(got);
  for (size_t i = 0; i < wantLines.size() && i < gotLines.size(); ++i) {
    ASSERT_EQ(wantLines[i], gotLines[i]) << "line " << i + 1 << " of " << VORLINDE_TEXTS_GOLDEN;
  }
  EXPECT_EQ(wantLines.size(), gotLines.size()) << "lines in " << VORLINDE_TEXTS_GOLDEN;
}

}  // namespace
