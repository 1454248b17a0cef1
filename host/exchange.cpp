// The send-text exchange: the host hands over a chip's text in a movable
// global block and gets today's memo back in the same variable.
#include <string.h>

#include "host/chip_state.h"
#include "host/clock.h"
#include "host/vorlinde.h"

namespace {

// Composes today's memo from the file list in `block` into `*memo`. The text
// is read no further than the block: one without a NUL inside its size ends
// at the block's end. Returns false, composing nothing, when the block cannot
// be locked.
bool ComposeTodaysMemo(HGLOBAL block, HLOCAL* memo, int32_t* length) {
  const char* fileList = static_cast<const char*>(GlobalLock(block));
  if (fileList == nullptr) return false;
  const size_t listLength = strnlen(fileList, GlobalSize(block));
  *length = ComposeMemo(fileList, listLength, LocalDate(0), memo);
  GlobalUnlock(block);
  return true;
}

// Replaces the text of the host's block with `memo` (`length` bytes and its
// NUL), storing the handle the resize returns. Returns false, leaving the
// host's variable and its block as they were, when the block cannot be
// resized.
bool WriteMemoBack(HGLOBAL* text, HLOCAL memo, int32_t length) {
  const size_t size = static_cast<size_t>(length) + 1;
  LockedLocal<const char> memoBytes(memo);
  if (!memoBytes) return false;
  HGLOBAL resized = GlobalReAlloc(*text, size, GMEM_MOVEABLE | GMEM_NOCOMPACT);
  if (resized == nullptr) return false;
  // A movable block keeps its handle; any other kind may come back as a new
  // one, and the old handle is then no longer valid.
  *text = resized;
  char* bytes = static_cast<char*>(GlobalLock(resized));
  if (bytes == nullptr) return false;
  memcpy(bytes, memoBytes.get(), size);
  GlobalUnlock(resized);
  return true;
}

}  // namespace

extern "C" int ExchangeSendString(HGLOBAL* text) {
  if (text == nullptr || *text == nullptr) return 0;
  HLOCAL memo = nullptr;  // the scratch memo, released before returning
  int32_t length = 0;
  if (!ComposeTodaysMemo(*text, &memo, &length)) return 0;
  if (memo == nullptr) return length;  // 0: no memory for even the error text
  const bool written = WriteMemoBack(text, memo, length);
  LocalFree(memo);
  return written ? length : 0;
}
