#include "tools/calendar/calendar_command.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <vector>

#include "agenda/calendar.h"
#include "host/clock.h"
#include "tools/calendar/agenda_lines.h"
#include "tools/calendar/expand.h"
#include "tools/calendar/ical_export.h"
#include "tools/calendar/ical_import.h"
#include "tools/calendar/system.h"
#include "tools/checker/checker.h"
#include "tools/checker/encoding.h"
#include "tools/files.h"
#include "tools/terminal.h"
#include "tools/texts.h"

namespace {

constexpr size_t kMostDays = 100000;
// The last day a window reaches when neither --until nor --count limits it.
constexpr AgendaDate kLastDay = {9999, 12, 31};

enum Text {
  kTextUnknownOption,
  kTextNeedsValue,
  kTextNoFile,
  kTextBadDate,
  kTextBadWindow,
  kTextBadCount,
  kTextNoToday,
  kTextUnknownZone,
  kTextExpandUsage,
  kTextRuleRejected,
  kTextPartsConflict,
  kTextNotWholeDays,
  kTextCannotRead,
  kTextCannotWrite,
  kTextSubstituted,
  kTextShortened,
  kTextZoneNotKnown,
  kTextNoStart,
  kTextLeftOut,
  kTextNotICalendar,
  kTextDamaged,
  kTextCount
};

const TextPair kTexts[] = {
    {"vorlinde-agenda: unknown option {0}\n",
     "vorlinde-agenda: {0} というオプションはありません\n"},
    {"vorlinde-agenda: {0} needs a value\n", "vorlinde-agenda: {0} には値が必要です\n"},
    {"vorlinde-agenda: no file given\n", "vorlinde-agenda: ファイルが指定されていません\n"},
    {"vorlinde-agenda: {0} {1}: not a date of the calendar (write it as YYYY/MM/DD)\n",
     "vorlinde-agenda: {0} {1}: 暦にある日付ではありません（YYYY/MM/DD の形で書いてください）\n"},
    {"vorlinde-agenda: --until {0} comes before the first day {1}\n",
     "vorlinde-agenda: --until {0} が最初の日 {1} より前です\n"},
    {"vorlinde-agenda: --count {0}: give a whole number from 1 to 100000\n",
     "vorlinde-agenda: --count {0}: 1 から 100000 までの整数を指定してください\n"},
    {"vorlinde-agenda: cannot tell today's date; give it with --from\n",
     "vorlinde-agenda: 今日の日付がわかりません。--from で指定してください\n"},
    {"vorlinde-agenda: --tz {0}: no such time zone (write it as Asia/Tokyo)\n",
     "vorlinde-agenda: --tz {0}: そのタイムゾーンはありません（Asia/Tokyo "
     "のように書いてください）\n"},
    {"vorlinde-agenda: expand needs --rule, --from and one text, and takes --until or --count, "
     "not both\n",
     "vorlinde-agenda: expand には --rule、--from と文字列 1 つが必要です。--until と --count "
     "は片方だけ指定できます\n"},
    {"vorlinde-agenda: --rule {0}: not a repetition rule (write it as FREQ=WEEKLY;BYDAY=MO,TH)\n",
     "vorlinde-agenda: --rule {0}: 繰り返しの規則として読めません（FREQ=WEEKLY;BYDAY=MO,TH "
     "のように書いてください）\n"},
    {"vorlinde-agenda: --rule {0}: its parts cannot go together in a repetition rule (such as "
     "BYMONTHDAY in a weekly rule)\n",
     "vorlinde-agenda: --rule {0}: 繰り返しの規則として一緒に使えない部分があります（毎週の規則の "
     "BYMONTHDAY など）\n"},
    {"vorlinde-agenda: --rule {0}: repeats more often than daily, but an agenda line is for a "
     "whole day\n",
     "vorlinde-agenda: --rule {0}: 1 日より短い間隔の繰り返しです。予定の行は 1 日単位です\n"},
    {"vorlinde-agenda: cannot read {0}: {1}\n", "vorlinde-agenda: {0} を読めません：{1}\n"},
    {"vorlinde-agenda: cannot write {0}: {1}\n", "vorlinde-agenda: {0} に書き込めません：{1}\n"},
    {"{0}:{1}: warning: \"{2}\" has characters Shift-JIS lacks; they are written as 〓\n",
     "{0}:{1}: warning: 「{2}」には Shift-JIS にない文字があるため 〓 にしました\n"},
    {"{0}:{1}: warning: \"{2}\" is too long for an agenda line; its end is left out\n",
     "{0}:{1}: warning: 「{2}」は予定の 1 行に収まらないため、後ろを省きました\n"},
    {"{0}:{1}: warning: the time zone {2} of \"{3}\" is not known, so its times are taken as "
     "local times\n",
     "{0}:{1}: warning: 「{3}」のタイムゾーン {2} がわからないため、時刻をそのまま"
     "ローカル時刻としました\n"},
    {"{0}:{1}: warning: \"{2}\" has no start (DTSTART) and is left out\n",
     "{0}:{1}: warning: 「{2}」には開始日時（DTSTART）がないため省きました\n"},
    {"{0}:{1}: warning: left out: {2}\n", "{0}:{1}: warning: 書き出しません：{2}\n"},
    {"{0}:{1}: error: not an iCalendar file (it does not begin with BEGIN:VCALENDAR)\n",
     "{0}:{1}: error: iCalendar のファイルではありません（BEGIN:VCALENDAR で始まっていません）\n"},
    {"{0}:{1}: error: the calendar is damaged: {2}\n",
     "{0}:{1}: error: カレンダーが壊れています：{2}\n"},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == kTextCount, "one pair of texts for each text");

bool japanese = false;

// The same day a year later; 29 February gives 28 February of a common year.
AgendaDate AYearAfter(AgendaDate date) {
  const int32_t year = date.year + 1;
  return {year, date.month, std::min(date.day, DaysInMonth(year, date.month))};
}

void Tell(Text text, const std::vector<std::string>& arguments = {}) {
  fputs(
      FillIn(Utf8ToTerminalText(japanese ? kTexts[text].japanese : kTexts[text].english), arguments)
          .c_str(),
      stderr);
}

void Tell(const CalendarMessage& message) {
  static const Text kFor[] = {kTextSubstituted, kTextShortened, kTextZoneNotKnown, kTextNoStart,
                              kTextLeftOut,     kTextLeftOut,   kTextNotICalendar, kTextDamaged};
  std::vector<std::string> arguments = {message.file, std::to_string(message.line)};
  // Quoted texts come from the calendar: a line break in one would split the
  // message.
  for (const std::string& argument : message.arguments) {
    arguments.push_back(Utf8ToTerminalText(Escaped(argument)));
  }
  std::string text =
      FillIn(Utf8ToTerminalText(japanese ? kTexts[kFor[static_cast<int>(message.kind)]].japanese
                                         : kTexts[kFor[static_cast<int>(message.kind)]].english),
             arguments);
  // A message about a whole file names no line.
  if (message.line == 0) text.erase(message.file.size(), 2);
  fputs(text.c_str(), stderr);
}

struct Options {
  std::string command;
  std::vector<std::string> files;  // or the text, for expand
  bool haveFrom = false, haveUntil = false;
  AgendaDate from = {0, 0, 0}, until = {0, 0, 0};
  size_t count = 0;
  std::string zone, output, rule;
};

// Returns 0 when the options were read, else the exit status to end with.
int ParseOptions(int argc, char** argv, bool (*parseDate)(const std::string&, AgendaDate*),
                 Options* options) {
  options->command = argv[1];
  const bool import = options->command == "import", expand = options->command == "expand";
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i], value;
    const size_t equals = arg.find('=');
    const bool joined = arg.compare(0, 2, "--") == 0 && equals != std::string::npos;
    if (joined) {
      value = arg.substr(equals + 1);
      arg = arg.substr(0, equals);
    }
    const bool dates = import || expand;
    const bool takesValue = arg == "--output" || (dates && (arg == "--from" || arg == "--until")) ||
                            (import && arg == "--tz") ||
                            (expand && (arg == "--rule" || arg == "--count"));
    if (arg == "--") {
      for (++i; i < argc; ++i) options->files.push_back(argv[i]);
      break;
    }
    if (!takesValue) {
      if (joined || (arg.size() > 1 && arg[0] == '-')) {
        Tell(kTextUnknownOption, {argv[i]});
        return 2;
      }
      options->files.push_back(arg);
      continue;
    }
    if (!joined) {
      if (++i >= argc) {
        Tell(kTextNeedsValue, {arg});
        return 2;
      }
      value = argv[i];
    }
    if (arg == "--from" || arg == "--until") {
      const bool from = arg == "--from";
      if (!parseDate(value, from ? &options->from : &options->until)) {
        Tell(kTextBadDate, {arg, value});
        return 2;
      }
      (from ? options->haveFrom : options->haveUntil) = true;
    } else if (arg == "--count") {
      char* end = nullptr;
      const unsigned long count = strtoul(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || value[0] == '-' || count < 1 || count > kMostDays) {
        Tell(kTextBadCount, {value});
        return 2;
      }
      options->count = count;
    } else {
      (arg == "--output" ? options->output : arg == "--tz" ? options->zone : options->rule) = value;
    }
  }
  if (expand && (options->rule.empty() || !options->haveFrom || options->files.size() != 1 ||
                 (options->haveUntil && options->count > 0))) {
    Tell(kTextExpandUsage);
    return 2;
  }
  if (options->files.empty()) {
    Tell(kTextNoFile);
    return 2;
  }
  if (!options->haveFrom && !LocalDate(0, &options->from)) {
    Tell(kTextNoToday);
    return 2;
  }
  // Without --until a window is a year long, unless --count limits it.
  if (!options->haveUntil)
    options->until = options->count > 0 ? kLastDay : AYearAfter(options->from);
  const auto key = [](AgendaDate d) { return (d.year * 100 + d.month) * 100 + d.day; };
  if (key(options->until) < key(options->from)) {
    Tell(kTextBadWindow, {DateColumns(options->until), DateColumns(options->from)});
    return 2;
  }
  return 0;
}

