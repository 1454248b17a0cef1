// Dialogs, message boxes and the open-file dialog: every call is recorded, and
// what the user does is played from scripts the tests set up beforehand.
#include <commdlg.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <mutex>

#include "internal.h"
#include "standin.h"

using standin::detail::Fault;

namespace {

constexpr uintptr_t kDialogBase = 0x57000009;

struct OpenFileScript {
  bool pick;
  std::string path;
  std::string browseTo;
};

struct ActiveDialog {
  HWND hwnd;
  bool ended;
  INT_PTR result;
};

// The lock is never held while a dialog procedure runs: it may open a message
// box or another dialog.
struct Dialogs {
  std::mutex mutex;
  uintptr_t tokens = 0;
  std::deque<WPARAM> commands;
  std::deque<OpenFileScript> openFileScripts;
  std::vector<ActiveDialog> active;  // innermost last
  std::vector<standin::DialogCall> dialogCalls;
  std::vector<standin::MessageBoxCall> messageBoxCalls;
  std::vector<standin::OpenFileCall> openFileCalls;
};

Dialogs& TheDialogs() {
  static Dialogs* dialogs = new Dialogs;
  return *dialogs;
}

ActiveDialog* FindActive(Dialogs& d, HWND hwnd) {
  for (ActiveDialog& a : d.active)
    if (a.hwnd == hwnd) return &a;
  return nullptr;
}

// The filter is a list of NUL-terminated strings closed by an empty one.
std::string FilterBytes(LPCSTR filter) {
  if (!filter) return std::string();
  size_t n = 0;
  while (filter[n] || filter[n + 1]) ++n;
  return std::string(filter, n + 2);
}

standin::OpenFileCall Record(const OPENFILENAMEA& ofn) {
  standin::OpenFileCall call;
  call.structSize = ofn.lStructSize;
  call.owner = ofn.hwndOwner;
  call.filter = FilterBytes(ofn.lpstrFilter);
  call.filterIndex = ofn.nFilterIndex;
  call.maxFile = ofn.nMaxFile;
  call.initialFile = ofn.lpstrFile
                         ? std::string(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile))
                         : std::string();
  call.flags = ofn.Flags;
  call.defaultExtensionGiven = ofn.lpstrDefExt != nullptr;
  call.defaultExtension = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
  call.othersZero = !ofn.hInstance && !ofn.lpstrCustomFilter && !ofn.nMaxCustFilter &&
                    !ofn.lpstrFileTitle && !ofn.nMaxFileTitle && !ofn.lpstrInitialDir &&
                    !ofn.lpstrTitle && !ofn.nFileOffset && !ofn.nFileExtension && !ofn.lCustData &&
                    !ofn.lpfnHook && !ofn.lpTemplateName;
  return call;
}

// Offsets of the file name and of its extension within `path`: the extension
// offset is that of the terminating NUL when there is none, and 0 when the
// name ends in a dot.
void SetOffsets(OPENFILENAMEA& ofn, const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  size_t name = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = path.find_last_of('.');
  size_t extension = path.size();
  if (dot != std::string::npos && dot >= name) extension = dot + 1 == path.size() ? 0 : dot + 1;
  ofn.nFileOffset = static_cast<WORD>(name);
  ofn.nFileExtension = static_cast<WORD>(extension);
}

}  // namespace

