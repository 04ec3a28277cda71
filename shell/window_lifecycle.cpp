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

}  // namespace vorrik
