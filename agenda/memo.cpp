#include <stdlib.h>
#include <string.h>

#include "agenda/agenda.h"
#include "agenda/reader.h"
#include "resources/texts.h"

namespace {

constexpr size_t kMemoStep = 128;
// The first piece of scratch memory that gathers a composition's bytes, and
// the size of each further piece.
constexpr size_t kGatherSize = 64 * 1024;
constexpr size_t kChunkSize = 1024 * 1024;
const char kLineBreak[] = "\r\n";

// One piece of the scratch memory that gathers a memo's bytes. Its bytes
// follow the record; pieces after the first are taken from the ordinary heap
// as they are needed.
struct Chunk {
  Chunk* next;
  size_t used;
  size_t room;
  char* bytes() { return reinterpret_cast<char*>(this + 1); }
};

// Appends to a memo block while keeping its size and length at hand, so that
// a long memo is never rescanned from its start.
//
// A composition appends a line per entry, millions of them for a large text
// file listed by mistake. A real Win32 heap grows a large block by moving it,
// copying everything written so far, so resizing the block as the memo grows
// makes a composition's time grow with the square of the memo. The writer
// therefore gathers the appended bytes in scratch memory and writes them into
// the block with one resize and one lock at `Flush`: each byte is copied
// twice, whatever the memo's size, and at the peak the memo is held twice.
// The block still takes the size the growth rule gives append by append: the
// writer works the rule's sizes out as it gathers and resizes the block
// straight to the last of them.
//
// When memory is short the writer falls back to smaller steps before it drops
// anything: scratch memory that cannot be had makes it write what it gathered
// so far; a resize for everything gathered that finds no memory makes it
// store the gathered pieces one at a time, and within a piece that still does
// not fit, the appends one by one, as they would have been stored without
// gathering, so that a shortage costs only the appends it falls on.
class MemoWriter {
 public:
  // `buffer` (`bufferSize` bytes; none when 0) is the first piece of scratch
  // memory; without one every append is stored as it comes.
  MemoWriter(HLOCAL* memoText, char* buffer, size_t bufferSize) : memo_(memoText) {
    if (bufferSize > sizeof(Chunk)) {
      first_ = last_ = reinterpret_cast<Chunk*>(buffer);
      *first_ = Chunk{nullptr, 0, bufferSize - sizeof(Chunk)};
    }
    if (*memo_ == nullptr) return;
    size_ = blockSize_ = LocalSize(*memo_);
    if (const char* text = static_cast<const char*>(LocalLock(*memo_))) {
      used_ = written_ = strnlen(text, blockSize_);
      LocalUnlock(*memo_);
    }
  }

  ~MemoWriter() { ReleaseChunks(); }
  MemoWriter(const MemoWriter&) = delete;
  MemoWriter& operator=(const MemoWriter&) = delete;

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

