// The dialog driver under Windows (wine64). A WH_CBT hook on the test's
// thread sees each modal window of the thread as it is activated and records
// it; a thread timer, which fires inside the window's own message loop once
// the window is up, then acts on it with posted clicks and keys, as a user's
// input would arrive. A second timer is the watchdog: a window still open
// some time after it was acted on is closed and reported. Any dialog that
// comes while nothing is armed fails the running test and is cancelled.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>
#include <stdio.h>

#include <deque>
#include <string>

#include "tests/test_support.h"
#include "tests/ui_driver.h"

namespace ui_driver {

namespace {

using testing_support::Escaped;

// The file-name box of the Explorer-style open-file dialog (cmb13).
constexpr int kFileNameBox = 0x47C;
constexpr int kDefaultWatchdogMilliseconds = 10000;
// How often, and how far apart, a screenshot is taken again while the window
// is not on the screen yet.
constexpr int kScreenshotTries = 40;
constexpr UINT kScreenshotRetryMilliseconds = 25;

enum class Kind { Dialog, MessageBox, OpenFilePick, OpenFileCancel, Unexpected };

struct Armed {
  Kind kind;
  CloseWay way;
  std::string path;
  WindowSeen* seen;
};

// A window the driver met, from its activation until Finish().
struct Driven {
  HWND window;
  Armed armed;
  std::string caption;
  std::string screenshot;  // where to save a picture before acting, or empty
  UINT_PTR actTimer;
  UINT_PTR watchdogTimer;
  bool acted;
  bool closed;
  int screenshotTries;
};

struct Driver {
  HHOOK hook = nullptr;
  std::deque<Armed> waiting;
  std::deque<Driven> driven;  // a deque: references stay valid as it grows
  std::vector<std::string> problems;
  std::string screenshot;
  int watchdogMilliseconds = kDefaultWatchdogMilliseconds;
};

Driver& TheDriver() {
  static Driver driver;
  return driver;
}

bool IsOpenFile(Kind kind) { return kind == Kind::OpenFilePick || kind == Kind::OpenFileCancel; }

const char* Name(Kind kind) {
  switch (kind) {
    case Kind::Dialog:
      return "dialog";
    case Kind::MessageBox:
      return "message box";
    case Kind::OpenFilePick:
    case Kind::OpenFileCancel:
      return "open-file dialog";
    case Kind::Unexpected:
      break;
  }
  return "unexpected window";
}

std::string ClassName(HWND window) {
  char name[256];
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

WindowSeen Describe(HWND window) {
  WindowSeen seen;
  seen.appeared = true;
  seen.caption = WindowText(window);
  seen.className = ClassName(window);
  seen.style = static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE));
  seen.exStyle = static_cast<uint32_t>(GetWindowLongA(window, GWL_EXSTYLE));
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    seen.controls.push_back(ControlSeen{GetDlgCtrlID(child), ClassName(child), WindowText(child),
                                        static_cast<uint32_t>(GetWindowLongA(child, GWL_STYLE)),
                                        static_cast<uint32_t>(GetWindowLongA(child, GWL_EXSTYLE))});
  }
  return seen;
}

// A window armed for is reported by Finish(); one nobody waited for fails the
// running test at once.
void Problem(const Driven& driven, const std::string& what) {
  const std::string problem =
      std::string(Name(driven.armed.kind)) + " \"" + Escaped(driven.caption) + "\": " + what;
  if (driven.armed.kind == Kind::Unexpected) {
    ADD_FAILURE() << "ui_driver: " << problem;
  } else {
    TheDriver().problems.push_back(problem);
  }
}

Driven* FindByTimer(UINT_PTR timer) {
  for (Driven& driven : TheDriver().driven)
    if (timer != 0 && (driven.actTimer == timer || driven.watchdogTimer == timer)) return &driven;
  return nullptr;
}

void StopTimers(Driven& driven) {
  if (driven.actTimer != 0) KillTimer(nullptr, driven.actTimer);
  if (driven.watchdogTimer != 0) KillTimer(nullptr, driven.watchdogTimer);
  driven.actTimer = driven.watchdogTimer = 0;
}

