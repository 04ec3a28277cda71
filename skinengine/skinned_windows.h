// Which windows the engine draws, and how it learns of them: every window
// of the attaching thread that exists when a skin is attached, and every
// window that thread creates afterwards (a creation hook). Top-level windows
// get the skinned frame; push buttons and group boxes are drawn whole.
// Windows of other threads are never touched.
#pragma once
#include <windows.h>

#include "skinengine/frame.h"

namespace vorrik::engine {

// Hooks the calling thread and takes its windows; false when the hook
// cannot be set (then nothing is taken).
bool SkinThreadWindows(const char* excludedClasses, bool leaveButtons);
// Lets go of every window and the hook, and has the windows repaint plain.
void ReleaseThreadWindows();
// Repaints every skinned window of the thread, frames and controls.
void RepaintThreadWindows();

// The frame state of a top-level window the engine draws, or null.
FrameState* FrameStateOf(HWND window);

}  // namespace vorrik::engine
