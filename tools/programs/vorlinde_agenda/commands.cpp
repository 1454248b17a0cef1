#include "tools/programs/vorlinde_agenda/commands.h"

#include <stdio.h>

#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"
#include "tools/holidays/holidays.h"
#include "tools/console/console.h"

namespace {

// The days a show may span; a count of occurrences expand may write.
constexpr long kMostDaysShown = 366;
constexpr long kMostOccurrences = 100000;

constexpr OptionSpec kOutput = {OptionSpec::kText, "--output", 0, 0};

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"show",
       {{OptionSpec::kDate, "--date", 0, 0},
        {OptionSpec::kNumber, "--days", 1, kMostDaysShown},
        {OptionSpec::kFlag, "--raw", 0, 0}},
       kTextShowSynopsis,
       kTextShowSummary,
       {kTextShowDate, kTextShowDays, kTextShowRaw},
       Show},
      {"check",
       {{OptionSpec::kFlag, "--verbose", 0, 0}},
       kTextCheckSynopsis,
       kTextCheckSummary,
       {kTextCheckVerbose},
       Check},
      {"convert",
       {{OptionSpec::kFlag, "--substitute", 0, 0}, kOutput},
       kTextConvertSynopsis,
       kTextConvertSummary,
       {kTextConvertSubstitute, kTextConvertOutput},
       Convert},
      {"import",
       {{OptionSpec::kDate, "--from", 0, 0},
        {OptionSpec::kDate, "--until", 0, 0},
        {OptionSpec::kText, "--tz", 0, 0},
        kOutput},
       kTextImportSynopsis,
       kTextImportSummary,
       {kTextImportFrom, kTextImportUntil, kTextImportZone, kTextImportOutput},
       Import},
      {"export", {kOutput}, kTextExportSynopsis, kTextExportSummary, {}, Export},
      {"expand",
       {{OptionSpec::kText, "--rule", 0, 0},
        {OptionSpec::kDate, "--from", 0, 0},
        {OptionSpec::kDate, "--until", 0, 0},
        {OptionSpec::kNumber, "--count", 1, kMostOccurrences},
        kOutput},
       kTextExpandSynopsis,
       kTextExpandSummary,
       {},
       Expand},
      {"refresh",
       {{OptionSpec::kFlag, "--verbose", 0, 0},
        {OptionSpec::kFlag, "--schedule", 0, 0},
        {OptionSpec::kFlag, "--unschedule", 0, 0}},
       kTextRefreshSynopsis,
       kTextRefreshSummary,
       {kTextRefreshVerbose, kTextRefreshSchedule, kTextRefreshUnschedule},
       Refresh},
      {"holidays",
       {{OptionSpec::kNumber, "--from", kFirstHolidayYear, kLastHolidayYear},
        {OptionSpec::kNumber, "--until", kFirstHolidayYear, kLastHolidayYear},
        kOutput},
       kTextHolidaysSynopsis,
       kTextHolidaysSummary,
       {kTextHolidaysFrom, kTextHolidaysUntil, kTextHolidaysOutput},
       Holidays},
  };
  return commands;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& command : Commands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

std::string Usage() {
  std::string usage;
  for (const Command& command : Commands()) {
    usage += Say(usage.empty() ? kTextUsageFirst : kTextUsageNext) + "vorlinde-agenda " +
             command.name + " " + Say(command.synopsis) + "\n";
  }
  usage += Say(kTextUsageNext) + "vorlinde-agenda " + Say(kTextDroppedSynopsis) + "\n\n";
  for (const Command& command : Commands()) {
    // The name in 8 columns, and a blank after it at least.
    const std::string name = command.name;
    usage += name + std::string(name.size() < 8 ? 8 - name.size() : 1, ' ') + Say(command.summary);
    for (Text help : command.optionHelp) usage += Say(help);
  }
  return usage + Say(kTextUsageEnd);
}

int RunCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) {
    fputs(Utf8ToTerminalText(Usage()).c_str(), stderr);
    return 2;
  }
  const Command* command = FindCommand(arguments.front());
  Arguments read;
  const ArgumentProblem problem =
      command != nullptr
          ? ReadArguments({arguments.begin() + 1, arguments.end()}, command->options, &read)
          : ReadArguments(arguments, {}, &read);
  if (read.help) {
    fputs(Utf8ToTerminalText(Usage()).c_str(), stdout);
    return 0;
  }
  if (command == nullptr) {
    Tell(stderr, kTextUnknownCommand, {Shown(arguments.front())});
    return 2;
  }
  if (problem) {
    TellProblem(problem);
    return 2;
  }
  return command->run(read);
}
