// Helpers shared by the tests: scratch files and readable byte dumps.
#pragma once

#include <windows.h>

#include <string>

#include "agenda/agenda.h"
#include "testing/escaped.h"
#include "testing/scratch_dir.h"

namespace testing_support {

// The memo's error form, "データファイル読み込みエラー", in Shift-JIS.
inline const std::string kError = "データファイル読み込みエラー";

// The text of a local memo block, or "(none)" for a null handle.
std::string BlockText(HLOCAL block);

// Today's local date, from the C library's clock; the tests' own view of it.
AgendaDate LocalToday();
bool SameDate(AgendaDate a, AgendaDate b);

// A memo heading for a date, e.g. "1999/01/05の予定" in Shift-JIS.
std::string Heading(AgendaDate date);

// An agenda line for `date` whose entry text names the date too, and the memo
// of `date` from an agenda file that has that line.
std::string EntryFor(AgendaDate date);
std::string MemoFor(AgendaDate date);

}  // namespace testing_support
