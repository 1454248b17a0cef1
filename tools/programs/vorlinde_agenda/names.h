// The names vorlinde-agenda answers to, each written once: its own, which
// begins its messages, and its options'. The table of subcommands, the
// subcommands and the texts (as {program}, {date}...) take them from here.
#pragma once

constexpr char kProgramName[] = "vorlinde-agenda";

constexpr char kDateOption[] = "--date";
constexpr char kDaysOption[] = "--days";
constexpr char kRawOption[] = "--raw";
constexpr char kVerboseOption[] = "--verbose";
constexpr char kSubstituteOption[] = "--substitute";
constexpr char kOutputOption[] = "--output";
constexpr char kFromOption[] = "--from";
constexpr char kUntilOption[] = "--until";
constexpr char kZoneOption[] = "--tz";
constexpr char kRuleOption[] = "--rule";
constexpr char kCountOption[] = "--count";
constexpr char kScheduleOption[] = "--schedule";
constexpr char kUnscheduleOption[] = "--unschedule";
constexpr char kOnlyOption[] = "--only";
