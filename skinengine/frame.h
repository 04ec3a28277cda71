// The skinned frame of a top-level window: caption, caption buttons, menu
// bar and border. One function measures it, and painting and hit testing
// both use that measure, so what is drawn is what is hit.
//
// The frame keeps the system's geometry: the client area has the same size
// and place with and without the skin. The skin paints what is around it.
#pragma once
#include <windows.h>

namespace vorrik::engine {

enum class CaptionButton : int { kNone = -1, kClose, kMaximise, kMinimise, kCount };

// What the engine remembers of one top-level window between messages.
struct FrameState {
  bool active = false;
  CaptionButton hot = CaptionButton::kNone;
  CaptionButton pressed = CaptionButton::kNone;  // held down, with the mouse captured
  bool pressedInside = false;                    // ... and the mouse still over it
  int hotMenuItem = -1;
  int openMenuItem = -1;
  bool trackingLeave = false;
  // The caption's icon and title, read once and again when they change:
  // asking on every paint would send messages through the subclass chain.
  bool read = false;
  HICON icon = nullptr;
  int titleLength = 0;
  char title[256] = {};  // a longer title is cut short (it ends in "..." anyway)
};

// Reads the window's icon and title into its FrameState.
void ReadFrame(HWND window, FrameState& state);

struct FrameLayout {
  SIZE window = {};
  RECT client = {};  // in window coordinates, like everything here
  RECT caption = {};
  RECT icon = {};
  RECT title = {};
  RECT buttons[int(CaptionButton::kCount)] = {};  // empty when the window has no such box
  bool buttonEnabled[int(CaptionButton::kCount)] = {};
  RECT menuBar = {};
  bool hasCaption = false;
};

void MeasureFrame(HWND window, FrameLayout& layout);

// The caption button at a point in window coordinates, kNone when none.
CaptionButton CaptionButtonAt(const FrameLayout& layout, POINT point);
// The menu-bar item at a point in window coordinates, -1 when none.
int MenuBarItemAt(HWND window, const FrameLayout& layout, POINT point);

// Paints the whole frame into the target, which covers the whole window
// (a window DC or a DC handed in by WM_PRINT); the client area is left alone.
void PaintFrame(HWND window, const FrameState& state, HDC target);
// Through the window's own DC, right now (reading icon and title first if
// they have not been read yet).
void RepaintFrame(HWND window, FrameState& state);

POINT WindowPointFromScreen(HWND window, POINT screen);

}  // namespace vorrik::engine
