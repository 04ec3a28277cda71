// The message loop in its two forms: the main loop, and the waiting loop of a
// modal window, which returns once its awaited window is gone.
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_registry.h"
#include "windows/kinds/window.h"

namespace vorrik {
namespace {

enum class LoopForm { kMain, kWaiting };

bool WaitEnded(LoopForm form, uint32_t awaited) { return form == LoopForm::kWaiting && Shell().awaitedWindow != awaited; }

// The program registers no idle work of the platform's own, so the idle
// phase ends as soon as the registered work says it has nothing more to do.
bool RunIdleWork(int idleCount) {
  auto work = Shell().idleWork;
  return work && work(idleCount);
}

// Repeated mouse moves to the same place and the caret blink keep the loop idle.
bool EndsIdleness(const MSG& message) {
  static POINT lastMouse{-1, -1};
  if (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE) {
    if (message.pt.x == lastMouse.x && message.pt.y == lastMouse.y) return false;
    lastMouse = message.pt;
    return true;
  }
  return message.message != 0x0118;  // WM_SYSTIMER
}

void Dispatch(MSG& message) {
  if (TranslateWindowMessage(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

bool QuitIsNext() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// Returns the quit code in the main form; in the waiting form returns when
// the awaited window is cleared or a quit is next (left for the main loop).
int RunLoop(LoopForm form) {
  const uint32_t awaited = Shell().awaitedWindow;
  bool idle = true;
  int idleCount = 0;
  MSG message;
  for (;;) {
    while (idle && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (WaitEnded(form, awaited)) return 0;
      if (!RunIdleWork(idleCount++)) idle = false;
    }
    do {
      if (WaitEnded(form, awaited)) return 0;
      if (form == LoopForm::kWaiting && QuitIsNext()) return 0;
      if (GetMessageA(&message, nullptr, 0, 0) <= 0) return static_cast<int>(message.wParam);
      Dispatch(message);
      if (EndsIdleness(message)) {
        idle = true;
        idleCount = 0;
      }
    } while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  }
}

int g_quitCode = 0;

}  // namespace

void ProcessPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (message.message == WM_QUIT) return;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
    Dispatch(message);
  }
}

void RunMessageLoop() {
  Shell().mainLoopStarted = true;
  if (!Shell().registry || !Shell().registry->AnyLoaded()) return;
  g_quitCode = RunLoop(LoopForm::kMain);
}

int QuitCode() { return g_quitCode; }

void WaitForWindow(uint32_t windowId) {
  const uint32_t previous = Shell().awaitedWindow;
  Shell().awaitedWindow = windowId;
  RunLoop(LoopForm::kWaiting);
  Shell().awaitedWindow = previous;
}

}  // namespace vorrik
