#include <stdlib.h>
#include <string.h>

#include "agenda/agenda.h"
#include "agenda/reader.h"
#include "resources/texts.h"

namespace {

constexpr size_t kMemoStep = 128;
// Bytes a composition gathers before writing them into the memo block.
constexpr size_t kGatherSize = 64 * 1024;
const char kLineBreak[] = "\r\n";

// Appends to a memo block while keeping its size and length at hand, so that
// a long memo is never rescanned from its start.
//
// A composition appends a line per entry, tens of thousands of them for a
// large agenda. Resizing, locking and unlocking the block for each would cost
// more than reading the entry, so the writer gathers appended bytes in a
// scratch buffer and writes them into the block with one resize and one lock
// when the buffer is full and at `Flush`. The block still takes the size the
// growth rule gives append by append: the writer works the rule's sizes out
// as it gathers and resizes the block straight to the last of them. Should
// that one resize find no memory, the gathered appends are stored one by one,
// as they would have been without the buffer, so that a shortage costs only
// the appends it falls on. The block is locked only while it is written.
class MemoWriter {
 public:
  // `buffer` (`bufferSize` bytes; none when 0) gathers appended bytes; a text
  // larger than it is written straight into the block.
  MemoWriter(HLOCAL* memoText, char* buffer, size_t bufferSize)
      : memo_(memoText), buffer_(buffer), bufferSize_(bufferSize) {
    if (*memo_ == nullptr) return;
    size_ = blockSize_ = LocalSize(*memo_);
    if (const char* text = static_cast<const char*>(LocalLock(*memo_))) {
      used_ = written_ = strnlen(text, blockSize_);
      LocalUnlock(*memo_);
    }
  }

  // The memo's length as of the last flush.
  size_t length() const { return written_; }

  // Appends `text`; false when it was dropped for want of memory. A gathered
  // text counts as appended until a flush says otherwise.
  bool Append(const char* text, size_t n) { return Add("", 0, text, n); }

  // Appends a line break and then `text`: both or, when memory runs out,
  // neither, so the memo never ends in a line break. Texts so appended must
  // hold no line break of their own.
  bool AppendLine(const char* text, size_t n) {
    return Add(kLineBreak, sizeof kLineBreak - 1, text, n);
  }

  // Writes the gathered bytes into the block; false when any of them had to
  // be dropped for want of memory.
  bool Flush() {
    const size_t gathered = gathered_;
    gathered_ = 0;
    if (Store(buffer_, gathered, "", 0)) return true;
    return StoreOneByOne(buffer_, gathered);
  }

 private:
  // The block's size after appending n bytes to `used` bytes in a block of
  // `size`: grown by the smallest multiple of the step that exceeds the text
  // when the text would not fit with its NUL.
  static size_t GrownSize(size_t size, size_t used, size_t n) {
    if (n == 0 || size > used + n + 1) return size;
    return size + kMemoStep * (n / kMemoStep + 1);
  }

  // Takes the appending of `first` and then `second` into the sizes, each
  // growing the block as an append of its own would.
  void Plan(size_t firstLength, size_t secondLength) {
    if (*memo_ == nullptr && size_ == 0) size_ = kMemoStep;  // the block a first append creates
    size_ = GrownSize(GrownSize(size_, used_, firstLength), used_ + firstLength, secondLength);
    used_ += firstLength + secondLength;
  }

  bool Add(const char* first, size_t firstLength, const char* second, size_t secondLength) {
    const size_t n = firstLength + secondLength;
    if (n == 0) return true;
    if (gathered_ + n > bufferSize_) Flush();
    Plan(firstLength, secondLength);
    if (n > bufferSize_) return Store(first, firstLength, second, secondLength);
    memcpy(buffer_ + gathered_, first, firstLength);
    memcpy(buffer_ + gathered_ + firstLength, second, secondLength);
    gathered_ += n;
    return true;
  }

  // Stores `n` gathered bytes append by append: the text before the first
  // line break (if any), then each line break with the text behind it.
  bool StoreOneByOne(const char* bytes, size_t n) {
    bool all = true;
    for (size_t at = 0; at < n;) {
      const bool line = n - at >= 2 && memcmp(bytes + at, kLineBreak, 2) == 0;
      const size_t textAt = line ? at + 2 : at;
      size_t end = textAt;
      while (end < n && !(n - end >= 2 && memcmp(bytes + end, kLineBreak, 2) == 0)) ++end;
      Plan(textAt - at, end - textAt);
      all = Store(bytes + at, textAt - at, bytes + textAt, end - textAt) && all;
      at = end;
    }
    return all;
  }