bool ReadWhole(const std::string& name, std::string* text) {
  if (ReadWholeFile(name, text)) return true;
  Tell(kTextCannotRead, {name, strerror(errno)});
  return false;
}

// Writes the output to standard output, or to the named file through a
// temporary file beside it, so that the file is never left half written.
int Write(const std::string& bytes, const std::string& output) {
  if (output.empty()) {
    SetBinaryOutput();
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    return fflush(stdout) == 0 ? 0 : 2;
  }
  const int error = ReplaceFileContents(output, bytes);
  if (error == 0) return 0;
  Tell(kTextCannotWrite, {output, strerror(error)});
  return 2;
}

void TellAll(const std::vector<CalendarMessage>& messages) {
  for (const CalendarMessage& message : messages) Tell(message);
}

int Import(const Options& options) {
  if (!options.zone.empty() && !IsKnownZone(options.zone)) {
    Tell(kTextUnknownZone, {options.zone});
    return 2;
  }
  std::vector<CalendarText> calendars;
  for (const std::string& name : options.files) {
    calendars.push_back({name, std::string()});
    if (!ReadWhole(name, &calendars.back().text)) return 2;
  }
  std::string agenda;
  std::vector<CalendarMessage> messages;
  const bool read =
      ImportCalendars(calendars, {options.from, options.until, options.zone}, &agenda, &messages);
  TellAll(messages);
  return read ? Write(agenda, options.output) : 2;
}

