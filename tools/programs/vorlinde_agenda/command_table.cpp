#include "tools/programs/vorlinde_agenda/command_table.h"

#include <stdio.h>

#include "tools/almanac/almanac.h"
#include "tools/console/console.h"
#include "tools/holidays/holidays.h"
#include "tools/icalendar/origin.h"
#include "tools/programs/vorlinde_agenda/names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"

namespace {

// The days a show may span; a count of occurrences expand may write.
constexpr long kMostDaysShown = 366;
constexpr long kMostOccurrences = 100000;

// The usage gives each subcommand's name in this many columns, and indents
// what continues a line on it by as many.
constexpr size_t kNameColumns = 8;

std::string Number(long n) { return std::to_string(n); }

// An option's least and most value, for a text that names its range.
std::vector<std::string> Range(const Option& option) {
  return {Number(option.least), Number(option.most)};
}

const Option kDays = {Option::kNumber, kDaysOption, 1, kMostDaysShown};
const Option kCount = {Option::kNumber, kCountOption, 1, kMostOccurrences};
const Option kDayFrom = {Option::kDate, kFromOption, 0, 0};
const Option kDayUntil = {Option::kDate, kUntilOption, 0, 0};
const Option kOutput = {Option::kText, kOutputOption, 0, 0};
const Option kVerbose = {Option::kFlag, kVerboseOption, 0, 0};

// `name` padded to the name columns; one that fills them is followed by a
// blank, or, when `breakWhenLong`, by a line break and the indentation.
std::string InNameColumns(const std::string& name, bool breakWhenLong) {
  if (name.size() < kNameColumns) return name + std::string(kNameColumns - name.size(), ' ');
  return name + (breakWhenLong ? "\n" + std::string(kNameColumns, ' ') : " ");
}

// The options the argument reader is to know for `command`.
std::vector<Option> OptionsOf(const Command& command) {
  std::vector<Option> options;
  for (const CommandOption& taken : command.options) options.push_back(taken.option);
  return options;
}

// The paragraph on exit statuses: each subcommand's, those that share one
// named together.
std::string ExitStatuses() {
  std::string paragraph = Say(kTextExitStatus);
  const std::vector<Command>& commands = Commands();
  for (size_t first = 0; first < commands.size();) {
    size_t end = first + 1;
    std::string names = commands[first].name;
    for (; end < commands.size() && commands[end].exitStatus == commands[first].exitStatus; ++end) {
      names += Say(kTextNameSeparator) + commands[end].name;
    }
    paragraph += InNameColumns(names, end > first + 1) + Say(commands[first].exitStatus);
    first = end;
  }
  return paragraph;
}

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"show",
       {{{Option::kDate, kDateOption, 0, 0}, kTextShowDate},
        {kDays, {kTextShowDays, Range(kDays)}},
        {{Option::kFlag, kRawOption, 0, 0}, kTextShowRaw}},
       kTextShowSynopsis,
       kTextShowSummary,
       kTextShowExit,
       Show},
      {"check",
       {{kVerbose, kTextCheckVerbose}},
       kTextCheckSynopsis,
       kTextCheckSummary,
       kTextCheckExit,
       Check},
      {"convert",
       {{{Option::kFlag, kSubstituteOption, 0, 0}, kTextConvertSubstitute},
        {kOutput, kTextConvertOutput}},
       kTextConvertSynopsis,
       kTextConvertSummary,
       kTextConvertExit,
       Convert},
      {"import",
       {{kDayFrom, {kTextImportFrom, {Number(-ImportWindow().fromDays)}}},
        {kDayUntil, kTextImportUntil},
        {{Option::kText, kZoneOption, 0, 0}, kTextImportZone},
        {kOutput, kTextAgendaOutput}},
       kTextImportSynopsis,
       kTextImportSummary,
       kTextWritesNothingExit,
       Import},
      {"export",
       {{kOutput, kTextExportOutput}},
       kTextExportSynopsis,
       kTextExportSummary,
       kTextWritesNothingExit,
       Export},
      {"expand",
       {{{Option::kText, kRuleOption, 0, 0}, kTextExpandRule},
        {kDayFrom, kTextExpandFrom},
        {kDayUntil, kTextExpandUntil},
        {kCount, {kTextExpandCount, Range(kCount)}},
        {kOutput, kTextAgendaOutput}},
       kTextExpandSynopsis,
       kTextExpandSummary,
       kTextWritesNothingExit,
       Expand},
      {"refresh",
       {{kVerbose, kTextRefreshVerbose},
        {{Option::kFlag, kScheduleOption, 0, 0}, kTextRefreshSchedule},
        {{Option::kFlag, kUnscheduleOption, 0, 0}, kTextRefreshUnschedule}},
       kTextRefreshSynopsis,
       kTextRefreshSummary,
       kTextRefreshExit,
       Refresh},
      {"holidays",
       {{{Option::kNumber, kFromOption, kFirstHolidayYear, kLastHolidayYear}, kTextHolidaysFrom},
        {{Option::kNumber, kUntilOption, kFirstHolidayYear, kLastHolidayYear}, kTextHolidaysUntil},
        {kOutput, kTextAgendaOutput}},
       kTextHolidaysSynopsis,
       {kTextHolidaysSummary, {Number(kFirstHolidayYear), Number(kLastHolidayYear)}},
       kTextHolidaysExit,
       Holidays},
      {"almanac",
       {{{Option::kNumber, kFromOption, kFirstAlmanacYear, kLastAlmanacYear}, kTextAlmanacFrom},
        {{Option::kNumber, kUntilOption, kFirstAlmanacYear, kLastAlmanacYear}, kTextAlmanacUntil},
        {{Option::kText, kOnlyOption, 0, 0}, {kTextAlmanacOnly, {AlmanacKindNames()}}},
        {kOutput, kTextAgendaOutput}},
       kTextAlmanacSynopsis,
       {kTextAlmanacSummary, {Number(kFirstAlmanacYear), Number(kLastAlmanacYear)}},
       kTextHolidaysExit,
       Almanac},
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
  const std::string program = std::string(kProgramName) + " ";
  std::string usage;
  for (const Command& command : Commands()) {
    usage += Say(usage.empty() ? kTextUsageFirst : kTextUsageNext) + program + command.name + " " +
             Say(command.synopsis) + "\n";
  }
  usage += Say(kTextUsageNext) + program + Say(kTextDroppedSynopsis) + "\n\n";
  for (const Command& command : Commands()) {
    usage +=
        InNameColumns(command.name, false) + Say(command.summary.text, command.summary.arguments);
    for (const CommandOption& taken : command.options) {
      usage += Say(taken.help.text, taken.help.arguments);
    }
  }
  return usage + Say(kTextUsageEnd, {SayNumber(UserLanguage(), kDaysDropShows)}) + "\n" +
         ExitStatuses();
}

int RunCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) {
    PrintText(stderr, Usage());
    return 2;
  }
  const Command* command = FindCommand(arguments.front());
  Arguments read;
  const ArgumentProblem problem =
      command != nullptr
          ? ReadArguments({arguments.begin() + 1, arguments.end()}, OptionsOf(*command), &read)
          : ReadArguments(arguments, {}, &read);
  if (read.help) {
    PrintText(stdout, Usage());
    return 0;
  }
  if (command == nullptr) {
    Tell(stderr, kTextUnknownCommand, {Shown(arguments.front())});
    return 2;
  }
  if (problem) {
    TellArgumentProblem(problem);
    return 2;
  }
  return command->run(read);
}
