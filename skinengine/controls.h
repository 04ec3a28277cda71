// Child controls that the skin draws: push buttons and group boxes. Every
// other control is left to the system, on the skin's face colour.
#pragma once
#include <windows.h>

namespace vorrik::engine {

enum class ControlKind : int { kNone = -1, kPushButton, kGroupBox, kCount };

ControlKind KindOfControl(HWND control, const char* className, LONG style);

struct ControlState {
  bool hot = false;  // the mouse is over it
  bool trackingLeave = false;
};

// Paints the control's client area into the target (its own DC, a paint DC
// or one handed in by WM_PRINTCLIENT).
void PaintControl(HWND control, ControlKind kind, const ControlState& state, HDC target);
void RepaintControl(HWND control, ControlKind kind, const ControlState& state);

}  // namespace vorrik::engine