int Export(const Options& options) {
  CheckOptions lint;
  lint.language = japanese ? CheckLanguage::kJapanese : CheckLanguage::kEnglish;
  lint.shiftJisToUtf8 = ShiftJisToUtf8;
  std::vector<AgendaExportFile> files;
  for (const std::string& name : options.files) {
    std::vector<Finding> findings;
    if (!CheckAgendaFile(name.c_str(), lint, &findings)) {
      Tell(kTextCannotRead, {name, strerror(errno != 0 ? errno : ENOENT)});
      return 2;
    }
    files.push_back({name, std::string(), {}});
    for (const Finding& finding : findings) {
      const bool wholeFile = finding.kind == FindingKind::kUtf16 ||
                             finding.kind == FindingKind::kUtf8ByteOrderMark ||
                             finding.kind == FindingKind::kUtf8;
      if (wholeFile && files.back().fileLeftOut.empty()) files.back().fileLeftOut = finding.message;
      if (!wholeFile && finding.kind != FindingKind::kReading) {
        files.back().linesLeftOut.insert({finding.line, finding.message});
      }
    }
  }
  // Reproducible output when the environment pins the time of making.
  const char* epoch = getenv("SOURCE_DATE_EPOCH");
  const time_t stamp =
      epoch != nullptr ? static_cast<time_t>(strtoll(epoch, nullptr, 10)) : time(nullptr);
  std::string ics;
  std::vector<CalendarMessage> messages;
  const bool read = ExportAgendas(files, stamp, &ics, &messages);
  TellAll(messages);
  return read ? Write(ics, options.output) : 2;
}

int Expand(const Options& options) {
  std::vector<AgendaDate> days;
  switch (ExpandRule(options.rule, options.from, options.until, options.count, &days)) {
    case ExpandResult::kRuleRejected:
      Tell(kTextRuleRejected, {options.rule});
      return 2;
    case ExpandResult::kPartsConflict:
      Tell(kTextPartsConflict, {options.rule});
      return 2;
    case ExpandResult::kNotWholeDays:
      Tell(kTextNotWholeDays, {options.rule});
      return 2;
    case ExpandResult::kDone:
      break;
  }
  bool substituted = false, shortened = false;
  const std::string text = EntryText(ArgumentToUtf8(options.files[0]), kLongestAgendaLine - 11,
                                     &substituted, &shortened);
  std::string agenda;
  for (const AgendaDate& day : days) agenda += DateColumns(day) + " " + text + "\r\n";
  return Write(agenda, options.output);
}

}  // namespace

bool IsCalendarCommand(const std::string& command) {
  return command == "import" || command == "export" || command == "expand";
}

int RunCalendarCommand(int argc, char** argv, bool inJapanese,
                       bool (*parseDate)(const std::string& text, AgendaDate* date)) {
  japanese = inJapanese;
  FindZoneFolder();
  Options options;
  if (const int status = ParseOptions(argc, argv, parseDate, &options)) return status;
  if (options.command == "import") return Import(options);
  return options.command == "export" ? Export(options) : Expand(options);
}
