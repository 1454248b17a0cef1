// The file picker: while the user edits a chip's text, the system's open-file
// dialog picks an agenda file and its full path is appended to the text.
// The dialog header needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on
#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include "host/vorlinde.h"
#include "resources/texts.h"

namespace {

// The structure without the fields later Windows versions added, which the
// host's systems know: it ends with lpTemplateName. Its size differs with the
// pointer width (64-bit systems refuse the 32-bit size).
const DWORD kOpenFileNameSize = OPENFILENAME_SIZE_VERSION_400A;
static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the 32-bit structure is 76 bytes");

// One filter: the label, its pattern, and the empty string closing the list.
static_assert(sizeof texts::kAgendaFilter == 23 &&
                  texts::kAgendaFilter[sizeof texts::kAgendaFilter - 2] == '\0',
              "the filter list ends with two NULs");

// Keeps the process's current directory from construction and puts it back
// on destruction: the open-file dialog moves it while the user browses, and
// relative agenda names must keep resolving as before. When it cannot be
// read there is nothing to put back.
class SavedCurrentDirectory {
 public:
  SavedCurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);  // counts the NUL
    if (needed == 0) return;
    const DWORD size = needed + 1;
    path_ = static_cast<char*>(malloc(size));
    if (path_ == nullptr) return;
    const DWORD length = GetCurrentDirectoryA(size, path_);
    if (length == 0 || length >= size) {  // failed, or the directory changed meanwhile
      free(path_);
      path_ = nullptr;
    }
  }
  ~SavedCurrentDirectory() {
    if (path_ == nullptr) return;
    SetCurrentDirectoryA(path_);
    free(path_);
  }
  SavedCurrentDirectory(const SavedCurrentDirectory&) = delete;
  SavedCurrentDirectory& operator=(const SavedCurrentDirectory&) = delete;

 private:
  char* path_ = nullptr;
};

// Shows the open-file dialog; true when a file was picked into `path`.
bool PickAgendaFile(HWND owner, char (&path)[MAX_PATH]) {
  path[0] = '\0';
  OPENFILENAMEA dialog;
  memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = kOpenFileNameSize;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = texts::kAgendaFilter;
  dialog.nFilterIndex = 0;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  dialog.lpstrDefExt = texts::kAgendaExtension;
  return GetOpenFileNameA(&dialog) != FALSE;
}

void SetPositions(EditRequest* request, size_t length) {
  request->firstPosition = static_cast<int32_t>(length);
  request->secondPosition = static_cast<int32_t>(length);
}

// Gives a request without a text a new block holding just `path`.
bool StoreInNewBlock(EditRequest* request, const char* path, size_t pathLength) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, pathLength + 1);
  if (block == nullptr) return false;
  char* text = static_cast<char*>(GlobalLock(block));
  if (text == nullptr) {
    GlobalFree(block);
    return false;
  }
  memcpy(text, path, pathLength + 1);
  GlobalUnlock(block);
  request->text = block;  // the host's from now on
  SetPositions(request, pathLength);
  return true;
}

// Appends `path` to the request's text. The text is read no further than its
// block: one without a NUL inside the block ends at the block's end, and then
// the block grows by one more byte so that the NUL fits after the path. On
// failure the text stays as it was.
bool AppendToBlock(EditRequest* request, const char* path, size_t pathLength) {
  const SIZE_T size = GlobalSize(request->text);
  const char* old = static_cast<const char*>(GlobalLock(request->text));
  if (old == nullptr) return false;
  const size_t length = strnlen(old, size);
  GlobalUnlock(request->text);

  const SIZE_T grown = size + pathLength + (length == size ? 1 : 0);
  HGLOBAL block = GlobalReAlloc(request->text, grown, GMEM_MOVEABLE);
  if (block == nullptr) return false;
  // The same handle for a movable block; a new one for any other kind, whose
  // old handle is no longer valid.
  request->text = block;
  char* text = static_cast<char*>(GlobalLock(block));
  if (text == nullptr) return false;
  memcpy(text + length, path, pathLength + 1);
  GlobalUnlock(block);
  SetPositions(request, length + pathLength);
  return true;
}

}  // namespace

extern "C" int EditHelper(HWND owner, EditRequest* request) {
  if (request == nullptr) return kNothingPicked;
  char path[MAX_PATH];
  {
    const SavedCurrentDirectory savedDirectory;
    if (!PickAgendaFile(owner, path)) return kNothingPicked;
  }
  const size_t pathLength = strnlen(path, sizeof path);
  if (pathLength == sizeof path) return kNothingPicked;  // the dialog left no NUL
  const bool appended = request->text == nullptr ? StoreInNewBlock(request, path, pathLength)
                                                 : AppendToBlock(request, path, pathLength);
  return appended ? kPicked : kNothingPicked;
}
