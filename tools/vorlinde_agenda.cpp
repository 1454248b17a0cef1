// vorlinde-agenda: shows the memo a chip would show on any day, composed by
// the module's own engine, checks agenda files for the lines the module will
// probably read otherwise than their writer meant, re-saves files from
// today's editors (UTF-8, UTF-16) as the Shift-JIS the module reads, and
// bridges agenda files and calendars (tools/calendar/).
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "agenda/calendar.h"
#include "agenda/reader.h"
#include "host/clock.h"
#include "tools/calendar/calendar_command.h"
#include "tools/checker/checker.h"
#include "tools/convert/convert.h"
#include "tools/files.h"
#include "tools/start_mode.h"
#include "tools/terminal.h"
#include "tools/texts.h"

namespace {

constexpr int kMaxDays = 366;

// Every text the tool writes besides the checker's, English and Japanese side
// by side. "{0}", "{1}" stand for the arguments the text is given.
enum Text {
  kTextUsage,
  kTextUnknownCommand,
  kTextUnknownOption,
  kTextNeedsValue,
  kTextNoFile,
  kTextBadDate,
  kTextBadDays,
  kTextNoToday,
  kTextCannotRead,
  kTextNoSuchFile,
  kTextNotPermitted,
  kTextFolder,
  kTextNotAFile,
  kTextOneWarning,
  kTextWarnings,
  kTextOneFile,
  kTextFiles,
  kTextSummary,
  kTextSummaryUnreadable,
  kTextOutputWithOneFile,
  kTextAlreadyShiftJis,
  kTextNotText,
  kTextNoShiftJisForm,
  kTextSubstituted,
  kTextLeftUnchanged,
  kTextConverted,
  kTextConvertedTo,
  kTextCannotWrite,
  kTextExplanation,
  kTextPressEnter,
  kTextCount
};

const TextPair kTexts[] = {
    // kTextUsage
    {"usage: vorlinde-agenda show [--date YYYY/MM/DD] [--days N] [--raw] AGENDA-FILE...\n"
     "       vorlinde-agenda check [--verbose] AGENDA-FILE...\n"
     "       vorlinde-agenda convert [--substitute] [--output FILE] AGENDA-FILE...\n"
     "       vorlinde-agenda import [--from D] [--until D] [--tz ZONE] [--output FILE] "
     "CALENDAR.ics...\n"
     "       vorlinde-agenda export [--output FILE.ics] AGENDA-FILE...\n"
     "       vorlinde-agenda expand --rule RRULE --from D [--until D | --count N] [--output FILE] "
     "TEXT\n"
     "       vorlinde-agenda AGENDA-FILE...\n"
     "\n"
     "show    prints the memo a chip shows on the date (default: today) from the\n"
     "        agenda files, in their order, composed as the plug-in composes it.\n"
     "          --date D   the date, as 2026/12/24 or 2026-12-24\n"
     "          --days N   the memos of N days (1 to 366) from the date on, a blank\n"
     "                     line between them\n"
     "          --raw      the memo's bytes as the memo application gets them\n"
     "                     (Shift-JIS, CR LF)\n"
     "check   reads the agenda files as the plug-in reads them and reports each line\n"
     "        it will probably read otherwise than meant, as\n"
     "        FILE:LINE:COLUMN: warning: MESSAGE\n"
     "          --verbose  also says, for every entry line, how it is read\n"
     "convert re-saves agenda files saved as UTF-8 or UTF-16 as Shift-JIS, the\n"
     "        original kept as FILE.bak; a character with no Shift-JIS form leaves\n"
     "        the file as it is\n"
     "          --substitute  writes 〓 for such characters instead\n"
     "          --output F    writes the Shift-JIS text to F (one file only)\n"
     "import  writes the events of iCalendar files as agenda lines (Shift-JIS, CR LF)\n"
     "        in date order: an all-day event on each day it covers, a timed one as\n"
     "        YYYY/MM/DD HH:MM on the day it starts in local time (and as continued on\n"
     "        each further day), a plain yearly, monthly or daily all-day repetition\n"
     "        as one wildcard line, any other repetition day by day.\n"
     "          --from D   the first day (default: today)\n"
     "          --until D  the last day (default: a year after the first)\n"
     "          --tz ZONE  local time is that of ZONE (as Asia/Tokyo), not the machine's\n"
     "          --output F writes the agenda file F instead of standard output\n"
     "export  writes the entry lines of agenda files as one iCalendar (UTF-8), an\n"
     "        all-day event each, their wildcards as repetition rules; lines that\n"
     "        check warns about are left out and named on standard error.\n"
     "expand  writes the agenda lines (Shift-JIS, CR LF) of TEXT on each day of a\n"
     "        repetition rule, e.g. --rule \"FREQ=WEEKLY;BYDAY=MO,TH\", from D on,\n"
     "        until a day or for N of its days (default: a year).\n"
     "Files alone (as when dropped onto the program) are checked, and the memos\n"
     "of their next seven days shown.\n"
     "--help  shows this text\n"
     "\n"
     "Exit status: show gives 0, or 2 on a usage error; a file it cannot read is\n"
     "passed over, as the plug-in does, and named on standard error. check gives 0\n"
     "when it found nothing, 1 when it found something, and 2 on a usage error or\n"
     "when a file cannot be read. convert gives 0 when every file is Shift-JIS\n"
     "now, 1 when a file was left as it is for a character with no Shift-JIS form,\n"
     "and 2 on a usage error or a file that cannot be read, converted or written.\n"
     "import, export and expand give 0, or 2 on a usage error, a file that cannot\n"
     "be read or written, a damaged calendar or a rule they cannot read; then they\n"
     "write nothing.\n",
     "使い方: vorlinde-agenda show [--date YYYY/MM/DD] [--days N] [--raw] 予定ファイル...\n"
     "        vorlinde-agenda check [--verbose] 予定ファイル...\n"
     "        vorlinde-agenda convert [--substitute] [--output ファイル] 予定ファイル...\n"
     "        vorlinde-agenda import [--from D] [--until D] [--tz ゾーン] [--output ファイル] "
     "カレンダー.ics...\n"
     "        vorlinde-agenda export [--output ファイル.ics] 予定ファイル...\n"
     "        vorlinde-agenda expand --rule RRULE --from D [--until D | --count N] "
     "[--output ファイル] 文字列\n"
     "        vorlinde-agenda 予定ファイル...\n"
     "\n"
     "show    その日（省略時は今日）に付箋に表示されるメモを、予定ファイルから\n"
     "        指定の順に、プラグインと同じ処理で作って表示します。\n"
     "          --date D   日付（2026/12/24 または 2026-12-24）\n"
     "          --days N   その日から N 日分（1～366）のメモを、空行で区切って表示します\n"
     "          --raw      メモアプリケーションが受け取るままのバイト列（Shift-JIS、\n"
     "                     CR LF）で出力します\n"
     "check   予定ファイルをプラグインと同じように読み、書いた人の意図と違う読まれ方を\n"
     "        しそうな行を「ファイル:行:桁: warning: メッセージ」の形で報告します。\n"
     "          --verbose  予定の行ごとに、どう読まれるかも表示します\n"
     "convert UTF-8 や UTF-16 で保存された予定ファイルを Shift-JIS で保存し直します。\n"
     "        元のファイルは「ファイル名.bak」として残します。Shift-JIS にない文字が\n"
     "        あれば、ファイルはそのままにします\n"
     "          --substitute  そのような文字の代わりに 〓 を書きます\n"
     "          --output F    Shift-JIS の内容を F に書きます（ファイル 1 つのとき）\n"
     "import  iCalendar ファイルの予定を、日付順の予定の行（Shift-JIS、CR LF）にします。\n"
     "        終日の予定はかかる日ごとに、時刻のある予定はローカル時刻で始まる日に\n"
     "        YYYY/MM/DD HH:MM の形で（日をまたぐ予定は続きの日にも）書きます。単純な\n"
     "        毎年・毎月・毎日の終日の繰り返しは 1 行のワイルドカードに、それ以外の\n"
     "        繰り返しは日ごとの行にします。\n"
     "          --from D   最初の日（省略時は今日）\n"
     "          --until D  最後の日（省略時は最初の日の 1 年後）\n"
     "          --tz ゾーン ローカル時刻を、この機械のものでなくゾーン（Asia/Tokyo など）\n"
     "                     のものにします\n"
     "          --output F 標準出力でなく予定ファイル F に書きます\n"
     "export  予定ファイルの予定の行を、1 行を 1 つの終日の予定とする iCalendar（UTF-8）\n"
     "        にし、ワイルドカードは繰り返しの規則にします。check が警告する行は書き\n"
     "        出さず、標準エラーに示します。\n"
     "expand  繰り返しの規則（例: --rule \"FREQ=WEEKLY;BYDAY=MO,TH\"）の日ごとに、文字列の\n"
     "        予定の行（Shift-JIS、CR LF）を D から書きます。--until の日まで、または\n"
     "        --count の件数まで（省略時は 1 年分）。\n"
     "ファイルだけを指定すると（プログラムにファイルをドロップしたときと同じく）、\n"
     "検査し、その先 7 日分のメモを表示します。\n"
     "--help  この説明を表示します\n"
     "\n"
     "終了ステータス: show は 0、使い方の誤りは 2 です。読めないファイルは\n"
     "プラグインと同じく飛ばし、その名前を標準エラーに出します。check は何も\n"
     "見つからなければ 0、見つかれば 1、使い方の誤りや読めないファイルがあれば 2 です。\n"
     "convert はすべてのファイルが Shift-JIS になれば 0、Shift-JIS にない文字のために\n"
     "そのままにしたファイルがあれば 1、使い方の誤りや、読めない・変換できない・\n"
     "書けないファイルがあれば 2 です。import、export、expand は 0、使い方の誤り、\n"
     "読めない・書けないファイル、壊れたカレンダー、読めない規則では 2 で、そのとき\n"
     "は何も書きません。\n"},
    // kTextUnknownCommand
    {"vorlinde-agenda: unknown command {0}\n", "vorlinde-agenda: {0} というコマンドはありません\n"},
    // kTextUnknownOption
    {"vorlinde-agenda: unknown option {0}\n",
     "vorlinde-agenda: {0} というオプションはありません\n"},
    // kTextNeedsValue
    {"vorlinde-agenda: {0} needs a value\n", "vorlinde-agenda: {0} には値が必要です\n"},
    // kTextNoFile
    {"vorlinde-agenda: no agenda file given\n",
     "vorlinde-agenda: 予定ファイルが指定されていません\n"},
    // kTextBadDate
    {"vorlinde-agenda: --date {0}: not a date of the calendar (write it as YYYY/MM/DD)\n",
     "vorlinde-agenda: --date {0}: 暦にある日付ではありません（YYYY/MM/DD "
     "の形で書いてください）\n"},
    // kTextBadDays
    {"vorlinde-agenda: --days {0}: give a whole number from 1 to 366\n",
     "vorlinde-agenda: --days {0}: 1 から 366 までの整数を指定してください\n"},
    // kTextNoToday
    {"vorlinde-agenda: cannot tell today's date; give it with --date\n",
     "vorlinde-agenda: 今日の日付がわかりません。--date で指定してください\n"},
    // kTextCannotRead
    {"vorlinde-agenda: cannot read {0}: {1}\n", "vorlinde-agenda: {0} を読めません：{1}\n"},
    // kTextNoSuchFile
    {"no such file", "ファイルがありません"},
    // kTextNotPermitted
    {"permission denied", "読み取りが許可されていません"},
    // kTextFolder
    {"it is a folder", "フォルダーです"},
    // kTextNotAFile
    {"not a regular file", "通常のファイルではありません"},
    // kTextOneWarning, kTextWarnings
    {"1 warning", "警告 1 件"},
    {"{0} warnings", "警告 {0} 件"},
    // kTextOneFile, kTextFiles
    {"1 file", "1 ファイル"},
    {"{0} files", "{0} ファイル"},
    // kTextSummary
    {"vorlinde-agenda: {0} in {1}\n", "vorlinde-agenda: {1}を検査して{0}\n"},
    // kTextSummaryUnreadable
    {"vorlinde-agenda: {0} in {1}; {2} could not be read\n",
     "vorlinde-agenda: {1}を検査して{0}、{2}は読めません\n"},
    // kTextOutputWithOneFile
    {"vorlinde-agenda: --output takes one agenda file\n",
     "vorlinde-agenda: --output は予定ファイル 1 つのときだけ指定できます\n"},
    // kTextAlreadyShiftJis
    {"{0}: note: already Shift-JIS; left as it is\n",
     "{0}: note: すでに Shift-JIS です。そのままにします\n"},
    // kTextNotText
    {"{0}: error: neither UTF-8, UTF-16 nor Shift-JIS text; left as it is\n",
     "{0}: error: UTF-8、UTF-16、Shift-JIS のどのテキストでもありません。そのままにします\n"},
    // kTextNoShiftJisForm
    {"{0}:{1}:{2}: warning: {3} ({4}) has no Shift-JIS form\n",
     "{0}:{1}:{2}: warning: {3}（{4}）は Shift-JIS にない文字です\n"},
    // kTextSubstituted
    {"{0}:{1}:{2}: warning: {3} ({4}) has no Shift-JIS form; written as 〓\n",
     "{0}:{1}:{2}: warning: {3}（{4}）は Shift-JIS にない文字です。〓 にしました\n"},
    // kTextLeftUnchanged
    {"{0}: left as it is; change those characters, or convert with --substitute to write 〓 "
     "for them\n",
     "{0}: そのままにします。それらの文字を書き換えるか、--substitute を付けて変換すると 〓 "
     "になります\n"},
    // kTextConverted
    {"{0}: converted from {1} to Shift-JIS; the original is kept as {2}\n",
     "{0}: {1} から Shift-JIS に変換しました。元のファイルは {2} です\n"},
    // kTextConvertedTo
    {"{0}: converted from {1} to Shift-JIS into {2}\n",
     "{0}: {1} から Shift-JIS に変換して {2} に書きました\n"},
    // kTextCannotWrite
    {"vorlinde-agenda: cannot write {0}: {1}; {2} is left as it is\n",
     "vorlinde-agenda: {0} を書けません：{1}。{2} はそのままです\n"},
    // kTextExplanation
    {"vorlinde-agenda checks agenda files for the Vorlinde plug-in and shows their days.\n"
     "\n"
     "Drag an agenda file onto vorlinde-agenda.exe in Explorer: it is checked, and the\n"
     "memos of its next seven days are shown. If the file was saved as UTF-8 or\n"
     "UTF-16, convert it to the Shift-JIS the plug-in reads, from a command prompt:\n"
     "\n"
     "  vorlinde-agenda convert agenda.txt     re-save as Shift-JIS (agenda.txt.bak kept)\n"
     "  vorlinde-agenda check agenda.txt       lines the plug-in reads otherwise than meant\n"
     "  vorlinde-agenda show --days 7 agenda.txt   the memos of the coming week\n"
     "  vorlinde-agenda --help                 everything else\n",
     "vorlinde-agenda は Vorlinde プラグインの予定ファイルを検査し、その日々の予定を\n"
     "表示します。\n"
     "\n"
     "エクスプローラーで予定ファイルを vorlinde-agenda.exe にドラッグしてください。\n"
     "ファイルを検査し、その先 7 日分のメモを表示します。UTF-8 や UTF-16 で保存された\n"
     "ファイルは、コマンドプロンプトでプラグインが読む Shift-JIS に変換できます。\n"
     "\n"
     "  vorlinde-agenda convert agenda.txt     Shift-JIS で保存し直す（agenda.txt.bak を残す）\n"
     "  vorlinde-agenda check agenda.txt       意図と違う読まれ方をする行を報告する\n"
     "  vorlinde-agenda show --days 7 agenda.txt   この先 1 週間のメモを表示する\n"
     "  vorlinde-agenda --help                 そのほかの使い方\n"},
    // kTextPressEnter
    {"\nPress Enter to close this window.", "\nEnter キーを押すとこのウィンドウを閉じます。"},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == kTextCount, "one pair of texts for each text");

bool japanese = false;

// A text in the terminal's encoding with its arguments put in; the arguments
// are in the terminal's encoding already (file names as they were given).
std::string Say(Text text, const std::vector<std::string>& arguments = {}) {
  return FillIn(Utf8ToTerminalText(japanese ? kTexts[text].japanese : kTexts[text].english),
                arguments);
}

void Tell(FILE* stream, Text text, const std::vector<std::string>& arguments = {}) {
  fputs(Say(text, arguments).c_str(), stream);
}

std::string Counted(size_t n, Text one, Text many) {
  return n == 1 ? Say(one) : Say(many, {std::to_string(n)});
}

// Why a file the agenda reader refused cannot be read.
std::string WhyUnreadable(const char* name) {
  struct stat status;
  if (stat(name, &status) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Say(kTextNoSuchFile);
    return errno == EACCES ? Say(kTextNotPermitted) : strerror(errno);
  }
  if (S_ISDIR(status.st_mode)) return Say(kTextFolder);
  if (!S_ISREG(status.st_mode)) return Say(kTextNotAFile);
  FILE* file = fopen(name, "rb");
  if (file == nullptr) return errno == EACCES ? Say(kTextNotPermitted) : strerror(errno);
  fclose(file);
  return Say(kTextNotAFile);
}

// A date written as YYYY/MM/DD or YYYY-MM-DD (1 to 4 digits of year, 1 or 2
// of month and day) that the calendar has.
bool ParseDate(const std::string& text, AgendaDate* date) {
  int32_t parts[3] = {0, 0, 0};
  const size_t widths[3] = {4, 2, 2};
  size_t at = 0;
  char separator = '\0';
  for (int part = 0; part < 3; ++part) {
    if (part > 0) {
      if (at >= text.size() || (text[at] != '/' && text[at] != '-')) return false;
      if (separator != '\0' && text[at] != separator) return false;
      separator = text[at++];
    }
    size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
      parts[part] = parts[part] * 10 + (text[at] - '0');
    }
    if (digits == 0 || digits > widths[part]) return false;
  }
  *date = {parts[0], parts[1], parts[2]};
  return at == text.size() && IsValidDate(*date);
}

