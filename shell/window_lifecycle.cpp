#include "shell/window_lifecycle.h"

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_registry.h"

namespace vorrik {

void DestroyLoadedWindow(uint32_t windowId, bool now) {
  RegistryEntry* entry = Shell().registry ? Shell().registry->Find(windowId) : nullptr;
  if (!entry || !entry->Loaded()) ReportRuntimeError(0, "指定窗口或窗口组件不存在或尚未载入");
  entry->destroyPending = true;
  if (now) {
    CarryOutDestroyRequest(windowId);
    return;
  }
  PostMessageA(Shell().toolWindow, kShellDestroyRequest, windowId, 0);
}

void ReenableDisabledWindows(RegistryEntry& entry) {
  for (auto [window, wasEnabled] : entry.disabledWindows)
    if (IsWindow(window)) EnableWindow(window, wasEnabled);
  entry.disabledWindows.clear();
}

void CarryOutDestroyRequest(uint32_t windowId) {
  RegistryEntry* entry = Shell().registry ? Shell().registry->Find(windowId) : nullptr;
  if (!entry || !entry->destroyPending) return;
  entry->destroyPending = false;
  ReenableDisabledWindows(*entry);
  if (entry->Loaded()) DestroyWindow(entry->objects[0]);
}

void RestoreSavedDescription(RegistryEntry& entry) {
  if (!entry.saved) return;
  entry.working.table = std::move(*entry.saved);
  entry.saved.reset();
}

void EndWaitFor(uint32_t windowId) {
  if (Shell().awaitedWindow == windowId) Shell().awaitedWindow = 0;
}

void QuitWhenNoWindowLeft() {
  if (Shell().mainLoopStarted && Shell().registry && !Shell().registry->AnyLoaded()) PostQuitMessage(0);
}

void WindowGone(uint32_t windowId) {
  if (Shell().ending || !Shell().registry) return;
  RegistryEntry* entry = Shell().registry->Find(windowId);
  if (!entry) return;
  if (entry->accelerators) DestroyAcceleratorTable(entry->accelerators);
  entry->accelerators = nullptr;
  for (HCURSOR& cursor : entry->cursors) {
    if (cursor) DestroyCursor(cursor);
    cursor = nullptr;
  }
  ReenableDisabledWindows(*entry);
  entry->destroyPending = entry->modal = entry->firstShowPending = false;
  NoteControlDestroyed(windowId, 0);
  for (HWND& object : entry->objects) object = nullptr;
  QuitWhenNoWindowLeft();
}

}  // namespace vorrik
