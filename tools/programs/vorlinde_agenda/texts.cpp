#include "tools/programs/vorlinde_agenda/texts.h"

#include <stddef.h>

#include "agenda/line.h"
#include "tools/agenda_lines/agenda_lines.h"
#include "tools/arguments/arguments.h"
#include "tools/programs/vorlinde_agenda/names.h"

namespace {

// How a text begins: as it is, or, for a message the program tells in its
// own name, with its name and ": ".
enum Opening { kAsItIs, kWithName };

struct Entry {
  Text text;
  Opening opening;
  const char* english;
  const char* japanese;
};

struct Field {
  const char* field;
  std::string value;
};

// What a text names as {program}, {date} (the option --date) and the like,
// and the lengths of an agenda line the plug-in reads by: {longest}, the
// most bytes it reads as one line, and {shortest}, the fewest that hold a
// text. Each is taken from the one place it is written.
const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = {
      {"program", kProgramName},
      {"date", kDateOption},
      {"days", kDaysOption},
      {"raw", kRawOption},
      {"verbose", kVerboseOption},
      {"substitute", kSubstituteOption},
      {"output", kOutputOption},
      {"from", kFromOption},
      {"until", kUntilOption},
      {"tz", kZoneOption},
      {"rule", kRuleOption},
      {"count", kCountOption},
      {"schedule", kScheduleOption},
      {"unschedule", kUnscheduleOption},
      {"only", kOnlyOption},
      {"help", kHelpOption},
      {"longest", std::to_string(kLongestAgendaLine)},
      {"shortest", std::to_string(kAgendaTextColumn + 1)},
  };
  return fields;
}

