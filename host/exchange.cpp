// The send-text exchange: the host hands over a chip's text in a movable
// global block and gets today's memo back in the same variable.
#include <string.h>

#include "host/chip.h"
#include "host/locked_local.h"
#include "host/vorlinde.h"

namespace {

// Composes today's memo from the file list in `block` into `*memo`. The text
// is read no further than the block: one without a NUL inside its size ends
// at the block's end. Returns false, composing nothing, when the block cannot
// be locked or the clock cannot be converted to a date.
bool ComposeTodaysMemo(HGLOBAL block, HLOCAL* memo, int32_t* length) {
  const char* fileList = static_cast<const char*>(GlobalLock(block));
  if (fileList == nullptr) return false;
  const size_t listLength = strnlen(fileList, GlobalSize(block));
  AgendaDate today;
  const bool composed = ComposeMemoOfDay(fileList, listLength, 0, memo, length, &today);
  GlobalUnlock(block);
  return composed;
}

// Resizes the host's block to `size` bytes, storing the handle the resize
// returns: a movable block keeps its handle, any other kind may come back as
// a new one, and the old handle is then no longer valid. False, leaving the
// variable and its block as they were, when the block cannot be resized.
bool ResizeHostBlock(HGLOBAL* text, SIZE_T size) {
  HGLOBAL resized = GlobalReAlloc(*text, size, GMEM_MOVEABLE | GMEM_NOCOMPACT);
  if (resized == nullptr) return false;
  *text = resized;
  return true;
}

// Replaces the text of the host's block with `memo` (`length` bytes and its
// NUL). Whatever fails, the host is left with a whole text: a block that must
// grow is grown before it is written, so that should it then not lock it
// still holds its old text, NUL and all; a block that must shrink is written
// first and shrunk after, so that it is never cut before it holds the memo.
// False when the block still holds its old text.
bool WriteMemoBack(HGLOBAL* text, HLOCAL memo, int32_t length) {
  const SIZE_T size = static_cast<SIZE_T>(length) + 1;
  LockedLocal<const char> memoBytes(memo);
  if (!memoBytes) return false;
  if (GlobalSize(*text) < size && !ResizeHostBlock(text, size)) return false;
  char* bytes = static_cast<char*>(GlobalLock(*text));
  if (bytes == nullptr) return false;
  memcpy(bytes, memoBytes.get(), size);
  GlobalUnlock(*text);
  // A block that cannot shrink still holds the whole memo.
  if (GlobalSize(*text) > size) ResizeHostBlock(text, size);
  return true;
}

}  // namespace

extern "C" int ExchangeSendString(HGLOBAL* text) {
  if (text == nullptr || *text == nullptr) return 0;
  HLOCAL memo = nullptr;  // the scratch memo, released before returning
  int32_t length = 0;
  // Without a composition (a block that cannot be locked, a clock that
  // cannot be converted) the host's text stays as it is.
  if (!ComposeTodaysMemo(*text, &memo, &length)) return 0;
  if (memo == nullptr) return length;  // 0: no memory for even the error text
  const bool written = WriteMemoBack(text, memo, length);
  LocalFree(memo);
  return written ? length : 0;
}
