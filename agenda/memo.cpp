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

  bool Append(const char* text, size_t n) { return Write("", 0, text, n); }

  // Appends a line break and then `text`: both or, when memory runs out,
  // neither, so the memo never ends in a line break.
  bool AppendLine(const char* text, size_t n) {
    return Write(kLineBreak, sizeof kLineBreak - 1, text, n);
  }

 private:
  // The block's size after appending n bytes to `used` bytes in a block of
  // `size`: grown by the smallest multiple of the step that exceeds the text
  // when the text would not fit with its NUL.
  static size_t GrownSize(size_t size, size_t used, size_t n) {
    if (n == 0 || size > used + n + 1) return size;
    return size + kMemoStep * (n / kMemoStep + 1);
  }

  // Appends `first` and then `second` (either may be empty), each growing the
  // block as an append of its own would, in one resize and one lock.
  bool Write(const char* first, size_t firstLength, const char* second, size_t secondLength) {
    if (firstLength + secondLength == 0) return true;
    if (*memo_ == nullptr) {
      HLOCAL block = LocalAlloc(LHND, kMemoStep);
      if (block == nullptr) return false;
      *memo_ = block;
      size_ = kMemoStep;
      used_ = 0;
    }
    const size_t grown =
        GrownSize(GrownSize(size_, used_, firstLength), used_ + firstLength, secondLength);
    if (grown != size_) {
      HLOCAL block = LocalReAlloc(*memo_, grown, LMEM_MOVEABLE);
      if (block == nullptr) return false;
      *memo_ = block;
      size_ = grown;
    }
    char* memo = static_cast<char*>(LocalLock(*memo_));
    if (memo == nullptr) return false;
    memcpy(memo + used_, first, firstLength);
    memcpy(memo + used_ + firstLength, second, secondLength);
    used_ += firstLength + secondLength;
    memo[used_] = '\0';
    LocalUnlock(*memo_);
    return true;
  }

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
    size_t textLength = 0;
    const char* text = MatchAgendaPiece(date.year, date.month, date.day, line, length, &textLength);
    if (text != nullptr && memo.AppendLine(text, textLength)) ++found;
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
