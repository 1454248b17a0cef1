// The dialog driver over the stand-in: arming scripts what the user does,
// and Finish() reads the stand-in's call records to see that each window the
// test waited for was opened and closed.
#include <standin.h>
#include <stdio.h>

#include <vector>

#include "tests/ui_driver.h"

namespace ui_driver {

namespace {

enum class Kind { Dialog, MessageBox, OpenFile };

struct Armed {
  Kind kind;
  WindowSeen* seen;
};

struct Driver {
  std::vector<Armed> armed;
  // The stand-in's records before the first armed window.
  size_t dialogsBefore = 0;
  size_t messageBoxesBefore = 0;
  size_t openFilesBefore = 0;
};

Driver& TheDriver() {
  static Driver driver;
  return driver;
}

void Arm(Kind kind, WindowSeen* seen) {
  Driver& driver = TheDriver();
  if (driver.armed.empty()) {
    driver.dialogsBefore = standin::DialogCalls().size();
    driver.messageBoxesBefore = standin::MessageBoxCalls().size();
    driver.openFilesBefore = standin::OpenFileCalls().size();
  }
  driver.armed.push_back(Armed{kind, seen});
}

const char* Name(Kind kind) {
  switch (kind) {
    case Kind::Dialog:
      return "dialog";
    case Kind::MessageBox:
      return "message box";
    case Kind::OpenFile:
      return "open-file dialog";
  }
  return "window";
}

}  // namespace

void CloseNextDialog(CloseWay way, WindowSeen* seen) {
  // What the dialog procedure gets: the Enter key presses the default button,
  // OK; the Esc key and the close box both arrive as IDCANCEL.
  const WPARAM command = way == CloseWay::OkButton || way == CloseWay::EnterKey ? IDOK : IDCANCEL;
  standin::ScriptDialogCommands({command});
  Arm(Kind::Dialog, seen);
}

// The stand-in's message boxes are always answered with OK.
void AcceptNextMessageBox(WindowSeen* seen) { Arm(Kind::MessageBox, seen); }

void PickInNextOpenFileDialog(const std::string& path, WindowSeen* seen) {
  standin::ScriptOpenFilePick(path);
  Arm(Kind::OpenFile, seen);
}

void CancelNextOpenFileDialog(WindowSeen* seen) {
  standin::ScriptOpenFileCancel();
  Arm(Kind::OpenFile, seen);
}

bool Finish() {
  Driver& driver = TheDriver();
  if (driver.armed.empty()) return true;
  const std::vector<standin::DialogCall> dialogs = standin::DialogCalls();
  const size_t messageBoxes = standin::MessageBoxCalls().size();
  const size_t openFiles = standin::OpenFileCalls().size();
  const standin::UnusedScripts unused = standin::ClearScripts();

  size_t armedDialogs = 0, armedOpenFiles = 0;
  for (const Armed& armed : driver.armed) {
    armedDialogs += armed.kind == Kind::Dialog;
    armedOpenFiles += armed.kind == Kind::OpenFile;
  }
  // Scripts are used first come, first served: those left over belong to the
  // last windows armed.
  const auto run = [](size_t armed, int unusedScripts) {
    const size_t unused = static_cast<size_t>(unusedScripts);
    return armed > unused ? armed - unused : 0;
  };
  const size_t dialogsRun = run(armedDialogs, unused.dialogCommands);
  const size_t openFilesRun = run(armedOpenFiles, unused.openFileAnswers);

  bool ok = true;
  size_t dialogIndex = 0, messageBoxIndex = 0, openFileIndex = 0;
  for (const Armed& armed : driver.armed) {
    bool appeared = false, closed = false;
    switch (armed.kind) {
      case Kind::Dialog: {
        const size_t index = dialogIndex++;
        const size_t call = driver.dialogsBefore + index;
        appeared = index < dialogsRun && call < dialogs.size();
        closed = appeared && dialogs[call].ended;
        break;
      }
      case Kind::MessageBox: {
        const size_t index = messageBoxIndex++;
        appeared = closed = driver.messageBoxesBefore + index < messageBoxes;
        break;
      }
      case Kind::OpenFile: {
        const size_t index = openFileIndex++;
        appeared = closed = index < openFilesRun && driver.openFilesBefore + index < openFiles;
        break;
      }
    }
    if (armed.seen != nullptr) armed.seen->appeared = appeared;
    if (!appeared) {
      fprintf(stderr, "ui_driver: the %s waited for never appeared\n", Name(armed.kind));
    } else if (!closed) {
      fprintf(stderr, "ui_driver: the %s did not close as asked\n", Name(armed.kind));
    }
    ok = ok && appeared && closed;
  }
  driver.armed.clear();
  return ok;
}

void ScreenshotNextDialog(const std::string& /*path*/) {}

void SetWatchdogMilliseconds(int /*milliseconds*/) {}

}  // namespace ui_driver
