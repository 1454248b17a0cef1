// The module's own texts, as the Shift-JIS (code page 932) bytes the host
// shows, each with its Japanese beside it. They are written as escapes so
// that every compiler reads them alike, whatever it takes the source's
// character set to be.
#pragma once

namespace texts {

// The memo's heading for a date: "%04d/%02d/%02dの予定".
constexpr char kHeadingFormat[] = "%04d/%02d/%02d\x82\xCC\x97\x5C\x92\xE8";
// The memo's line when no entry applies: "なし".
constexpr char kNone[] = "\x82\xC8\x82\xB5";
// The memo of a chip without agenda files: "データファイル読み込みエラー".
constexpr char kNoFileList[] =
    "\x83\x66\x81\x5B\x83\x5E\x83\x74\x83\x40\x83\x43\x83\x8B"  // データファイル
    "\x93\xC7\x82\xDD\x8D\x9E\x82\xDD"                          // 読み込み
    "\x83\x47\x83\x89\x81\x5B";                                 // エラー

// The name the host lists the plug-in under: "簡易Vorlinde".
constexpr char kDisplayName[] =
    "\x8A\xC8\x88\xD5"
    "Vorlinde";

// The day menu's items: "昨日", "今日", "明日".
constexpr char kYesterday[] = "\x8D\xF0\x93\xFA";
constexpr char kToday[] = "\x8D\xA1\x93\xFA";
constexpr char kTomorrow[] = "\x96\xBE\x93\xFA";
constexpr char kAbout[] = "About...";

// The notice that there is nothing to configure: "設定項目は有りません".
constexpr char kNothingToConfigure[] =
    "\x90\xDD\x92\xE8\x8D\x80\x96\xDA"                   // 設定項目
    "\x82\xCD\x97\x4C\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // は有りません
constexpr char kNoticeCaption[] = "Vorlinde";

// The open-file dialog's one filter, "Vorlinde(*.vrn)" for "*.vrn", the list
// closed by an empty string, and the extension it adds to a typed name.
constexpr char kAgendaFilter[] = "Vorlinde(*.vrn)\0*.vrn\0";
constexpr char kAgendaExtension[] = "vrn";

}  // namespace texts
