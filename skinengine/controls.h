// Child controls that the skin draws: push buttons and group boxes. Every
// other control is left to the system, on the skin's face colour.
#pragma once
#include <windows.h>

namespace vorrik::engine {

enum class ControlKind : int { kNone = -1, kPushButton, kGroupBox, kCount };

ControlKind KindOfControl(const char* className, LONG style);

// What painting needs to know of a control, read when it changes rather
// than asked for on every paint: each message to a control passes through
// its subclass chain, which is not free.
struct ControlState {
  bool hot = false;  // the mouse is over it
  bool trackingLeave = false;
  bool pushed = false, focused = false, hideFocus = false;
  HFONT font = nullptr;
  int textLength = 0;
  char text[256] = {};  // a longer caption is drawn cut short
};

// Reads the control's state, font and text into its ControlState.
void ReadControl(HWND control, ControlState& state);

// Paints the control's client area into the target (its own DC, a paint DC
// or one handed in by WM_PRINTCLIENT).
void PaintControl(HWND control, ControlKind kind, const ControlState& state, HDC target);
void RepaintControl(HWND control, ControlKind kind, const ControlState& state);

}  // namespace vorrik::engine