extern "C" {

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent,
                               DLGPROC dialogProc, LPARAM initParam) {
  Dialogs& d = TheDialogs();
  HWND hwnd;
  size_t index;
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    hwnd = reinterpret_cast<HWND>(standin::detail::NextToken(kDialogBase, d.tokens));
    index = d.dialogCalls.size();
    d.dialogCalls.push_back(
        standin::DialogCall{instance, LOWORD(templateName), parent, initParam, -1, false, false});
    d.active.push_back(ActiveDialog{hwnd, false, -1});
  }
  INT_PTR init = dialogProc ? dialogProc(hwnd, WM_INITDIALOG, 0, initParam) : 0;
  std::unique_lock<std::mutex> lock(d.mutex);
  if (index < d.dialogCalls.size()) d.dialogCalls[index].initResult = init != 0;
  while (dialogProc && !FindActive(d, hwnd)->ended && !d.commands.empty()) {
    WPARAM command = d.commands.front();
    d.commands.pop_front();
    lock.unlock();
    dialogProc(hwnd, WM_COMMAND, command, 0);
    lock.lock();
  }
  ActiveDialog* a = FindActive(d, hwnd);
  INT_PTR result = a->ended ? a->result : -1;
  bool ended = a->ended;
  d.active.erase(d.active.begin() + (a - d.active.data()));
  if (!ended)
    Fault("DialogBoxParamA", "dialog " + std::to_string(LOWORD(templateName)) +
                                 " did not call EndDialog before the script ran out");
  if (index < d.dialogCalls.size()) {  // unless the records were reset meanwhile
    d.dialogCalls[index].ended = ended;
    d.dialogCalls[index].result = result;
  }
  return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  Dialogs& d = TheDialogs();
  std::lock_guard<std::mutex> lock(d.mutex);
  ActiveDialog* a = FindActive(d, dialog);
  if (!a) return FALSE;
  a->ended = true;
  a->result = result;
  return TRUE;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Dialogs& d = TheDialogs();
  std::lock_guard<std::mutex> lock(d.mutex);
  d.messageBoxCalls.push_back(
      standin::MessageBoxCall{owner, text ? text : "", caption ? caption : "", type});
  return IDOK;
}

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) {
  if (!ofn) return FALSE;
  Dialogs& d = TheDialogs();
  std::unique_lock<std::mutex> lock(d.mutex);
  d.openFileCalls.push_back(Record(*ofn));
  // A size the real dialog does not know makes it fail without showing.
  if (ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A &&
      ofn->lStructSize != sizeof(OPENFILENAMEA))
    return FALSE;
  if (d.openFileScripts.empty()) {
    Fault("GetOpenFileNameA", "no scripted answer for the open-file dialog");
    return FALSE;
  }
  OpenFileScript script = d.openFileScripts.front();
  d.openFileScripts.pop_front();
  lock.unlock();
  // The real dialog moves the current directory while the user browses.
  if (!script.browseTo.empty() && chdir(script.browseTo.c_str()) != 0)
    Fault("GetOpenFileNameA", "cannot browse to " + script.browseTo);
  if (!script.pick || !ofn->lpstrFile || script.path.size() + 1 > ofn->nMaxFile) return FALSE;
  std::memcpy(ofn->lpstrFile, script.path.c_str(), script.path.size() + 1);
  SetOffsets(*ofn, script.path);
  return TRUE;
}

}  // extern "C"

namespace standin {

void ScriptDialogCommands(const std::vector<WPARAM>& commands) {
  std::lock_guard<std::mutex> lock(TheDialogs().mutex);
  TheDialogs().commands.insert(TheDialogs().commands.end(), commands.begin(), commands.end());
}

std::vector<DialogCall> DialogCalls() {
  std::lock_guard<std::mutex> lock(TheDialogs().mutex);
  return TheDialogs().dialogCalls;
}

std::vector<MessageBoxCall> MessageBoxCalls() {
  std::lock_guard<std::mutex> lock(TheDialogs().mutex);
  return TheDialogs().messageBoxCalls;
}

void ScriptOpenFilePick(const std::string& path, const std::string& browseTo) {
  std::lock_guard<std::mutex> lock(TheDialogs().mutex);
  TheDialogs().openFileScripts.push_back(OpenFileScript{true, path, browseTo});
}

void ScriptOpenFileCancel(const std::string& browseTo) {
  std::lock_guard<std::mutex> lock(TheDialogs().mutex);
  TheDialogs().openFileScripts.push_back(OpenFileScript{false, "", browseTo});
}

std::vector<OpenFileCall> OpenFileCalls() {
  std::lock_guard<std::mutex> lock(TheDialogs().mutex);
  return TheDialogs().openFileCalls;
}

void ResetRecords() {
  Dialogs& d = TheDialogs();
  std::lock_guard<std::mutex> lock(d.mutex);
  d.commands.clear();
  d.openFileScripts.clear();
  d.dialogCalls.clear();
  d.messageBoxCalls.clear();
  d.openFileCalls.clear();
}

UnusedScripts ClearScripts() {
  Dialogs& d = TheDialogs();
  std::lock_guard<std::mutex> lock(d.mutex);
  const UnusedScripts unused{static_cast<int>(d.commands.size()),
                             static_cast<int>(d.openFileScripts.size())};
  d.commands.clear();
  d.openFileScripts.clear();
  return unused;
}

}  // namespace standin
