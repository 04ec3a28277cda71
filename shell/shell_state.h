// The shell's process-wide state. One thread touches it: the user-interface
// thread. Internal to the shell.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "shell/events.h"

namespace vorrik {

class WindowRegistry;

struct ShellState {
  HANDLE heap = nullptr;
  bool oleStarted = false;
  std::string runDirectory;
  std::string executableName;
  HWND toolWindow = nullptr;
  DWORD uiThread = 0;

  int holdCount = 0;  // events are dropped while above 0
  bool ending = false;
  bool mainLoopStarted = false;
  uint32_t awaitedWindow = 0;
  uint32_t sourceWindow = 0, sourceItem = 0;

  void (*exitRoutine)() = nullptr;
  // Registered idle work: returns true while it has more to do.
  bool (*idleWork)(int idleCount) = nullptr;

  std::span<const HandlerRoutine> handlers;
  WindowRegistry* registry = nullptr;
};

ShellState& Shell();

// Raises and lowers the hold count in pairs.
class EventHold {
 public:
  EventHold() { ++Shell().holdCount; }
  ~EventHold() { --Shell().holdCount; }
  EventHold(const EventHold&) = delete;
  EventHold& operator=(const EventHold&) = delete;
};

// Test seams: who shows the error box, and who watches the end sequence.
using ErrorBoxPresenter = void (*)(const char* text, const char* caption, unsigned flags);
void SetErrorBoxPresenter(ErrorBoxPresenter presenter);
using EndStepObserver = void (*)(const char* step);
void SetEndStepObserver(EndStepObserver observer);

// Built-in components: told at start and when the program ends.
struct BuiltinComponent {
  void (*initialise)();
  void (*programEnding)();
};
std::span<const BuiltinComponent> BuiltinComponents();

// The shell's request to carry out a deferred destroy, posted to its tool window.
constexpr UINT kShellDestroyRequest = WM_APP + 1;

HWND CreateShellToolWindow(HINSTANCE instance);

// The code of the quit message that ended the main loop.
int QuitCode();

// Runs the waiting form of the message loop until the window is gone.
void WaitForWindow(uint32_t windowId);

}  // namespace vorrik