constexpr Entry kTexts[] = {
    // The usage text. Each summary ends with a line break; continued lines
    // are indented by 8 columns, the subcommand's name padded to 8 before it.
    {kTextUsageFirst, kAsItIs, "usage: ", "使い方: "},
    {kTextUsageNext, kAsItIs, "       ", "        "},
    {kTextShowSynopsis, kAsItIs, "[{date} YYYY/MM/DD] [{days} N] [{raw}] AGENDA-FILE...",
     "[{date} YYYY/MM/DD] [{days} N] [{raw}] 予定ファイル..."},
    {kTextShowSummary, kAsItIs,
     "prints the memo a chip shows on the date (default: today) from the\n"
     "        agenda files, in their order, composed as the plug-in composes it.\n",
     "その日（省略時は今日）に付箋に表示されるメモを、予定ファイルから\n"
     "        指定の順に、プラグインと同じ処理で作って表示します。\n"},
    {kTextShowDate, kAsItIs, "          {date} D   the date, as 2026/12/24 or 2026-12-24\n",
     "          {date} D   日付（2026/12/24 または 2026-12-24）\n"},
    {kTextShowDays, kAsItIs,
     "          {days} N   the memos of N days ({0} to {1}) from the date on, a blank\n"
     "                     line between them\n",
     "          {days} N   その日から N 日分（{0}～{1}）のメモを、空行で区切って表示します\n"},
    {kTextShowRaw, kAsItIs,
     "          {raw}      the memo's bytes as the memo application gets them\n"
     "                     (Shift-JIS, CR LF)\n",
     "          {raw}      メモアプリケーションが受け取るままのバイト列（Shift-JIS、\n"
     "                     CR LF）で出力します\n"},
    {kTextShowExit, kAsItIs,
     "0, or 2 on a usage error; a file it cannot read is passed over, as the\n"
     "        plug-in does, and named on standard error\n",
     "0、使い方の誤りでは 2。読めないファイルはプラグインと同じく飛ばし、\n"
     "        その名前を標準エラーに出します\n"},
    {kTextCheckSynopsis, kAsItIs, "[{verbose}] AGENDA-FILE...", "[{verbose}] 予定ファイル..."},
    {kTextCheckSummary, kAsItIs,
     "reads the agenda files as the plug-in reads them and reports each line\n"
     "        it will probably read otherwise than meant, as\n"
     "        FILE:LINE:COLUMN: warning: MESSAGE\n",
     "予定ファイルをプラグインと同じように読み、書いた人の意図と違う読まれ方を\n"
     "        しそうな行を「ファイル:行:桁: warning: メッセージ」の形で報告します。\n"},
    {kTextCheckVerbose, kAsItIs,
     "          {verbose}  also says, for every entry line, how it is read\n",
     "          {verbose}  予定の行ごとに、どう読まれるかも表示します\n"},
    {kTextCheckExit, kAsItIs,
     "0 when it found nothing, 1 when it found something, and 2 on a usage\n"
     "        error or when a file cannot be read\n",
     "何も見つからなければ 0、見つかれば 1、使い方の誤りや読めないファイルが\n"
     "        あれば 2\n"},
    {kTextConvertSynopsis, kAsItIs, "[{substitute}] [{output} FILE] AGENDA-FILE...",
     "[{substitute}] [{output} ファイル] 予定ファイル..."},
    {kTextConvertSummary, kAsItIs,
     "re-saves agenda files saved as UTF-8 or UTF-16 as Shift-JIS, the\n"
     "        original kept as FILE.bak; a character with no Shift-JIS form leaves\n"
     "        the file as it is\n",
     "UTF-8 や UTF-16 で保存された予定ファイルを Shift-JIS で保存し直します。\n"
     "        元のファイルは「ファイル名.bak」として残します。Shift-JIS にない文字が\n"
     "        あれば、ファイルはそのままにします\n"},
    {kTextConvertSubstitute, kAsItIs,
     "          {substitute}  writes 〓 for such characters instead\n",
     "          {substitute}  そのような文字の代わりに 〓 を書きます\n"},
    {kTextConvertOutput, kAsItIs,
     "          {output} F    writes the Shift-JIS text to F (one file only)\n",
     "          {output} F    Shift-JIS の内容を F に書きます（ファイル 1 つのとき）\n"},
    {kTextConvertExit, kAsItIs,
     "0 when every file is Shift-JIS now, 1 when a file was left as it is\n"
     "        for a character with no Shift-JIS form, and 2 on a usage error or a\n"
     "        file that cannot be read, converted or written\n",
     "すべてのファイルが Shift-JIS になれば 0、Shift-JIS にない文字のために\n"
     "        そのままにしたファイルがあれば 1、使い方の誤りや、読めない・変換\n"
     "        できない・書けないファイルがあれば 2\n"},
    {kTextImportSynopsis, kAsItIs, "[{from} D] [{until} D] [{tz} ZONE] [{output} FILE] CALENDAR...",
     "[{from} D] [{until} D] [{tz} ゾーン] [{output} ファイル] カレンダー..."},
    {kTextImportSummary, kAsItIs,
     "writes the events of iCalendar files, or of calendars at web addresses\n"
     "        (https://, http://, webcal://), as agenda lines (Shift-JIS, CR LF) in\n"
     "        date order: an all-day event on each day it covers, a timed one as\n"
     "        YYYY/MM/DD HH:MM on the day it starts in local time (and as continued on\n"
     "        each further day), a plain yearly, monthly or daily all-day repetition\n"
     "        as one wildcard line, any other repetition day by day. The agenda\n"
     "        file's first lines record where it came from, for refresh.\n",
     "iCalendar ファイル、または Web アドレス（https://、http://、webcal://）の\n"
     "        カレンダーの予定を、日付順の予定の行（Shift-JIS、CR LF）にします。\n"
     "        終日の予定はかかる日ごとに、時刻のある予定はローカル時刻で始まる日に\n"
     "        YYYY/MM/DD HH:MM の形で（日をまたぐ予定は続きの日にも）書きます。単純な\n"
     "        毎年・毎月・毎日の終日の繰り返しは 1 行のワイルドカードに、それ以外の\n"
     "        繰り返しは日ごとの行にします。予定ファイルの先頭の行に取り込み元を\n"
     "        記録し、refresh で更新できるようにします。\n"},
    {kTextImportFrom, kAsItIs,
     "          {from} D   the first day (default: {0} days before today)\n",
     "          {from} D   最初の日（省略時は今日の {0} 日前）\n"},
    {kTextImportUntil, kAsItIs,
     "          {until} D  the last day (default: a year after today, or after {from})\n",
     "          {until} D  最後の日（省略時は今日、または {from} の日の 1 年後）\n"},
    {kTextImportZone, kAsItIs,
     "          {tz} ZONE  local time is that of ZONE (as Asia/Tokyo), not the machine's\n",
     "          {tz} ゾーン ローカル時刻を、この機械のものでなくゾーン（Asia/Tokyo など）\n"
     "                     のものにします\n"},
    {kTextAgendaOutput, kAsItIs,
     "          {output} F writes the agenda file F instead of standard output\n",
     "          {output} F 標準出力でなく予定ファイル F に書きます\n"},
    {kTextExportSynopsis, kAsItIs, "[{output} FILE.ics] AGENDA-FILE...",
     "[{output} ファイル.ics] 予定ファイル..."},
    {kTextExportSummary, kAsItIs,
     "writes the entry lines of agenda files as one iCalendar (UTF-8), an\n"
     "        all-day event each, their wildcards as repetition rules; lines that\n"
     "        check warns about are left out and named on standard error.\n",
     "予定ファイルの予定の行を、1 行を 1 つの終日の予定とする iCalendar（UTF-8）\n"
     "        にし、ワイルドカードは繰り返しの規則にします。check が警告する行は書き\n"
     "        出さず、標準エラーに示します。\n"},
    {kTextExportOutput, kAsItIs,
     "          {output} F writes the iCalendar file F instead of standard output\n",
     "          {output} F 標準出力でなく iCalendar ファイル F に書きます\n"},
    {kTextWritesNothingExit, kAsItIs,
     "0, or 2 on a usage error, a file that cannot be read or written, a\n"
     "        calendar that cannot be fetched, a damaged calendar or a rule they\n"
     "        cannot read; then they write nothing\n",
     "0、使い方の誤り、読めない・書けないファイル、取得できないカレンダー、\n"
     "        壊れたカレンダー、読めない規則では 2（そのときは何も書きません）\n"},
    {kTextExpandSynopsis, kAsItIs,
     "{rule} RRULE {from} D [{until} D | {count} N] [{output} FILE] TEXT",
     "{rule} RRULE {from} D [{until} D | {count} N] [{output} ファイル] 文字列"},
    {kTextExpandSummary, kAsItIs,
     "writes the agenda lines (Shift-JIS, CR LF) of TEXT on each day of a\n"
     "        repetition rule, e.g. {rule} \"FREQ=WEEKLY;BYDAY=MO,TH\", from D on,\n"
     "        until a day or for N of its days (default: a year).\n",
     "繰り返しの規則（例: {rule} \"FREQ=WEEKLY;BYDAY=MO,TH\"）の日ごとに、文字列の\n"
     "        予定の行（Shift-JIS、CR LF）を D から書きます。{until} の日まで、または\n"
     "        {count} の件数まで（省略時は 1 年分）。\n"},
    {kTextExpandRule, kAsItIs, "          {rule} R   the repetition rule (an RRULE of iCalendar)\n",
     "          {rule} R   繰り返しの規則（iCalendar の RRULE）\n"},
    {kTextExpandFrom, kAsItIs, "          {from} D   the first day\n",
     "          {from} D   最初の日\n"},
    {kTextExpandUntil, kAsItIs,
     "          {until} D  the last day (default: a year after {from})\n",
     "          {until} D  最後の日（省略時は {from} の日の 1 年後）\n"},
    {kTextExpandCount, kAsItIs,
     "          {count} N  N days of the rule ({0} to {1}) instead of a last day\n",
     "          {count} N  最後の日の代わりに、規則の日を N 日分（{0}～{1}）\n"},
    {kTextRefreshSynopsis, kAsItIs, "[{verbose} | {schedule} | {unschedule}] AGENDA-FILE...",
     "[{verbose} | {schedule} | {unschedule}] 予定ファイル..."},
    {kTextRefreshSummary, kAsItIs,
     "imports agenda files that import wrote again, from the calendars they\n"
     "        record, with their window moved to today, and replaces each whole; when\n"
     "        a calendar cannot be had, the file stays as it was. Says nothing when\n"
     "        all went well (for a scheduler).\n",
     "import で作った予定ファイルを、記録された取り込み元から、期間を今日に\n"
     "        合わせて取り込み直し、ファイル全体を置き換えます。カレンダーを取得\n"
     "        できないときは、ファイルはそのままです。うまくいったときは何も\n"
     "        表示しません（スケジューラー向け）。\n"},
    {kTextRefreshVerbose, kAsItIs, "          {verbose}  says how many entries came and went\n",
     "          {verbose}  増えた予定と減った予定の数を表示します\n"},
    {kTextRefreshSchedule, kAsItIs,
     "          {schedule}   has Windows refresh the files every day and at log-on (a\n"
     "                       task of the Task Scheduler, which shows no window); on\n"
     "                       Linux prints the crontab line that does\n",
     "          {schedule}   Windows が毎日とログオン時にファイルを更新するようにします\n"
     "                       （タスク スケジューラのタスク。ウィンドウは開きません）。\n"
     "                       Linux では、そうする crontab の行を表示します\n"},
    {kTextRefreshUnschedule, kAsItIs,
     "          {unschedule} no longer refreshes the files every day\n",
     "          {unschedule} 毎日の更新をやめます\n"},
    {kTextRefreshExit, kAsItIs,
     "0, or 2 on a usage error, when a file was left as it was, or when its\n"
     "        daily refresh could not be had or stopped\n",
     "0、使い方の誤り、そのままにしたファイル、設定も解除もできなかった毎日の\n"
     "        更新があれば 2\n"},
    {kTextHolidaysSynopsis, kAsItIs, "[{from} YYYY] [{until} YYYY] [{output} FILE]",
     "[{from} YYYY] [{until} YYYY] [{output} ファイル]"},
    {kTextHolidaysSummary, kAsItIs,
     "writes Japan's national holidays of those years as agenda lines\n"
     "        (Shift-JIS, CR LF) in date order, by the law as it stood in each year:\n"
     "        substitute holidays as 振替休日（the day's name）, a weekday between\n"
     "        two holidays as 国民の休日. The years {0} to {1} are known.\n",
     "その年々の国民の祝日・休日を、その年の法律のとおりに、日付順の予定の行\n"
     "        （Shift-JIS、CR LF）にします。振替休日は「振替休日（元の祝日の名前）」、\n"
     "        祝日にはさまれた平日は「国民の休日」です。{0} 年から {1} 年まで\n"
     "        作れます。\n"},
    {kTextHolidaysFrom, kAsItIs, "          {from} Y   the first year (default: this year)\n",
     "          {from} Y   最初の年（省略時は今年）\n"},
    {kTextHolidaysUntil, kAsItIs,
     "          {until} Y  the last year (default: the year after the first)\n",
     "          {until} Y  最後の年（省略時は最初の年の翌年）\n"},
    {kTextHolidaysExit, kAsItIs, "0, or 2 on a usage error or when the file cannot be written\n",
     "0、使い方の誤りやファイルを書けないときは 2\n"},
    {kTextAlmanacSynopsis, kAsItIs, "[{from} YYYY] [{until} YYYY] [{only} KINDS] [{output} FILE]",
     "[{from} YYYY] [{until} YYYY] [{only} 種類] [{output} ファイル]"},
    {kTextAlmanacSummary, kAsItIs,
     "writes the Japanese almanac of those years as agenda lines (Shift-JIS,\n"
     "        CR LF) in date order, by the national observatory's definitions, in\n"
     "        Japan's time: each day's lunisolar date and rokuyo (旧1月1日 先勝),\n"
     "        the 24 solar terms, the seasonal days (節分, 彼岸, 土用...), the\n"
     "        moon's phases with their time (19:03 満月), and 天赦日 and 一粒万倍日.\n"
     "        The years {0} to {1} are known.\n",
     "その年々の暦を、国立天文台の定義により日本時間で、日付順の予定の行\n"
     "        （Shift-JIS、CR LF）にします。毎日の旧暦と六曜（旧1月1日 先勝）、\n"
     "        二十四節気、雑節（節分、彼岸、土用など）、月の満ち欠けと時刻\n"
     "        （19:03 満月）、天赦日と一粒万倍日です。{0} 年から {1} 年まで作れます。\n"},
    {kTextAlmanacFrom, kAsItIs, "          {from} Y   the first year (default: this year)\n",
     "          {from} Y   最初の年（省略時は今年）\n"},
    {kTextAlmanacUntil, kAsItIs,
     "          {until} Y  the last year (default: the year after the first)\n",
     "          {until} Y  最後の年（省略時は最初の年の翌年）\n"},
    {kTextAlmanacOnly, kAsItIs,
     "          {only} K   only these kinds, separated by commas (default: all):\n"
     "                     {0}\n",
     "          {only} K   この種類だけ（コンマで区切ります。省略時はすべて）：\n"
     "                     {0}\n"},
    {kTextDroppedSynopsis, kAsItIs, "AGENDA-FILE...", "予定ファイル..."},
    {kTextUsageEnd, kAsItIs,
     "Files alone (as when dropped onto the program) are checked, and the memos\n"
     "of their next {0} days shown. A calendar (an .ics file, or an Internet\n"
     "shortcut .url to a calendar's web address) is imported first into NAME.vrn\n"
     "beside it, and the path to write into the chip shown.\n"
     "{help}  shows this text\n",
     "ファイルだけを指定すると（プログラムにファイルをドロップしたときと同じく）、\n"
     "検査し、その先 {0} 日分のメモを表示します。カレンダー（.ics ファイル、または\n"
     "カレンダーの Web アドレスへのインターネット ショートカット .url）は、まず\n"
     "同じフォルダの「名前.vrn」に取り込み、付箋に書くパスを表示します。\n"
     "{help}  この説明を表示します\n"},
    {kTextExitStatus, kAsItIs, "Exit status:\n", "終了ステータス:\n"},
    {kTextNameSeparator, kAsItIs, ", ", "、"},

    // Usage errors.
    {kTextUnknownCommand, kWithName, "unknown command {0}\n", "{0} というコマンドはありません\n"},
    {kTextUnknownOption, kWithName, "unknown option {0}\n", "{0} というオプションはありません\n"},
    {kTextNeedsValue, kWithName, "{0} needs a value\n", "{0} には値が必要です\n"},
    {kTextBadDate, kWithName, "{0} {1}: not a date of the calendar (write it as YYYY/MM/DD)\n",
     "{0} {1}: 暦にある日付ではありません（YYYY/MM/DD の形で書いてください）\n"},
    {kTextBadNumber, kWithName, "{0} {1}: give a whole number from {2} to {3}\n",
     "{0} {1}: {2} から {3} までの整数を指定してください\n"},
    {kTextNoFile, kWithName, "no file given\n", "ファイルが指定されていません\n"},
    {kTextOutputWithOneFile, kWithName, "{output} takes one file\n",
     "{output} はファイル 1 つのときだけ指定できます\n"},
    {kTextNoToday, kWithName, "cannot tell today's date; give it with {0}\n",
     "今日の日付がわかりません。{0} で指定してください\n"},
    {kTextBadWindow, kWithName, "{until} {0} comes before the first day {1}\n",
     "{until} {0} が最初の日 {1} より前です\n"},
    {kTextBadYears, kWithName, "{until} {0} comes before the first year {1}\n",
     "{until} {0} が最初の年 {1} より前です\n"},
    {kTextUnknownAlmanacKind, kWithName, "{only} {0}: no such kind (the kinds are {1})\n",
     "{only} {0}: そのような種類はありません（種類は {1}）\n"},
    {kTextUnknownZone, kWithName, "{tz} {0}: no such time zone (write it as Asia/Tokyo)\n",
     "{tz} {0}: そのタイムゾーンはありません（Asia/Tokyo "
     "のように書いてください）\n"},
    {kTextExpandNeeds, kWithName,
     "expand needs {rule}, {from} and one text, and takes {until} or {count}, "
     "not both\n",
     "expand には {rule}、{from} と文字列 1 つが必要です。{until} と {count} "
     "は片方だけ指定できます\n"},
    {kTextRuleRejected, kWithName,
     "{rule} {0}: not a repetition rule (write it as FREQ=WEEKLY;BYDAY=MO,TH)\n",
     "{rule} {0}: 繰り返しの規則として読めません（FREQ=WEEKLY;BYDAY=MO,TH "
     "のように書いてください）\n"},
    {kTextPartsConflict, kWithName,
     "{rule} {0}: its parts cannot go together in a repetition rule (such as "
     "BYMONTHDAY in a weekly rule)\n",
     "{rule} {0}: 繰り返しの規則として一緒に使えない部分があります（毎週の規則の "
     "BYMONTHDAY など）\n"},
    {kTextNotWholeDays, kWithName,
     "{rule} {0}: repeats more often than daily, but an agenda line is for a "
     "whole day\n",
     "{rule} {0}: 1 日より短い間隔の繰り返しです。予定の行は 1 日単位です\n"},

    // Files.
    {kTextCannotRead, kWithName, "cannot read {0}: {1}\n", "{0} を読めません：{1}\n"},
    {kTextCannotWrite, kWithName, "cannot write {0}: {1}\n", "{0} を書けません：{1}\n"},
    {kTextCannotWriteLeft, kWithName, "cannot write {0}: {1}; {2} is left as it is\n",
     "{0} を書けません：{1}。{2} はそのままです\n"},
    {kTextNoSuchFile, kAsItIs, "no such file", "ファイルがありません"},
    {kTextNotPermitted, kAsItIs, "permission denied", "アクセスが許可されていません"},
    {kTextFolder, kAsItIs, "it is a folder", "フォルダーです"},
    {kTextNotAFile, kAsItIs, "not a regular file", "通常のファイルではありません"},
    {kTextExists, kAsItIs, "a file of that name exists", "同じ名前のファイルがあります"},
    {kTextInUse, kAsItIs, "another program is using it", "ほかのプログラムが使用中です"},
    {kTextDiskFull, kAsItIs, "the disk is full", "ディスクがいっぱいです"},
    {kTextReadOnly, kAsItIs, "it may not be written (read-only)",
     "書き込みが許可されていません（読み取り専用）"},
    {kTextBusy, kAsItIs, "another run is refreshing it", "別の実行が更新中です"},
    {kTextSystemError, kAsItIs, "the system refused (error {0})",
     "システムが拒否しました（エラー {0}）"},

    // check's summary.
    {kTextOneWarning, kAsItIs, "1 warning", "警告 1 件"},
    {kTextWarnings, kAsItIs, "{0} warnings", "警告 {0} 件"},
    {kTextOneFile, kAsItIs, "1 file", "1 ファイル"},
    {kTextFiles, kAsItIs, "{0} files", "{0} ファイル"},
    {kTextSummary, kWithName, "{0} in {1}\n", "{1}を検査して{0}\n"},
    {kTextSummaryUnreadable, kWithName, "{0} in {1}; {2} could not be read\n",
     "{1}を検査して{0}、{2}は読めません\n"},

    // convert.
    {kTextAlreadyShiftJis, kAsItIs, "{0}: note: already Shift-JIS; left as it is\n",
     "{0}: note: すでに Shift-JIS です。そのままにします\n"},
    {kTextNotText, kAsItIs, "{0}: error: neither UTF-8, UTF-16 nor Shift-JIS text; left as it is\n",
     "{0}: error: UTF-8、UTF-16、Shift-JIS のどのテキストでもありません。そのままにします\n"},
    {kTextNoShiftJisForm, kAsItIs, "{0}:{1}:{2}: warning: {3} ({4}) has no Shift-JIS form\n",
     "{0}:{1}:{2}: warning: {3}（{4}）は Shift-JIS にない文字です\n"},
    {kTextWrittenAsGeta, kAsItIs,
     "{0}:{1}:{2}: warning: {3} ({4}) has no Shift-JIS form; written as 〓\n",
     "{0}:{1}:{2}: warning: {3}（{4}）は Shift-JIS にない文字です。〓 にしました\n"},
    {kTextLeftUnchanged, kAsItIs,
     "{0}: left as it is; change those characters, or convert with {substitute} to write 〓 "
     "for them\n",
     "{0}: そのままにします。それらの文字を書き換えるか、{substitute} を付けて変換すると 〓 "
     "になります\n"},
    {kTextConverted, kAsItIs, "{0}: converted from {1} to Shift-JIS; the original is kept as {2}\n",
     "{0}: {1} から Shift-JIS に変換しました。元のファイルは {2} です\n"},
    {kTextConvertedTo, kAsItIs, "{0}: converted from {1} to Shift-JIS into {2}\n",
     "{0}: {1} から Shift-JIS に変換して {2} に書きました\n"},

    // import, export and expand: "{0}" is where, FILE:LINE or FILE.
    {kTextSummaryGeta, kAsItIs,
     "{0}: warning: \"{1}\" has characters Shift-JIS lacks; they are written as 〓\n",
     "{0}: warning: 「{1}」には Shift-JIS にない文字があるため 〓 にしました\n"},
    {kTextShortened, kAsItIs,
     "{0}: warning: \"{1}\" is too long for an agenda line; its end is left out\n",
     "{0}: warning: 「{1}」は予定の 1 行に収まらないため、後ろを省きました\n"},
    {kTextZoneNotKnown, kAsItIs,
     "{0}: warning: the time zone {1} of \"{2}\" is not known, so its times are taken as "
     "local times\n",
     "{0}: warning: 「{2}」のタイムゾーン {1} がわからないため、時刻をそのまま"
     "ローカル時刻としました\n"},
    {kTextNoStart, kAsItIs, "{0}: warning: \"{1}\" has no start (DTSTART) and is left out\n",
     "{0}: warning: 「{1}」には開始日時（DTSTART）がないため省きました\n"},
    {kTextTooManyLines, kAsItIs,
     "{0}: warning: \"{1}\" repeats too often for an agenda: only its first {2} lines are "
     "written\n",
     "{0}: warning: 「{1}」は繰り返しが多すぎるため、最初の {2} 行だけを書きました\n"},
    {kTextLeftOut, kAsItIs, "{0}: warning: left out: {1}\n", "{0}: warning: 書き出しません：{1}\n"},
    {kTextNotICalendar, kAsItIs,
     "{0}: error: not an iCalendar file (it does not begin with BEGIN:VCALENDAR)\n",
     "{0}: error: iCalendar のファイルではありません（BEGIN:VCALENDAR で始まっていません）\n"},
    {kTextDamaged, kAsItIs, "{0}: error: the calendar is damaged: {1}\n",
     "{0}: error: カレンダーが壊れています：{1}\n"},
    // How a calendar is damaged; {0} a property or component, or a line.
    {kTextDamageNotUtf8, kAsItIs, "the text is not UTF-8", "テキストが UTF-8 ではありません"},
    {kTextDamageNotContentLine, kAsItIs, "not a content line: {0}",
     "iCalendar の行として読めません：{0}"},
    {kTextDamageCalendarExpected, kAsItIs, "BEGIN:VCALENDAR expected",
     "BEGIN:VCALENDAR があるべきところに別の行があります"},
    {kTextDamageEndWithoutBegin, kAsItIs, "END without BEGIN", "BEGIN のない END があります"},
    {kTextDamageEndExpected, kAsItIs, "END:{0} expected",
     "END:{0} があるべきところに別の END があります"},
    {kTextDamageOutsideCalendar, kAsItIs, "a property outside BEGIN:VCALENDAR and END:VCALENDAR",
     "BEGIN:VCALENDAR と END:VCALENDAR の外にプロパティがあります"},
    {kTextDamageEndsOpen, kAsItIs, "the file ends before END:{0}",
     "END:{0} の前でファイルが終わっています"},
    {kTextDamageNotADate, kAsItIs, "{0} is not a date of the calendar", "{0} は暦にない日付です"},
    {kTextDamageBadValue, kAsItIs, "Can't parse as {1} value in {0} property",
     "{0} の値を {1} として読めません"},
    {kTextDamageBadParameterName, kAsItIs, "a parameter name of {0} cannot be read: {1}",
     "{0} のパラメーター名が読めません：{1}"},
    {kTextDamageBadParameterValue, kAsItIs, "a parameter value of {0} cannot be read: {1}",
     "{0} のパラメーターの値が読めません：{1}"},
    {kTextDamageUnknownProperty, kAsItIs, "{0} is not a property of iCalendar",
     "{0} は iCalendar のプロパティではありません"},
    {kTextDamageBadComponent, kAsItIs, "the component {0} cannot be read",
     "コンポーネント {0} が読めません"},
    {kTextSourceTooLong, kWithName,
     "{0}: too long to record in the agenda file: written with each byte "
     "beyond ASCII as %XX, its record takes more than the {1} bytes of a line\n",
     "{0}: 長すぎて予定ファイルに記録できません（ASCII 以外の各バイトを %XX "
     "と書くと、1 行の {1} バイトを超えます）\n"},

    // Calendars from the web: why one could not be fetched; {0} the seconds,
    // MiB, status or redirects of the limit, or what the platform said.
    {kTextCannotFetch, kWithName, "cannot fetch {0}: {1}\n", "{0} を取得できません：{1}\n"},
    {kTextFetchBadAddress, kAsItIs,
     "not a web address that can be read (write it as https://host/path)",
     "読める Web アドレスではありません（https://ホスト/パス の形で書いてください）"},
    {kTextFetchBadRedirect, kAsItIs,
     "the server redirected to an address that is neither https nor http, or cannot be read",
     "サーバーの転送先が https でも http でもないか、読めないアドレスです"},
    {kTextFetchUnknownHost, kAsItIs, "the server's name is not known",
     "サーバーの名前がわかりません"},
    {kTextFetchCannotConnect, kAsItIs, "the server cannot be reached", "サーバーに接続できません"},
    {kTextFetchConnectTimeout, kAsItIs, "no connection within {0} seconds (connect timeout)",
     "{0} 秒以内に接続できませんでした（接続のタイムアウト）"},
    {kTextFetchTransferTimeout, kAsItIs,
     "the transfer did not end within {0} seconds (transfer timeout)",
     "{0} 秒以内に転送が終わりませんでした（転送のタイムアウト）"},
    {kTextFetchTooLarge, kAsItIs, "the calendar is larger than {0} MiB",
     "カレンダーが {0} MiB を超えています"},
    {kTextFetchHttpStatus, kAsItIs, "the server answered with HTTP status {0}",
     "サーバーの応答は HTTP ステータス {0} でした"},
    {kTextFetchTooManyRedirects, kAsItIs, "more than {0} redirects", "転送が {0} 回を超えました"},
    {kTextFetchInsecureRedirect, kAsItIs,
     "the server redirected from https to http, which is refused",
     "サーバーが https から http へ転送しようとしたため、読みませんでした"},
    {kTextFetchUntrusted, kAsItIs, "the server's certificate is not trusted",
     "サーバーの証明書が信頼できません"},
    {kTextFetchNoSecureConnection, kAsItIs,
     "no secure connection (TLS) could be made with the server",
     "サーバーと安全な接続（TLS）を確立できませんでした"},
    {kTextFetchOther, kAsItIs, "the transfer failed ({0})", "転送に失敗しました（{0}）"},

    // refresh.
    {kTextNotImported, kWithName,
     "{0} was not written by {program} import, so it cannot be "
     "refreshed; it is left as it is\n",
     "{0} は {program} import で作ったファイルではないため、更新"
     "できません。そのままにします\n"},
    {kTextNotRefreshed, kWithName, "{0} is left as it was\n", "{0} は元のままです\n"},
    {kTextRefreshed, kAsItIs, "{0}: refreshed: entries added {1}, removed {2}\n",
     "{0}: 更新しました：予定が {1} 件増え、{2} 件減りました\n"},
    {kTextUnknownRecordedZone, kWithName,
     "{0}: the zone recorded in its header, {1}, is not known; it is left as it was\n",
     "{0}: ヘッダーに記録されたタイムゾーン {1} がわかりません。元のままです\n"},
    {kTextRefreshBusy, kWithName,
     "{0}: another run is refreshing it, and did not end within {1} seconds; it is left as it "
     "is to that run\n",
     "{0}: 別の実行が更新中で、{1} 秒以内に終わりませんでした。その実行に任せます\n"},
    {kTextCannotWriteBeside, kWithName,
     "cannot make {0} beside {1} to write it: {2}; {1} is left as it is\n",
     "{1} を書くための {0} をその横に作れません：{2}。{1} はそのままです\n"},
    {kTextUnschedulable, kWithName,
     "{0}: its name holds a control character, which no daily task carries; rename the file "
     "and try again\n",
     "{0}: 名前に制御文字が含まれていて、毎日の更新に設定できません。名前を変えてから"
     "やり直してください\n"},
    {kTextScheduleOrNot, kWithName, "refresh takes {schedule} or {unschedule}, not both\n",
     "refresh には {schedule} と {unschedule} の片方だけを指定できます\n"},
    {kTextScheduled, kAsItIs,
     "{0}: refreshed from now on every day at {1} and when you log on (the task {2})\n",
     "{0}: これから毎日 {1} とログオン時に更新します（タスク {2}）\n"},
    {kTextUnscheduled, kAsItIs, "{0}: no longer refreshed every day\n",
     "{0}: 毎日の更新をやめました\n"},
    {kTextScheduleFailed, kWithName,
     "cannot have {0} refreshed every day: the Task Scheduler refused "
     "(schtasks gave {1})\n",
     "{0} の毎日の更新を設定できません：タスク スケジューラが受け付けません"
     "でした（schtasks の結果 {1}）\n"},
    {kTextUnscheduleFailed, kWithName, "no daily refresh of {0} to stop (schtasks gave {1})\n",
     "{0} の毎日の更新は設定されていません（schtasks の結果 {1}）\n"},
    {kTextCrontabAdd, kWithName,
     "add the line above to your crontab (crontab -e) to refresh {0} every "
     "day; nothing was changed\n",
     "{0} を毎日更新するには、上の行を crontab に加えてください"
     "（crontab -e）。何も変更していません\n"},
    {kTextCrontabRemove, kWithName,
     "remove the line that refreshes {0} from your crontab (crontab -e); "
     "nothing was changed\n",
     "{0} を更新する行を crontab から消してください（crontab -e）。何も"
     "変更していません\n"},

    // Started without arguments in a window of its own.
    {kTextExplanation, kAsItIs,
     "{program} checks agenda files for the Vorlinde plug-in and shows their days.\n"
     "\n"
     "Drag an agenda file onto {program}.exe in Explorer: it is checked, and the\n"
     "memos of its next {0} days are shown. Drag a calendar (an .ics file exported\n"
     "from a calendar program, or a link to a calendar's web address dragged from the\n"
     "browser to the desktop) onto it: it becomes an agenda file beside it, and the\n"
     "path to write into the chip is shown. If a file was saved as UTF-8 or UTF-16,\n"
     "convert it to the Shift-JIS the plug-in reads, from a command prompt:\n"
     "\n"
     "  {program} convert agenda.txt     re-save as Shift-JIS (agenda.txt.bak kept)\n"
     "  {program} check agenda.txt       lines the plug-in reads otherwise than meant\n"
     "  {program} show {days} 7 agenda.txt   the memos of the coming week\n"
     "  {program} {help}                 everything else\n",
     "{program} は Vorlinde プラグインの予定ファイルを検査し、その日々の予定を\n"
     "表示します。\n"
     "\n"
     "エクスプローラーで予定ファイルを {program}.exe にドラッグしてください。\n"
     "ファイルを検査し、その先 {0} 日分のメモを表示します。カレンダー（カレンダーの\n"
     "プログラムから書き出した .ics ファイル、またはブラウザーからデスクトップに\n"
     "ドラッグしたカレンダーの Web アドレスのリンク）をドラッグすると、同じフォルダ\n"
     "に予定ファイルを作り、付箋に書くパスを表示します。UTF-8 や UTF-16 で保存\n"
     "されたファイルは、コマンドプロンプトでプラグインが読む Shift-JIS に変換\n"
     "できます。\n"
     "\n"
     "  {program} convert agenda.txt     Shift-JIS で保存し直す（agenda.txt.bak を残す）\n"
     "  {program} check agenda.txt       意図と違う読まれ方をする行を報告する\n"
     "  {program} show {days} 7 agenda.txt   この先 1 週間のメモを表示する\n"
     "  {program} {help}                 そのほかの使い方\n"},
    {kTextPressEnter, kAsItIs, "\nPress Enter to close this window.",
     "\nEnter キーを押すとこのウィンドウを閉じます。"},
    {kTextKeptOther, kAsItIs,
     "{0} is another file, which is kept as it is: the calendar goes into {1}\n",
     "{0} は別のファイルなので、そのままにします。カレンダーは {1} に書きます\n"},
    {kTextNoCalendarAddress, kWithName,
     "{0} is a shortcut to no calendar's web address (https://, http:// or "
     "webcal://)\n",
     "{0} はカレンダーの Web アドレス（https://、http://、webcal://）への"
     "ショートカットではありません\n"},
    {kTextWriteIntoChip, kAsItIs, "\nWrite this into the chip to show the calendar there:\n",
     "\n付箋にカレンダーを表示するには、次の行を付箋に書いてください：\n"},
    {kTextChipTooLong, kAsItIs,
     "\nA chip cannot read the path of {0}: it takes {1} bytes, and a chip reads at most {2}.\n"
     "Move the file to a folder with a shorter path, or give it a shorter name.\n",
     "\n{0} のパスは付箋で読めません：{1} バイトあり、付箋が読めるのは {2} バイトまでです。\n"
     "ファイルをパスの短いフォルダーに移すか、短い名前にしてください。\n"},
    {kTextChipNotInCodePage, kAsItIs,
     "\nA chip cannot read the path of {0}: it holds characters that Windows' code page "
     "for programs lacks.\nMove the file to a folder, or give it a name, of ASCII and "
     "Japanese characters alone.\n",
     "\n{0} のパスは付箋で読めません：Windows のプログラム用コードページにない文字が"
     "含まれています。\nファイルを英数字と日本語だけのフォルダーに移すか、そのような"
     "名前にしてください。\n"},
    {kTextOnClipboard, kAsItIs, "(It is on the clipboard too: paste it into the chip.)\n",
     "（クリップボードにも入れました。付箋に貼り付けてください）\n"},
    {kTextAskDaily, kAsItIs,
     "\nRefresh it from the calendar every day, so that the chip stays up to date? "
     "[Enter = yes, n = no] ",
     "\n付箋がいつも最新になるよう、毎日カレンダーから更新しますか？"
     "［Enter = はい、n = いいえ］"},

    // The checker's findings, and how a line's reading is told
    // (finding_words.cpp).
    {kTextICalendar, kAsItIs,
     "the file is a calendar (iCalendar), which the plug-in cannot read; make an agenda file of "
     "it with: {program} import {output} {1} {0} (or drop it onto {program}.exe)",
     "このファイルはカレンダー（iCalendar）で、プラグインは読めません。次のコマンドで予定"
     "ファイルにしてください：{program} import {output} {1} {0}（{program}.exe "
     "にドロップしても作れます）"},
    {kTextUtf16, kAsItIs,
     "the file is saved as UTF-16: the chip will show its text garbled; re-save it as Shift-JIS "
     "with: {program} convert {0}",
     "ファイルが UTF-16 で保存されています。付箋では文字化けします。次のコマンドで Shift-JIS "
     "に変換してください：{program} convert {0}"},
    {kTextUtf8ByteOrderMark, kAsItIs,
     "the file is saved as UTF-8 with a byte-order mark: the chip will show its non-ASCII text "
     "garbled, and the mark's 3 bytes shift the first line's date; re-save it as Shift-JIS with: "
     "{program} convert {0}",
     "ファイルが UTF-8（BOM 付き）で保存されています。付箋では ASCII 以外の文字が文字化けし、BOM "
     "の 3 バイトで 1 行目の日付の桁がずれます。次のコマンドで Shift-JIS "
     "に変換してください：{program} convert {0}"},
    {kTextUtf8, kAsItIs,
     "the file is saved as UTF-8: the chip will show its non-ASCII text garbled; re-save it as "
     "Shift-JIS with: {program} convert {0}",
     "ファイルが UTF-8 で保存されています。付箋では ASCII "
     "以外の文字が文字化けします。次のコマンドで "
     "Shift-JIS に変換してください：{program} convert {0}"},
    {kTextCtrlZ, kAsItIs,
     "a Ctrl-Z byte ends the file for the plug-in: nothing after it is read, from \"{0}\" on",
     "Ctrl-Z（0x1A）でファイルが終わったものとして読まれ、その後の「{0}」以降は読まれません"},
    {kTextLongLine, kAsItIs,
     "the line is {0} bytes long: the plug-in reads its first {longest} bytes as one line and the "
     "rest "
     "as lines of their own: {1}",
     "行の長さが {0} バイトあります。最初の {longest} バイトが 1 "
     "行として読まれ、残りは別の行として読ま"
     "れます：{1}"},
    {kTextPiece, kAsItIs, "from column {0}, {1}", "{0} 桁目から「{1}」"},
    {kTextMorePieces, kAsItIs, "and {0} more", "ほか {0} 行"},
    {kTextPieceSeparator, kAsItIs, "; ", "、"},
    {kTextComment, kAsItIs, "a comment", "コメント"},
    {kTextNothing, kAsItIs, "nothing", "空行"},
    {kTextNul, kAsItIs, "a NUL byte ends the line for the plug-in: \"{0}\" after it is not read",
     "NUL バイトで行が終わったものとして読まれ、その後の「{0}」は読まれません"},
    {kTextLoneCr, kAsItIs,
     "a CR without an LF ends the line for the plug-in: \"{0}\" after it is not read",
     "LF の付かない CR で行が終わったものとして読まれ、その後の「{0}」は読まれません"},
    {kTextShort, kAsItIs,
     "the line is shorter than {shortest} bytes, so it has no text: the plug-in never shows it",
     "行が {shortest} バイトより短く本文がないため、表示されることはありません"},
    {kTextBlank, kAsItIs,
     "the line has nothing but blanks after its date: the plug-in never shows it",
     "日付の後ろに空白しかないため、表示されることはありません"},
    {kTextNegativeField, kAsItIs, "never shows: the {0} field reads as {1}",
     "表示されることはありません：{0}の欄が {1} と読まれます"},
    {kTextNoSuchMonth, kAsItIs, "never shows: there is no month {0}",
     "表示されることはありません：{0}月はありません"},
    {kTextNoSuchDay, kAsItIs, "never shows: no month has a day {0}",
     "表示されることはありません：{0}日まである月はありません"},
    {kTextMonthHasNoDay, kAsItIs, "never shows: {0} has no day {1}",
     "表示されることはありません：{0}月に{1}日はありません"},
    {kTextNotALeapYear, kAsItIs, "never shows: {0} is not a leap year, so February has no day 29",
     "表示されることはありません：{0}年はうるう年ではないので 2 月 29 日はありません"},
    {kTextDoubleByteDate, kAsItIs,
     "the date columns hold double-byte characters (such as full-width digits), which are not "
     "read as digits: the plug-in reads the line as {0} and shows \"{1}\"",
     "日付の桁に全角文字（全角数字など）があり、数字として読まれません。この行は{0}の予定「{1}」"
     "として読まれます"},
    {kTextSplitsCharacter, kAsItIs,
     "the text column (the {shortest}th byte) falls on the second byte of a double-byte character: "
     "the "
     "plug-in reads the line as {0} and shows \"{1}\", its first character broken",
     "本文の始まる桁（{shortest} バイト目）が全角文字の 2 "
     "バイト目に当たります。この行は{0}の予定として読ま"
     "れ、本文「{1}」の先頭が文字化けします"},
    {kTextDateField, kAsItIs,
     "the date is not written as yyyy/mm/dd in digits: the plug-in reads the line as {0} and "
     "shows \"{1}\", not what the text suggests",
     "日付が yyyy/mm/dd の形の半角数字で書かれていません。この行は{0}の予定「{1}」として読まれま"
     "す（見た目の日付とは違います）"},
    {kTextNotAComment, kAsItIs,
     "only a \";\" in the first column makes a comment: the plug-in reads the line as {0} and "
     "shows \"{1}\"",
     "コメントになるのは 1 桁目が「;」の行だけです。この行は{0}の予定「{1}」として読まれます"},
    {kTextIndented, kAsItIs,
     "the line starts with a blank, which moves its date out of the fixed columns: the plug-in "
     "reads the line as {0} and shows \"{1}\"",
     "行頭に空白があるため日付の桁がずれています。この行は{0}の予定「{1}」として読まれます"},
    {kTextReading, kAsItIs, "{0}: {1}", "{0}：{1}"},
    {kTextShowsNothing, kAsItIs, "{0}: shows nothing", "{0}：表示なし"},
    {kTextShortReading, kAsItIs, "shows nothing (shorter than {shortest} bytes)",
     "表示なし（{shortest} バイトより短い行）"},
    {kTextYearField, kAsItIs, "year", "年"},
    {kTextMonthField, kAsItIs, "month", "月"},
    {kTextDayField, kAsItIs, "day", "日"},
    {kTextEveryYear, kAsItIs, "every year", "毎年"},
    {kTextEveryMonth, kAsItIs, "every month", "毎月"},
    {kTextEveryDay, kAsItIs, "every day", "毎日"},
    {kTextYear, kAsItIs, "year {0}", "{0}年"},
    {kTextMonth, kAsItIs, "month {0}", "{0}月"},
    {kTextDay, kAsItIs, "day {0}", "{0}日"},
    {kTextDateJoin, kAsItIs, ", ", ""},  // between year, month and day
    {kTextNameNotInCodePage, kAsItIs,
     "its name has characters the system's code page lacks, which the plug-in cannot open",
     "名前にシステムのコードページにない文字があり、プラグインが開けません"},
    // A month named in a message: its English name, its number in Japanese.
    {kTextJanuary, kAsItIs, "January", "1"},
    {static_cast<Text>(kTextJanuary + 1), kAsItIs, "February", "2"},
    {static_cast<Text>(kTextJanuary + 2), kAsItIs, "March", "3"},
    {static_cast<Text>(kTextJanuary + 3), kAsItIs, "April", "4"},
    {static_cast<Text>(kTextJanuary + 4), kAsItIs, "May", "5"},
    {static_cast<Text>(kTextJanuary + 5), kAsItIs, "June", "6"},
    {static_cast<Text>(kTextJanuary + 6), kAsItIs, "July", "7"},
    {static_cast<Text>(kTextJanuary + 7), kAsItIs, "August", "8"},
    {static_cast<Text>(kTextJanuary + 8), kAsItIs, "September", "9"},
    {static_cast<Text>(kTextJanuary + 9), kAsItIs, "October", "10"},
    {static_cast<Text>(kTextJanuary + 10), kAsItIs, "November", "11"},
    {static_cast<Text>(kTextJanuary + 11), kAsItIs, "December", "12"},
};