  // Writes `first` and `second` behind the written bytes, the block resized
  // to `size_` first; on failure forgets every append since the last store.
  bool Store(const char* first, size_t firstLength, const char* second, size_t secondLength) {
    if (firstLength + secondLength == 0) return true;
    if (*memo_ == nullptr) {
      HLOCAL block = LocalAlloc(LHND, kMemoStep);
      if (block == nullptr) return Forget();
      *memo_ = block;
      blockSize_ = kMemoStep;
    }
    if (size_ != blockSize_) {
      HLOCAL block = LocalReAlloc(*memo_, size_, LMEM_MOVEABLE);
      if (block == nullptr) return Forget();
      *memo_ = block;
      blockSize_ = size_;
    }
    char* memo = static_cast<char*>(LocalLock(*memo_));
    if (memo == nullptr) return Forget();
    memcpy(memo + written_, first, firstLength);
    memcpy(memo + written_ + firstLength, second, secondLength);
    written_ += firstLength + secondLength;
    memo[written_] = '\0';
    LocalUnlock(*memo_);
    return true;
  }

  bool Forget() {
    size_ = *memo_ != nullptr ? blockSize_ : 0;
    used_ = written_;
    return false;
  }

  HLOCAL* memo_;
  char* buffer_;
  size_t bufferSize_;
  size_t size_ = 0;       // the block's size by the growth rule, gathered bytes included
  size_t used_ = 0;       // the memo's length, gathered bytes included
  size_t blockSize_ = 0;  // the block's size as it is
  size_t written_ = 0;    // the memo's length in the block
  size_t gathered_ = 0;   // bytes in the buffer
};

// Appends every entry of one agenda file that applies to `date` and returns
// how many applied, whether or not memory could be had for all of them. A
// file that cannot be opened adds nothing.
size_t AppendEntriesOf(const char* name, AgendaDate date, char (&line)[kLineBufferSize],
                       MemoWriter& memo) {
  AgendaReader reader(name);
  size_t length = 0;
  size_t entries = 0;
  while (reader.ReadPiece(line, &length)) {
    if (line[0] == ';') continue;  // comment
    size_t textLength = 0;
    const char* text = MatchAgendaPiece(date.year, date.month, date.day, line, length, &textLength);
    if (text == nullptr) continue;
    memo.AppendLine(text, textLength);
    ++entries;
  }
  return entries;
}

// Composes the heading and entries; leaves `*memoText` empty when not even
// the heading could be written.
void ComposeFromList(const char* fileList, size_t listLength, AgendaDate date, HLOCAL* memoText,
                     size_t* memoLength) {
  // The line buffer, and behind it the buffer that gathers the memo's bytes.
  void* buffers = malloc(kLineBufferSize + kGatherSize);
  if (buffers == nullptr) return;
  char(&line)[kLineBufferSize] = *static_cast<char(*)[kLineBufferSize]>(buffers);
  MemoWriter memo(memoText, static_cast<char*>(buffers) + kLineBufferSize, kGatherSize);
  const int headingLength = wsprintfA(line, texts::kHeadingFormat, date.year, date.month, date.day);
  if (memo.Append(line, static_cast<size_t>(headingLength)) && memo.Flush()) {
    size_t position = 0;
    size_t entries = 0;
    char name[kFileNameBufferSize];
    while (NextFileName(&position, name, fileList, listLength)) {
      entries += AppendEntriesOf(name, date, line, memo);
    }
    // "None" only when no entry applied: a memo that lost entries for want of
    // memory must not claim there were none.
    if (entries == 0) memo.AppendLine(texts::kNone, sizeof texts::kNone - 1);
    memo.Flush();
  }
  *memoLength = memo.length();
  free(buffers);
}

}  // namespace

bool AppendMemoText(HLOCAL* memoText, const char* text) {
  if (text == nullptr || text[0] == '\0') return true;
  MemoWriter memo(memoText, nullptr, 0);
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
    HLOCAL block = LocalAlloc(LHND, sizeof texts::kNoFileList);
    char* text = block != nullptr ? static_cast<char*>(LocalLock(block)) : nullptr;
    if (text == nullptr) {
      if (block != nullptr) LocalFree(block);
      return 0;
    }
    memcpy(text, texts::kNoFileList, sizeof texts::kNoFileList);
    LocalUnlock(block);
    *memoText = block;
    length = sizeof texts::kNoFileList - 1;
  }
  return static_cast<int32_t>(length);
}

int32_t ComposeMemo(const char* fileList, AgendaDate date, HLOCAL* memoText) {
  return ComposeMemo(fileList, fileList != nullptr ? strlen(fileList) : 0, date, memoText);
}
