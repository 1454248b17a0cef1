// The table of subcommands: each is found by its name and runs its own
// function, takes the options its users type, and has its line in the
// usage, a summary, a help line for each option (naming it) and its exit
// statuses, in both languages.
// Not covered: what each subcommand does (tests/tool/).
#include "tools/programs/vorlinde_agenda/command_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/programs/vorlinde_agenda/names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"
#include "tools/strings/strings.h"

namespace {

bool HasLine(const std::string& text, const std::string& line) {
  for (const std::string& l : SplitLines(text)) {
    if (l == line) return true;
  }
  return false;
}

TEST(CommandTable, EverySubcommand) {
  const struct {
    const char* name;
    int (*run)(const Arguments&);
    std::vector<std::string> options;
  } rows[] = {
      {"show", Show, {"--date", "--days", "--raw"}},
      {"check", Check, {"--verbose"}},
      {"convert", Convert, {"--substitute", "--output"}},
      {"import", Import, {"--from", "--until", "--tz", "--output"}},
      {"export", Export, {"--output"}},
      {"expand", Expand, {"--rule", "--from", "--until", "--count", "--output"}},
      {"refresh", Refresh, {"--verbose", "--schedule", "--unschedule"}},
      {"holidays", Holidays, {"--from", "--until", "--output"}},
      {"almanac", Almanac, {"--from", "--until", "--only", "--output"}},
  };
  ASSERT_EQ(sizeof rows / sizeof rows[0], Commands().size());
  const std::string usage = Usage();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Command* command = FindCommand(row.name);
    ASSERT_NE(nullptr, command);
    EXPECT_EQ(row.run, command->run);
    std::vector<std::string> options;
    for (const CommandOption& taken : command->options) options.push_back(taken.option.name);
    EXPECT_EQ(row.options, options);
    const std::string start = std::string(kProgramName) + " " + row.name + " ";
    const std::string said = start + Say(command->synopsis);
    EXPECT_TRUE(HasLine(usage, Say(kTextUsageFirst) + said) ||
                HasLine(usage, Say(kTextUsageNext) + said))
        << "no line " << said << " in\n"
        << usage;
    for (const Language language : {Language::kEnglish, Language::kJapanese}) {
      EXPECT_NE("", Say(language, command->synopsis));
      EXPECT_NE("", Say(language, command->summary.text));
      EXPECT_NE("", Say(language, command->exitStatus));
      for (const CommandOption& taken : command->options) {
        // Indented by 10 columns, the option's name, a blank.
        const std::string help = Say(language, taken.help.text, taken.help.arguments);
        EXPECT_EQ(std::string(10, ' ') + taken.option.name + " ",
                  help.substr(0, 11 + std::string(taken.option.name).size()));
      }
    }
  }
}

}  // namespace
