// Host-side text blocks for the host-level tests: movable (or fixed) global
// blocks as the memo application hands them to the module.
#pragma once

#include <string.h>
#include <windows.h>

#include <string>

namespace testing_support {

// A global block of the given kind holding `bytes`, followed by a NUL unless
// `withNul` is false (then the block is exactly as long as the text). Null
// when the block cannot be had.
inline HGLOBAL NewGlobalText(const std::string& bytes, UINT flags = GMEM_MOVEABLE,
                             bool withNul = true) {
  HGLOBAL block = GlobalAlloc(flags, bytes.size() + (withNul ? 1 : 0));
  if (block == nullptr) return nullptr;
  char* data = static_cast<char*>(GlobalLock(block));
  if (data == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  memcpy(data, bytes.data(), bytes.size());
  if (withNul) data[bytes.size()] = '\0';
  GlobalUnlock(block);
  return block;
}

// A global block's text, read no further than the block.
inline std::string GlobalText(HGLOBAL block) {
  const char* data = block != nullptr ? static_cast<const char*>(GlobalLock(block)) : nullptr;
  if (data == nullptr) return "(unlockable)";
  std::string text(data, strnlen(data, GlobalSize(block)));
  GlobalUnlock(block);
  return text;
}

}  // namespace testing_support