bool ParseDays(const std::string& text, int* days) {
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *days = value;
  return value >= 1 && value <= kMaxDays;
}

struct Options {
  std::string command;
  bool haveDate = false;
  AgendaDate date = {0, 0, 0};
  int days = 1;
  bool raw = false;
  bool verbose = false;
  bool substitute = false;
  std::string output;
  std::vector<std::string> files;
};

// Returns 0 when the options were read, -1 after --help, else the exit
// status to end with.
int ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
      Tell(stdout, kTextUsage);
      return -1;
    }
  }
  if (argc < 2) {
    Tell(stderr, kTextUsage);
    return 2;
  }
  options->command = argv[1];
  if (IsCalendarCommand(options->command)) return 0;
  const bool show = options->command == "show";
  const bool convert = options->command == "convert";
  if (!show && !convert && options->command != "check") {
    Tell(stderr, kTextUnknownCommand, {options->command});
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    std::string value;
    const size_t equals = arg.find('=');
    const bool joined = arg.compare(0, 2, "--") == 0 && equals != std::string::npos;
    if (joined) {
      value = arg.substr(equals + 1);
      arg = arg.substr(0, equals);
    }
    const bool takesValue =
        (show && (arg == "--date" || arg == "--days")) || (convert && arg == "--output");
    if (takesValue && !joined) {
      if (++i >= argc) {
        Tell(stderr, kTextNeedsValue, {arg});
        return 2;
      }
      value = argv[i];
    }
    if (takesValue && arg == "--date") {
      if (!ParseDate(value, &options->date)) {
        Tell(stderr, kTextBadDate, {value});
        return 2;
      }
      options->haveDate = true;
    } else if (takesValue && arg == "--output") {
      options->output = value;
    } else if (takesValue) {
      if (!ParseDays(value, &options->days)) {
        Tell(stderr, kTextBadDays, {value});
        return 2;
      }
    } else if (show && arg == "--raw" && !joined) {
      options->raw = true;
    } else if (convert && arg == "--substitute" && !joined) {
      options->substitute = true;
    } else if (options->command == "check" && arg == "--verbose" && !joined) {
      options->verbose = true;
    } else if (arg == "--") {
      for (++i; i < argc; ++i) options->files.push_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      Tell(stderr, kTextUnknownOption, {argv[i]});
      return 2;
    } else {
      options->files.push_back(argv[i]);
    }
  }
  if (options->files.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  if (!options->output.empty() && options->files.size() > 1) {
    Tell(stderr, kTextOutputWithOneFile);
    return 2;
  }
  return 0;
}

