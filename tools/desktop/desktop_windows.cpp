#include <string.h>
#include <windows.h>

#include "tools/desktop/desktop.h"
#include "tools/encodings/encodings.h"

bool CanShowDialogs() { return true; }

bool PutOnClipboard(const std::string& utf8) {
  const std::wstring wide = Utf8ToWide(utf8);
  if (!OpenClipboard(nullptr)) return false;
  bool put = false;
  // The text with its terminating NUL, as the clipboard keeps it.
  const size_t units = wide.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, units * sizeof(wchar_t));
  if (block != nullptr && EmptyClipboard()) {
    if (wchar_t* text = static_cast<wchar_t*>(GlobalLock(block))) {
      memcpy(text, wide.c_str(), units * sizeof(wchar_t));
      GlobalUnlock(block);
      // Once put, the block is the clipboard's.
      put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    }
  }
  if (!put && block != nullptr) GlobalFree(block);
  CloseClipboard();
  return put;
}