constexpr bool EveryTextInItsPlace() {
  if (sizeof kTexts / sizeof kTexts[0] != kTextCount) return false;
  for (size_t i = 0; i < kTextCount; ++i) {
    if (kTexts[i].text != static_cast<Text>(i)) return false;
  }
  return true;
}
static_assert(EveryTextInItsPlace(), "one entry for each text, in the order of the enum");

}  // namespace

std::string Say(Language language, Text text, const std::vector<std::string>& arguments) {
  const Entry& entry = kTexts[text];
  const char* words = language == Language::kJapanese ? entry.japanese : entry.english;
  const std::string pattern = std::string(entry.opening == kWithName ? "{program}: " : "") + words;
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string::npos;
    if (close == std::string::npos) {
      out += pattern[i];
      continue;
    }
    const std::string field = pattern.substr(i + 1, close - i - 1);
    if (field.size() == 1 && field[0] >= '0' && field[0] <= '9') {
      const size_t index = static_cast<size_t>(field[0] - '0');
      if (index < arguments.size()) out += arguments[index];
      i = close;
      continue;
    }
    const Field* known = nullptr;
    for (const Field& candidate : Fields()) {
      if (field == candidate.field) known = &candidate;
    }
    // A field nothing stands for stays as it is written, for the golden file to show.
    if (known == nullptr) {
      out += pattern[i];
      continue;
    }
    out += known->value;
    i = close;
  }
  return out;
}

std::string SayNumber(Language language, long count) {
  static const char* const kWords[] = {"zero",  "one",   "two",  "three", "four",   "five",  "six",
                                       "seven", "eight", "nine", "ten",   "eleven", "twelve"};
  if (language == Language::kEnglish && count >= 0 && count <= 12) return kWords[count];
  return std::to_string(count);
}
