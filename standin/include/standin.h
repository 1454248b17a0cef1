// Test control of the Win32 stand-in: what the native build's tests use to
// look inside the heap, to inject failures and to script what the user does
// in dialogs. Only the native build has it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

// Heap --------------------------------------------------------------------

// Blocks allocated and not yet freed, local and global together.
int LiveBlocks();
// Faults seen so far: freeing a locked or unknown handle, unlocking a block
// that is not locked, locking an unknown handle. Each is also printed.
int FaultCount();
std::vector<std::string> Faults();
void ClearFaults();
// Lock count of a block, or -1 for an unknown handle.
int LockCount(HANDLE mem);
// The next `skip` allocations and resizes succeed, the `count` after them fail.
void FailHeapCalls(int skip, int count);
// Allocations and resizes to more than `largest` bytes fail (0: no limit).
void LimitBlockSize(size_t largest);
// Bytes copied so far by resizes that moved a growing block to new memory,
// as a real heap moves large blocks: the cost a caller pays for resizing.
size_t BytesMovedByResizes();
// The same for locks of movable blocks, local and global, which then answer
// NULL.
void FailLockCalls(int skip, int count);

// Dialogs -----------------------------------------------------------------

// One call of DialogBoxParamA as the module made it.
struct DialogCall {
  HINSTANCE instance;
  uintptr_t templateId;  // the integer resource id
  HWND parent;
  LPARAM initParam;
  INT_PTR result;   // what DialogBoxParamA returned
  bool initResult;  // what the procedure answered WM_INITDIALOG (nonzero = true)
  bool ended;       // whether the procedure called EndDialog
};
// Messages delivered to the dialog procedure after WM_INITDIALOG, one
// WM_COMMAND wParam each, until it calls EndDialog. A dialog that never
// ends makes DialogBoxParamA return -1 and counts as a fault.
void ScriptDialogCommands(const std::vector<WPARAM>& commands);
std::vector<DialogCall> DialogCalls();

struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
std::vector<MessageBoxCall> MessageBoxCalls();

// The open-file dialog's settings as the module passed them.
struct OpenFileCall {
  DWORD structSize;
  HWND owner;
  std::string filter;  // every byte up to and including the closing double NUL
  DWORD filterIndex;
  DWORD maxFile;
  std::string initialFile;
  DWORD flags;
  std::string defaultExtension;  // empty when none was given
  bool defaultExtensionGiven;
  bool othersZero;  // every other field zero or null
};
// What the user does in the next open-file dialog: pick `path` (copied into
// the name buffer if it fits, else the dialog fails) after moving the current
// directory to `browseTo` when it is not empty, or cancel.
void ScriptOpenFilePick(const std::string& path, const std::string& browseTo = "");
void ScriptOpenFileCancel(const std::string& browseTo = "");
std::vector<OpenFileCall> OpenFileCalls();

// Forget every recorded call and script; keeps heap blocks.
void ResetRecords();
// Drops the scripts no dialog has used and says how many of each kind there
// were; keeps the records. Scripts are used in the order they were given.
struct UnusedScripts {
  int dialogCommands;
  int openFileAnswers;
};
UnusedScripts ClearScripts();

}  // namespace standin