  // Writes the gathered bytes into the block and releases the scratch memory
  // but the first piece; false when any byte had to be dropped for want of
  // memory.
  bool Flush() {
    if (first_ == nullptr || first_->used == 0) return true;
    bool all = StoreGathered();
    if (!all) {
      // Piece by piece, each released once stored, so that the scratch memory
      // and the growing block together stay within about twice the memo.
      all = true;
      for (Chunk* chunk = first_; chunk != nullptr;) {
        all = StorePiece(chunk->bytes(), chunk->used) && all;
        Chunk* next = chunk->next;
        if (chunk != first_) free(chunk);
        chunk = next;
      }
      first_->next = nullptr;
    }
    ReleaseChunks();
    first_->used = 0;
    last_ = first_;
    return all;
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

  // The piece the next `n` bytes go to: the last one when they fit, else a
  // new one. Null when none fits and no memory can be had for another.
  Chunk* RoomFor(size_t n) {
    if (last_->room - last_->used >= n) return last_;
    Chunk* chunk = static_cast<Chunk*>(malloc(sizeof(Chunk) + kChunkSize));
    if (chunk == nullptr) return nullptr;
    *chunk = Chunk{nullptr, 0, kChunkSize};
    last_->next = chunk;
    last_ = chunk;
    return chunk;
  }

  bool Add(const char* first, size_t firstLength, const char* second, size_t secondLength) {
    const size_t n = firstLength + secondLength;
    if (n == 0) return true;
    if (first_ == nullptr || n > first_->room) {
      Flush();  // what is gathered goes first
      Plan(firstLength, secondLength);
      return Store(first, firstLength, second, secondLength);
    }
    Chunk* chunk = RoomFor(n);
    if (chunk == nullptr) {
      // Short of scratch memory: write what is gathered and start over in the
      // first piece.
      Flush();
      chunk = first_;
    }
    Plan(firstLength, secondLength);
    char* at = chunk->bytes() + chunk->used;
    memcpy(at, first, firstLength);
    memcpy(at + firstLength, second, secondLength);
    chunk->used += n;
    return true;
  }

  // Stores the `n` bytes of one gathered piece with one resize, or, when that
  // finds no memory, append by append: the text before the first line break
  // (if any), then each line break with the text behind it. Appends never
  // straddle two pieces.
  bool StorePiece(const char* bytes, size_t n) {
    const size_t sizeBefore = size_;
    const size_t usedBefore = used_;
    ForEachAppend(bytes, n, [this](const char*, size_t breakLength, size_t textLength) {
      Plan(breakLength, textLength);
    });
    if (Store(bytes, n, "", 0)) return true;
    size_ = sizeBefore;
    used_ = usedBefore;
    bool all = true;
    ForEachAppend(bytes, n, [&](const char* at, size_t breakLength, size_t textLength) {
      Plan(breakLength, textLength);
      all = Store(at, breakLength, at + breakLength, textLength) && all;
    });
    return all;
  }

  // Calls `each(at, breakLength, textLength)` for every append among `n`
  // gathered bytes.
  template <typename Each>
  static void ForEachAppend(const char* bytes, size_t n, Each each) {
    const auto lineBreakAt = [&](size_t at) {
      return n - at >= 2 && memcmp(bytes + at, kLineBreak, 2) == 0;
    };
    for (size_t at = 0; at < n;) {
      const size_t textAt = lineBreakAt(at) ? at + 2 : at;
      size_t end = textAt;
      while (end < n && !lineBreakAt(end)) ++end;
      each(bytes + at, textAt - at, end - textAt);
      at = end;
    }
  }

  // Makes the block `size_` bytes (creating it when there is none) and locks
  // it; on failure forgets every append since the last store.
  char* OpenBlock() {
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
    return memo != nullptr ? memo : Forget();
  }

  void CloseBlock(char* memo) {
    memo[written_] = '\0';
    LocalUnlock(*memo_);
  }

  // Writes every gathered piece behind the written bytes with one resize.
  bool StoreGathered() {
    char* memo = OpenBlock();
    if (memo == nullptr) return false;
    for (Chunk* chunk = first_; chunk != nullptr; chunk = chunk->next) {
      memcpy(memo + written_, chunk->bytes(), chunk->used);
      written_ += chunk->used;
    }
    CloseBlock(memo);
    return true;
  }

  // Writes `first` and `second` behind the written bytes.
  bool Store(const char* first, size_t firstLength, const char* second, size_t secondLength) {
    if (firstLength + secondLength == 0) return true;
    char* memo = OpenBlock();
    if (memo == nullptr) return false;
    memcpy(memo + written_, first, firstLength);
    memcpy(memo + written_ + firstLength, second, secondLength);
    written_ += firstLength + secondLength;
    CloseBlock(memo);
    return true;
  }

  char* Forget() {
    size_ = *memo_ != nullptr ? blockSize_ : 0;
    used_ = written_;
    return nullptr;
  }

  // Releases every piece of scratch memory but the first, which the caller
  // owns.
  void ReleaseChunks() {
    if (first_ == nullptr) return;
    for (Chunk* chunk = first_->next; chunk != nullptr;) {
      Chunk* next = chunk->next;
      free(chunk);
      chunk = next;
    }
    first_->next = nullptr;
  }

  HLOCAL* memo_;
  Chunk* first_ = nullptr;  // the scratch memory, or none
  Chunk* last_ = nullptr;   // the piece appends go to
  size_t size_ = 0;         // the block's size by the growth rule, gathered bytes included
  size_t used_ = 0;         // the memo's length, gathered bytes included
  size_t blockSize_ = 0;    // the block's size as it is
  size_t written_ = 0;      // the memo's length in the block
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
  // The line buffer, and behind it the first piece of the scratch memory
  // that gathers the memo's bytes.
  void* buffers = malloc(kLineBufferSize + kGatherSize);
  if (buffers == nullptr) return;
  char(&line)[kLineBufferSize] = *static_cast<char(*)[kLineBufferSize]>(buffers);
  {
    MemoWriter memo(memoText, static_cast<char*>(buffers) + kLineBufferSize, kGatherSize);
    const int headingLength =
        wsprintfA(line, texts::kHeadingFormat, date.year, date.month, date.day);
    if (memo.Append(line, static_cast<size_t>(headingLength)) && memo.Flush()) {
      size_t position = 0;
      size_t entries = 0;
      char name[kFileNameBufferSize];
      while (NextFileName(&position, name, fileList, listLength)) {
        entries += AppendEntriesOf(name, date, line, memo);
      }
      // "None" only when no entry applied: a memo that lost entries for want
      // of memory must not claim there were none.
      if (entries == 0) memo.AppendLine(texts::kNone, sizeof texts::kNone - 1);
      memo.Flush();
    }
    *memoLength = memo.length();
  }  // the writer lets go of its scratch memory before the buffers go
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