int Show(const Options& options) {
  AgendaDate date = options.date;
  if (!options.haveDate && !LocalDate(0, &date)) {
    Tell(stderr, kTextNoToday);
    return 2;
  }
  // Passed over by the module as well, but a mistyped name should show.
  std::string list;
  for (const std::string& file : options.files) {
    if (!AgendaReader(file.c_str()).IsOpen()) {
      Tell(stderr, kTextCannotRead, {file, WhyUnreadable(file.c_str())});
    }
    list += file + "\r\n";
  }
  if (options.raw) SetBinaryOutput();
  for (int day = 0; day < options.days; ++day) {
    // An empty line between two memos: raw memos end without a line break.
    if (day > 0) fputs(options.raw ? "\r\n\r\n" : "\n", stdout);
    HLOCAL memo = nullptr;
    ComposeMemo(list.c_str(), AddDays(date, day), &memo);
    const char* text = memo != nullptr ? static_cast<const char*>(LocalLock(memo)) : nullptr;
    PrintMemo(text != nullptr ? text : "", options.raw);
    if (text != nullptr) LocalUnlock(memo);
    if (memo != nullptr) LocalFree(memo);
  }
  return 0;
}

int Check(const Options& options) {
  CheckOptions checking;
  checking.language = japanese ? CheckLanguage::kJapanese : CheckLanguage::kEnglish;
  checking.readings = options.verbose;
  checking.shiftJisToUtf8 = ShiftJisToUtf8;
  size_t warnings = 0, checked = 0, unreadable = 0;
  for (const std::string& file : options.files) {
    std::vector<Finding> findings;
    if (!CheckAgendaFile(file.c_str(), checking, &findings)) {
      Tell(stderr, kTextCannotRead, {file, WhyUnreadable(file.c_str())});
      ++unreadable;
      continue;
    }
    ++checked;
    for (const Finding& finding : findings) {
      const bool note = finding.kind == FindingKind::kReading;
      warnings += !note;
      std::string where = file + ":" + std::to_string(finding.line) + ":";
      if (finding.column > 0) where += std::to_string(finding.column) + ":";
      printf("%s %s: %s\n", where.c_str(), note ? "note" : "warning",
             Utf8ToTerminalText(finding.message).c_str());
      if (!finding.shown.empty()) printf("    %s\n", ToTerminalText(finding.shown).c_str());
    }
  }
  if (warnings > 0 || unreadable > 0) {
    const std::string found = Counted(warnings, kTextOneWarning, kTextWarnings);
    const std::string files = Counted(checked, kTextOneFile, kTextFiles);
    if (unreadable > 0) {
      Tell(stdout, kTextSummaryUnreadable,
           {found, files, Counted(unreadable, kTextOneFile, kTextFiles)});
    } else {
      Tell(stdout, kTextSummary, {found, files});
    }
  }
  fflush(stdout);
  return unreadable > 0 ? 2 : warnings > 0 ? 1 : 0;
}

