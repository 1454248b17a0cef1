// vorlinde-agenda: shows the memo a chip would show on any day, composed by
// the module's own engine, and checks agenda files for the lines the module
// will probably read otherwise than their writer meant.
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
#include "tools/checker/checker.h"
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
  kTextCount
};

const TextPair kTexts[] = {
    // kTextUsage
    {"usage: vorlinde-agenda show [--date YYYY/MM/DD] [--days N] [--raw] AGENDA-FILE...\n"
     "       vorlinde-agenda check [--verbose] AGENDA-FILE...\n"
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
     "--help  shows this text\n"
     "\n"
     "Exit status: show gives 0, or 2 on a usage error; a file it cannot read is\n"
     "passed over, as the plug-in does, and named on standard error. check gives 0\n"
     "when it found nothing, 1 when it found something, and 2 on a usage error or\n"
     "when a file cannot be read.\n",
     "使い方: vorlinde-agenda show [--date YYYY/MM/DD] [--days N] [--raw] 予定ファイル...\n"
     "        vorlinde-agenda check [--verbose] 予定ファイル...\n"
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
     "--help  この説明を表示します\n"
     "\n"
     "終了ステータス: show は 0、使い方の誤りは 2 です。読めないファイルは\n"
     "プラグインと同じく飛ばし、その名前を標準エラーに出します。check は何も\n"
     "見つからなければ 0、見つかれば 1、使い方の誤りや読めないファイルがあれば 2 です。\n"},
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
  const bool show = options->command == "show";
  if (!show && options->command != "check") {
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
    const bool takesValue = show && (arg == "--date" || arg == "--days");
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
    } else if (takesValue) {
      if (!ParseDays(value, &options->days)) {
        Tell(stderr, kTextBadDays, {value});
        return 2;
      }
    } else if (show && arg == "--raw" && !joined) {
      options->raw = true;
    } else if (!show && arg == "--verbose" && !joined) {
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

}  // namespace

int main(int argc, char** argv) {
  japanese = TerminalIsJapanese();
  Options options;
  if (const int status = ParseOptions(argc, argv, &options)) return status < 0 ? 0 : status;
  return options.command == "show" ? Show(options) : Check(options);
}
