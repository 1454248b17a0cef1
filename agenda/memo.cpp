#include <stdlib.h>
#include <string.h>

#include "agenda/agenda.h"
#include "agenda/reader.h"

namespace {

constexpr size_t kMemoStep = 128;
const char kHeadingFormat[] = "%04d/%02d/%02dの予定";
const char kNoneText[] = "なし";
const char kErrorText[] = "データファイル読み込みエラー";
const char kLineBreak[] = "\r\n";

// Appends to a memo block while keeping its size and length at hand, so that
// a long memo is never rescanned from its start. The block is locked only
// while it is written.
class MemoWriter {
 public:
  explicit MemoWriter(HLOCAL* memoText) : memo_(memoText) {
    if (*memo_ == nullptr) return;
    size_ = LocalSize(*memo_);
    if (const char* text = static_cast<const char*>(LocalLock(*memo_))) {
      used_ = strnlen(text, size_);
      LocalUnlock(*memo_);
    }
  }

  size_t length() const { return used_; }

  bool Append(const char* text, size_t n) {
    if (n == 0) return true;
    if (*memo_ == nullptr) {
      HLOCAL block = LocalAlloc(LHND, kMemoStep);
      if (block == nullptr) return false;
      *memo_ = block;
      size_ = kMemoStep;
      used_ = 0;
    }
    if (size_ <= used_ + n + 1) {
      // Grow by the smallest multiple of the step that exceeds the text.
      const size_t grown = size_ + kMemoStep * (n / kMemoStep + 1);
      HLOCAL block = LocalReAlloc(*memo_, grown, LMEM_MOVEABLE);
      if (block == nullptr) return false;
      *memo_ = block;
      size_ = grown;
    }
    char* memo = static_cast<char*>(LocalLock(*memo_));
    if (memo == nullptr) return false;
    memcpy(memo + used_, text, n);
    used_ += n;
    memo[used_] = '\0';
    LocalUnlock(*memo_);
    return true;
  }

  // Appends a line break and then `text`; if the text cannot be added the
  // line break is taken back, so the memo never ends in one.
  bool AppendLine(const char* text, size_t n) {
    const size_t before = used_;
    if (!Append(kLineBreak, sizeof kLineBreak - 1)) return false;
    if (Append(text, n)) return true;
    if (char* memo = static_cast<char*>(LocalLock(*memo_))) {
      used_ = before;
      memo[used_] = '\0';
      LocalUnlock(*memo_);
    }
    return false;
  }

 private:
  HLOCAL* memo_;
  size_t size_ = 0;
  size_t used_ = 0;
};

// Appends every entry of one agenda file that applies to `date`; returns how
// many were appended. A file that cannot be opened adds nothing.
int AppendEntriesOf(const char* name, AgendaDate date, char (&line)[kLineBufferSize],
                    MemoWriter& memo) {
  AgendaReader reader(name);
  int found = 0;
  size_t length = 0;
  while (reader.ReadPiece(line, &length)) {
    if (line[0] == ';') continue;  // comment
    // The line ends at its first CR, LF or NUL.
    line[strcspn(line, "\r\n")] = '\0';
    if (line[0] == '\0') continue;
    const char* text = MatchAgendaLine(date.year, date.month, date.day, line);
    if (text != nullptr && memo.AppendLine(text, strlen(text))) ++found;
  }
  return found;
}

// Composes the heading and entries; leaves `*memoText` empty when not even
// the heading could be written.
void ComposeFromList(const char* fileList, size_t listLength, AgendaDate date, HLOCAL* memoText,
                     size_t* memoLength) {
  char(*line)[kLineBufferSize] = static_cast<char(*)[kLineBufferSize]>(malloc(kLineBufferSize));
  if (line == nullptr) return;
  MemoWriter memo(memoText);
  const int headingLength = wsprintfA(*line, kHeadingFormat, date.year, date.month, date.day);
  if (memo.Append(*line, static_cast<size_t>(headingLength))) {
    int found = 0;
    size_t position = 0;
    char name[kFileNameBufferSize];
    while (NextFileName(&position, name, fileList, listLength)) {
      found += AppendEntriesOf(name, date, *line, memo);
    }
    if (found == 0) memo.AppendLine(kNoneText, sizeof kNoneText - 1);
  }
  *memoLength = memo.length();
  free(line);
}

}  // namespace

bool AppendMemoText(HLOCAL* memoText, const char* text) {
  if (text == nullptr || text[0] == '\0') return true;
  MemoWriter memo(memoText);
  return memo.Append(text, strlen(text));
}

int32_t ComposeMemo(const char* fileList, size_t listLength, AgendaDate date, HLOCAL* memoText) {
  if (*memoText != nullptr) {
    LocalFree(*memoText);
    *memoText = nullptr;
  }
  size_t length = 0;
  if (fileList != nullptr && listLength > 0) {
    ComposeFromList(fileList, listLength, date, memoText, &length);
  }
  if (*memoText == nullptr) {
    HLOCAL block = LocalAlloc(LHND, sizeof kErrorText);
    char* text = block != nullptr ? static_cast<char*>(LocalLock(block)) : nullptr;
    if (text == nullptr) {
      if (block != nullptr) LocalFree(block);
      return 0;
    }
    memcpy(text, kErrorText, sizeof kErrorText);
    LocalUnlock(block);
    *memoText = block;
    length = sizeof kErrorText - 1;
  }
  return static_cast<int32_t>(length);
}

int32_t ComposeMemo(const char* fileList, AgendaDate date, HLOCAL* memoText) {
  return ComposeMemo(fileList, fileList != nullptr ? strlen(fileList) : 0, date, memoText);
}
