// An independent model of the agenda format and of the memo, written straight
// from the format's rules and kept deliberately simple: whole files in memory,
// one pass per rule, nothing shared with the engine. The fuzz targets and the
// hostile-input tests hold the engine against it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace reference {

struct Date {
  int year;
  int month;
  int day;
};

// The module's own texts, as the Shift-JIS bytes the memo holds. Written as
// escapes so that they are the same whatever the compiler's character set.
extern const char kHeadingSuffix[];  // "の予定"
extern const char kNoneText[];       // "なし"
extern const char kErrorText[];      // "データファイル読み込みエラー"

// The pieces an agenda file is read in: nothing from the first Ctrl-Z on,
// CR LF as LF, then pieces of at most 1023 bytes, each ending after an LF.
std::vector<std::string> Pieces(const std::string& fileBytes);

// The entry text that a line (already cut at its first CR, LF or NUL) gives
// for the date, or nothing.
std::optional<std::string> EntryText(const std::string& line, Date date);

// The names a file list gives, in order. The list ends at its first NUL; a
// name of 260 bytes or more cannot be held and is passed over.
std::vector<std::string> FileNames(const std::string& list);

// Gives the whole content of an agenda file, or false when it cannot be read.
using FileSource = std::function<bool(const std::string& name, std::string* bytes)>;

// The memo heading for a date, e.g. "1998/04/01の予定".
std::string Heading(Date date);

// The memo for the date from a file list (empty: the error form).
std::string Memo(const std::string& list, Date date, const FileSource& files);

}  // namespace reference