// The window's picture as it is on screen, frame included, as a bottom-up
// 24-bit BMP file. `*blank` says whether the picture is of one colour only:
// the window is not on the screen yet.
bool SaveScreenshot(HWND window, const std::string& path, bool* blank) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  info.bmiHeader.biSizeImage = stride * static_cast<DWORD>(height);

  HDC windowDc = GetWindowDC(window);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool saved = false;
  if (memoryDc != nullptr && bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    const BOOL copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const unsigned char* pixels = static_cast<const unsigned char*>(bits);
    *blank = true;
    for (DWORD row = 0; row < static_cast<DWORD>(height) && *blank; ++row) {
      for (DWORD at = 0; at < static_cast<DWORD>(width) * 3; ++at) {
        if (pixels[row * stride + at] != pixels[at % 3]) {
          *blank = false;
          break;
        }
      }
    }
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + info.bmiHeader.biSizeImage;
    FILE* out = copied ? fopen(path.c_str(), "wb") : nullptr;
    if (out != nullptr) {
      saved = fwrite(&file, sizeof file, 1, out) == 1 &&
              fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
              fwrite(bits, info.bmiHeader.biSizeImage, 1, out) == 1;
      saved = fclose(out) == 0 && saved;
    }
    SelectObject(memoryDc, previous);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memoryDc != nullptr) DeleteDC(memoryDc);
  ReleaseDC(window, windowDc);
  return saved;
}

// A key pressed and released where the keyboard's focus is, so that the
// dialog's own message loop (IsDialogMessage) handles it.
void PressKey(HWND dialog, WPARAM key) {
  HWND focus = GetFocus();
  if (focus == nullptr || (focus != dialog && !IsChild(dialog, focus))) focus = dialog;
  const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), 0)) << 16;
  PostMessageA(focus, WM_KEYDOWN, key, scanCode | 1);
  PostMessageA(focus, WM_KEYUP, key, scanCode | 1 | (LPARAM{3} << 30));
}

void PressButton(Driven& driven, int id) {
  HWND button = GetDlgItem(driven.window, id);
  if (button == nullptr) {
    Problem(driven, "has no button " + std::to_string(id) + " to press");
    EndDialog(driven.window, IDCANCEL);
    return;
  }
  PostMessageA(button, BM_CLICK, 0, 0);
}

void Act(Driven& driven) {
  HWND window = driven.window;
  const Armed& armed = driven.armed;
  switch (armed.kind) {
    case Kind::Dialog:
      switch (armed.way) {
        case CloseWay::OkButton:
          PressButton(driven, IDOK);
          break;
        case CloseWay::EnterKey:
          PressKey(window, VK_RETURN);
          break;
        case CloseWay::EscapeKey:
          PressKey(window, VK_ESCAPE);
          break;
        case CloseWay::CloseBox:
          if (!(GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU))
            Problem(driven, "has no close box");
          PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
          break;
      }
      break;
    case Kind::MessageBox:
      PressButton(driven, IDOK);
      break;
    case Kind::OpenFilePick:
      SetDlgItemTextA(window, kFileNameBox, armed.path.c_str());
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
      break;
    case Kind::OpenFileCancel:
    case Kind::Unexpected:
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
      break;
  }
}

void CALLBACK WatchdogTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  Driven* driven = FindByTimer(timer);
  if (driven == nullptr) return;
  driven->watchdogTimer = 0;
  if (driven->closed) return;
  Problem(*driven, "still open " + std::to_string(TheDriver().watchdogMilliseconds) +
                       " ms after the driver acted; closed by the watchdog");
  EndDialog(driven->window, IDCANCEL);
}

void CALLBACK ActTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  Driven* driven = FindByTimer(timer);
  if (driven == nullptr) return;
  driven->actTimer = 0;
  if (driven->closed) return;
  if (!driven->screenshot.empty()) {
    bool blank = false;
    if (!SaveScreenshot(driven->window, driven->screenshot, &blank)) {
      Problem(*driven, "no screenshot could be saved at " + driven->screenshot);
    } else if (blank && ++driven->screenshotTries < kScreenshotTries) {
      // Not on the screen yet: the window's own loop shows it, then the
      // picture is taken again.
      driven->actTimer = SetTimer(nullptr, 0, kScreenshotRetryMilliseconds, ActTimer);
      return;
    }
  }
  driven->acted = true;
  driven->watchdogTimer =
      SetTimer(nullptr, 0, static_cast<UINT>(TheDriver().watchdogMilliseconds), WatchdogTimer);
  Act(*driven);
}