// Copies the original to the first free name of FILE.bak, FILE.1.bak,
// FILE.2.bak...; an existing copy is never overwritten. Empty on failure.
std::string KeepOriginal(const std::string& name, const std::string& bytes) {
  for (int n = 0; n < 1000; ++n) {
    const std::string backup = name + (n == 0 ? "" : "." + std::to_string(n)) + ".bak";
    if (WriteNewFile(backup, bytes)) return backup;
    if (errno != EEXIST) return "";
  }
  return "";
}

const char* EncodingName(SourceEncoding encoding) {
  switch (encoding) {
    case SourceEncoding::kUtf8:
      return "UTF-8";
    case SourceEncoding::kUtf8ByteOrderMark:
      return "UTF-8 (BOM)";
    case SourceEncoding::kUtf16LittleEndian:
      return "UTF-16LE";
    case SourceEncoding::kUtf16BigEndian:
      return "UTF-16BE";
    default:
      return "Shift-JIS";
  }
}

// Converts one file; the exit status it calls for.
int ConvertFile(const std::string& name, const Options& options) {
  std::string bytes;
  if (!ReadWholeFile(name, &bytes)) {
    Tell(stderr, kTextCannotRead, {name, WhyUnreadable(name.c_str())});
    return 2;
  }
  const Conversion conversion = ConvertToShiftJis(bytes, options.substitute);
  if (conversion.from == SourceEncoding::kShiftJis) {
    Tell(stdout, kTextAlreadyShiftJis, {name});
    return 0;
  }
  if (conversion.from == SourceEncoding::kNotText) {
    Tell(stderr, kTextNotText, {name});
    return 2;
  }
  for (const Unconvertible& u : conversion.unconvertible) {
    char code[16];
    snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(u.character));
    Tell(stdout, options.substitute ? kTextSubstituted : kTextNoShiftJisForm,
         {name, std::to_string(u.line), std::to_string(u.column), code,
          Utf8ToTerminalText(Utf8Of(u.character))});
  }
  if (!conversion.unconvertible.empty() && !options.substitute) {
    Tell(stdout, kTextLeftUnchanged, {name});
    return 1;
  }
  const std::string target = options.output.empty() ? name : options.output;
  std::string backup;
  if (options.output.empty()) {
    backup = KeepOriginal(name, bytes);
    if (backup.empty()) {
      Tell(stderr, kTextCannotWrite, {name + ".bak", strerror(errno), name});
      return 2;
    }
  }
  const int error = ReplaceFileContents(target, conversion.shiftJis);
  if (error != 0) {
    Tell(stderr, kTextCannotWrite, {target, strerror(error), name});
    if (!backup.empty()) remove(backup.c_str());
    return 2;
  }
  const char* from = EncodingName(conversion.from);
  if (backup.empty()) {
    Tell(stdout, kTextConvertedTo, {name, from, target});
  } else {
    Tell(stdout, kTextConverted, {name, from, backup});
  }
  return 0;
}

