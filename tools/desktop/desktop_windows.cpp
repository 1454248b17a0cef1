#include <windows.h>

#include "tools/desktop/desktop.h"

bool CanShowDialogs() { return true; }

bool PutOnClipboard(const std::string& utf8) {
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  if (units <= 0 || !OpenClipboard(nullptr)) return false;
  bool put = false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(units) * sizeof(wchar_t));
  if (block != nullptr && EmptyClipboard()) {
    if (wchar_t* text = static_cast<wchar_t*>(GlobalLock(block))) {
      MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text, units);
      GlobalUnlock(block);
      // Once put, the block is the clipboard's.
      put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    }
  }
  if (!put && block != nullptr) GlobalFree(block);
  CloseClipboard();
  return put;
}
