// Plays the user in the modal windows the module opens: the host-level tests
// arm the driver, call the module, and ask afterwards whether the window came
// and went as planned. Over the stand-in it scripts the stand-in; under
// Windows (wine64) it finds the real window with a hook on the test's thread
// and drives it with posted clicks and keys.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace ui_driver {

enum class CloseWay { OkButton, EnterKey, EscapeKey, CloseBox };

struct ControlSeen {
  int id;
  std::string className;
  std::string text;
  uint32_t style;
  uint32_t exStyle;
};

// What a modal window showed while it was open. On the stand-in only
// `appeared` is filled, by Finish() (the stand-in has no real windows); tests
// that check live texts and styles are Windows-only files.
struct WindowSeen {
  bool appeared = false;
  std::string caption;    // ANSI text (code page 932 under the tests' wine locale)
  std::string className;  // "#32770" for dialogs and message boxes
  uint32_t style = 0, exStyle = 0;
  std::vector<ControlSeen> controls;  // child windows in z-order (template order)
};

// Arms a one-shot driver for the next modal dialog opened on this thread:
// when it appears, record it into *seen (may be null) and close it the given
// way. Arming several drivers queues them: each modal window takes the
// earliest still waiting.
void CloseNextDialog(CloseWay way, WindowSeen* seen);
// The next message box: record it and press its OK button.
void AcceptNextMessageBox(WindowSeen* seen);
// The next open-file dialog: record it, then type `path` into its file-name
// box and confirm (on the stand-in: the scripted pick). The cancel variant
// presses Cancel.
void PickInNextOpenFileDialog(const std::string& path, WindowSeen* seen);
void CancelNextOpenFileDialog(WindowSeen* seen);
// After the module's call returned: true when every armed driver ran (its
// window appeared and was closed as asked); false, with a message on stderr,
// when one timed out or never ran. Disarms (on the stand-in: drops the
// dialog scripts left unused).
bool Finish();
// Windows only: saves a screenshot of the next modal dialog, while it is
// open, as a 24-bit BMP at `path` (relative to the test's working directory)
// before closing it; the wine test step converts every BMP it finds there to
// PNG with ImageMagick. No-op natively.
void ScreenshotNextDialog(const std::string& path);

// How long a driven window may take to appear once a message loop runs, and
// to close after it was acted on, before the driver gives up, closes it
// itself and makes Finish() fail. Windows only; no-op natively.
void SetWatchdogMilliseconds(int milliseconds);

}  // namespace ui_driver