int Convert(const Options& options) {
  int status = 0;
  for (const std::string& file : options.files) {
    const int fileStatus = ConvertFile(file, options);
    if (fileStatus > status) status = fileStatus;
  }
  fflush(stdout);
  return status;
}

bool IsRegularFile(const std::string& name) {
  struct stat status;
  return stat(name.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Files dropped onto the program: each checked, then the memos of the seven
// days from today.
int CheckAndShowWeek(const std::vector<std::string>& files) {
  Options options;
  options.files = files;
  const int status = Check(options);
  if (status != 0) fputs("\n", stdout);
  options.days = 7;
  Show(options);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  japanese = TerminalIsJapanese();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const StartMode start =
      DecideStartMode(arguments, ConsoleProcessCount(), InputIsConsole(), IsRegularFile);
  int status = 0;
  if (start.kind == StartMode::kExplanation) {
    Tell(stdout, kTextExplanation);
  } else if (start.kind == StartMode::kDroppedFiles) {
    status = CheckAndShowWeek(arguments);
  } else {
    Options options;
    status = ParseOptions(argc, argv, &options);
    if (status == 0 && IsCalendarCommand(options.command)) {
      status = RunCalendarCommand(argc, argv, japanese, ParseDate);
    } else if (status == 0) {
      status = options.command == "show"      ? Show(options)
               : options.command == "convert" ? Convert(options)
                                              : Check(options);
    }
    if (status < 0) status = 0;
  }
  if (start.waitForEnter) {
    Tell(stdout, kTextPressEnter);
    fflush(stdout);
    for (int c = getchar(); c != EOF && c != '\n';) c = getchar();
  }
  return status;
}
