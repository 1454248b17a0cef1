#include "tools/checker/messages.h"

namespace {

const TextPair kTexts[] = {
    // kTextUtf16
    {"the file is saved as UTF-16: the chip will show its text garbled; re-save it as Shift-JIS "
     "with: vorlinde-agenda convert {0}",
     "ファイルが UTF-16 で保存されています。付箋では文字化けします。次のコマンドで Shift-JIS "
     "に変換してください：vorlinde-agenda convert {0}"},
    // kTextUtf8ByteOrderMark
    {"the file is saved as UTF-8 with a byte-order mark: the chip will show its non-ASCII text "
     "garbled, and the mark's 3 bytes shift the first line's date; re-save it as Shift-JIS with: "
     "vorlinde-agenda convert {0}",
     "ファイルが UTF-8（BOM 付き）で保存されています。付箋では ASCII 以外の文字が文字化けし、BOM "
     "の 3 バイトで 1 行目の日付の桁がずれます。次のコマンドで Shift-JIS "
     "に変換してください：vorlinde-agenda convert {0}"},
    // kTextUtf8
    {"the file is saved as UTF-8: the chip will show its non-ASCII text garbled; re-save it as "
     "Shift-JIS with: vorlinde-agenda convert {0}",
     "ファイルが UTF-8 で保存されています。付箋では ASCII "
     "以外の文字が文字化けします。次のコマンドで "
     "Shift-JIS に変換してください：vorlinde-agenda convert {0}"},
    // kTextCtrlZ
    {"a Ctrl-Z byte ends the file for the plug-in: nothing after it is read, from \"{0}\" on",
     "Ctrl-Z（0x1A）でファイルが終わったものとして読まれ、その後の「{0}」以降は読まれません"},
    // kTextLongLine
    {"the line is {0} bytes long: the plug-in reads its first 1023 bytes as one line and the rest "
     "as lines of their own: {1}",
     "行の長さが {0} バイトあります。最初の 1023 バイトが 1 行として読まれ、残りは別の行として読ま"
     "れます：{1}"},
    // kTextPiece
    {"from column {0}, {1}", "{0} 桁目から「{1}」"},
    // kTextMorePieces
    {"and {0} more", "ほか {0} 行"},
    // kTextPieceSeparator
    {"; ", "、"},
    // kTextComment
    {"a comment", "コメント"},
    // kTextNothing
    {"nothing", "空行"},
    // kTextNul
    {"a NUL byte ends the line for the plug-in: \"{0}\" after it is not read",
     "NUL バイトで行が終わったものとして読まれ、その後の「{0}」は読まれません"},
    // kTextLoneCr
    {"a CR without an LF ends the line for the plug-in: \"{0}\" after it is not read",
     "LF の付かない CR で行が終わったものとして読まれ、その後の「{0}」は読まれません"},
    // kTextShort
    {"the line is shorter than 11 bytes, so it has no text: the plug-in never shows it",
     "行が 11 バイトより短く本文がないため、表示されることはありません"},
    // kTextBlank
    {"the line has nothing but blanks after its date: the plug-in never shows it",
     "日付の後ろに空白しかないため、表示されることはありません"},
    // kTextNegativeField
    {"never shows: the {0} field reads as {1}",
     "表示されることはありません：{0}の欄が {1} と読まれます"},
    // kTextNoSuchMonth
    {"never shows: there is no month {0}", "表示されることはありません：{0}月はありません"},
    // kTextNoSuchDay
    {"never shows: no month has a day {0}",
     "表示されることはありません：{0}日まである月はありません"},
    // kTextMonthHasNoDay
    {"never shows: {0} has no day {1}", "表示されることはありません：{0}月に{1}日はありません"},
    // kTextNotALeapYear
    {"never shows: {0} is not a leap year, so February has no day 29",
     "表示されることはありません：{0}年はうるう年ではないので 2 月 29 日はありません"},
    // kTextDoubleByteDate
    {"the date columns hold double-byte characters (such as full-width digits), which are not "
     "read as digits: the plug-in reads the line as {0} and shows \"{1}\"",
     "日付の桁に全角文字（全角数字など）があり、数字として読まれません。この行は{0}の予定「{1}」"
     "として読まれます"},
    // kTextSplitsCharacter
    {"the text column (the 11th byte) falls on the second byte of a double-byte character: the "
     "plug-in reads the line as {0} and shows \"{1}\", its first character broken",
     "本文の始まる桁（11 バイト目）が全角文字の 2 バイト目に当たります。この行は{0}の予定として読ま"
     "れ、本文「{1}」の先頭が文字化けします"},
    // kTextDateField
    {"the date is not written as yyyy/mm/dd in digits: the plug-in reads the line as {0} and "
     "shows \"{1}\", not what the text suggests",
     "日付が yyyy/mm/dd の形の半角数字で書かれていません。この行は{0}の予定「{1}」として読まれま"
     "す（見た目の日付とは違います）"},
    // kTextNotAComment
    {"only a \";\" in the first column makes a comment: the plug-in reads the line as {0} and "
     "shows \"{1}\"",
     "コメントになるのは 1 桁目が「;」の行だけです。この行は{0}の予定「{1}」として読まれます"},
    // kTextIndented
    {"the line starts with a blank, which moves its date out of the fixed columns: the plug-in "
     "reads the line as {0} and shows \"{1}\"",
     "行頭に空白があるため日付の桁がずれています。この行は{0}の予定「{1}」として読まれます"},
    // kTextReading
    {"{0}: {1}", "{0}：{1}"},
    // kTextShowsNothing
    {"{0}: shows nothing", "{0}：表示なし"},
    // kTextShortReading
    {"shows nothing (shorter than 11 bytes)", "表示なし（11 バイトより短い行）"},
    // kTextYearField, kTextMonthField, kTextDayField
    {"year", "年"},
    {"month", "月"},
    {"day", "日"},
    // kTextEveryYear, kTextEveryMonth, kTextEveryDay
    {"every year", "毎年"},
    {"every month", "毎月"},
    {"every day", "毎日"},
    // kTextYear, kTextMonth, kTextDay
    {"year {0}", "{0}年"},
    {"month {0}", "{0}月"},
    {"day {0}", "{0}日"},
    // kTextDateJoin: between year, month and day
    {", ", ""},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == kTextCount, "one pair of texts for each text");

const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

}  // namespace

const TextPair& CheckerTextPair(CheckerText text) { return kTexts[text]; }

const char* EnglishMonthName(int32_t month) { return kMonthNames[month - 1]; }