void Activated(HWND window) {
  if (ClassName(window) != "#32770") return;
  Driver& driver = TheDriver();
  for (const Driven& driven : driver.driven)
    if (driven.window == window && !driven.closed) return;  // active again
  const bool isOpenFile = GetDlgItem(window, kFileNameBox) != nullptr;
  Armed armed{Kind::Unexpected, CloseWay::EscapeKey, std::string(), nullptr};
  if (!driver.waiting.empty() && IsOpenFile(driver.waiting.front().kind) == isOpenFile) {
    armed = driver.waiting.front();
    driver.waiting.pop_front();
  }
  driver.driven.push_back(
      Driven{window, armed, WindowText(window), std::string(), 0, 0, false, false, 0});
  Driven& driven = driver.driven.back();
  if (armed.kind == Kind::Unexpected) {
    ADD_FAILURE() << "ui_driver: a " << (isOpenFile ? "open-file dialog" : "dialog") << " \""
                  << Escaped(driven.caption) << "\" appeared that no test step waited for; "
                  << "it is cancelled";
  } else {
    if (armed.seen != nullptr) *armed.seen = Describe(window);
    driven.screenshot.swap(driver.screenshot);
  }
  // Zero: as soon as the window's message loop runs and has painted it.
  driven.actTimer = SetTimer(nullptr, 0, 0, ActTimer);
}

void Destroyed(HWND window) {
  for (Driven& driven : TheDriver().driven) {
    if (driven.window != window || driven.closed) continue;
    driven.closed = true;
    if (!driven.acted) Problem(driven, "closed before the driver acted on it");
    StopTimers(driven);
  }
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    Activated(reinterpret_cast<HWND>(wParam));
  } else if (code == HCBT_DESTROYWND) {
    Destroyed(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void InstallHook() {
  Driver& driver = TheDriver();
  if (driver.hook == nullptr)
    driver.hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

void Arm(Kind kind, CloseWay way, const std::string& path, WindowSeen* seen) {
  InstallHook();
  if (seen != nullptr) *seen = WindowSeen();
  TheDriver().waiting.push_back(Armed{kind, way, path, seen});
}

void Reset() {
  Driver& driver = TheDriver();
  for (Driven& driven : driver.driven) StopTimers(driven);
  driver.waiting.clear();
  driver.driven.clear();
  driver.problems.clear();
  driver.screenshot.clear();
  driver.watchdogMilliseconds = kDefaultWatchdogMilliseconds;
}

// Keeps the hook in place for the whole test program, so that a dialog no
// test waits for is caught too, and starts every test with a driver at rest.
class DriverListener : public ::testing::EmptyTestEventListener {
  void OnTestProgramStart(const ::testing::UnitTest&) override { InstallHook(); }
  void OnTestStart(const ::testing::TestInfo&) override { Reset(); }
  void OnTestProgramEnd(const ::testing::UnitTest&) override {
    Reset();
    Driver& driver = TheDriver();
    if (driver.hook != nullptr) UnhookWindowsHookEx(driver.hook);
    driver.hook = nullptr;
  }
};

[[maybe_unused]] const bool listenerAdded =
    (::testing::UnitTest::GetInstance()->listeners().Append(new DriverListener), true);

}  // namespace

void CloseNextDialog(CloseWay way, WindowSeen* seen) { Arm(Kind::Dialog, way, "", seen); }

void AcceptNextMessageBox(WindowSeen* seen) { Arm(Kind::MessageBox, CloseWay::OkButton, "", seen); }

void PickInNextOpenFileDialog(const std::string& path, WindowSeen* seen) {
  Arm(Kind::OpenFilePick, CloseWay::OkButton, path, seen);
}

void CancelNextOpenFileDialog(WindowSeen* seen) {
  Arm(Kind::OpenFileCancel, CloseWay::EscapeKey, "", seen);
}

void ScreenshotNextDialog(const std::string& path) {
  InstallHook();
  TheDriver().screenshot = path;
}

void SetWatchdogMilliseconds(int milliseconds) {
  TheDriver().watchdogMilliseconds = milliseconds > 0 ? milliseconds : kDefaultWatchdogMilliseconds;
}

bool Finish() {
  Driver& driver = TheDriver();
  std::vector<std::string> problems;
  problems.swap(driver.problems);
  for (const Armed& armed : driver.waiting)
    problems.push_back(std::string("the ") + Name(armed.kind) + " waited for never appeared");
  for (const Driven& driven : driver.driven) {
    if (!driven.closed && driven.armed.kind != Kind::Unexpected) {
      problems.push_back(std::string(Name(driven.armed.kind)) + " \"" + Escaped(driven.caption) +
                         "\": still open after the call returned");
    }
  }
  if (!driver.screenshot.empty())
    problems.push_back("no dialog came to take the screenshot " + driver.screenshot);
  const int watchdogMilliseconds = driver.watchdogMilliseconds;
  Reset();
  driver.watchdogMilliseconds = watchdogMilliseconds;
  for (const std::string& problem : problems) fprintf(stderr, "ui_driver: %s\n", problem.c_str());
  return problems.empty();
}

}  // namespace ui_driver
