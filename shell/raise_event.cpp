// From a native notification to the program's handler.
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "shell/window_registry.h"

namespace vorrik {
namespace {

HandlerRoutine Routine(int32_t handler) {
  auto handlers = Shell().handlers;
  if (handler < 0 || static_cast<size_t>(handler) >= handlers.size()) return nullptr;
  return handlers[handler];
}

}  // namespace

bool RaiseEvent(EventRecord& record) {
  ShellState& shell = Shell();
  if (shell.holdCount >= 1) return false;
  RegistryEntry* entry = shell.registry ? shell.registry->Find(record.window) : nullptr;
  if (!entry) ReportRuntimeError(0, "未找到引发事件的窗口");
  EventTarget target = FindEventHandler(entry->working.table, record.item, record.event);
  switch (target.outcome) {
    case EventOutcome::kUnknownItem:
      ReportRuntimeError(0, "未找到引发事件的窗口组件");
    case EventOutcome::kInvalidKind:
      ReportRuntimeError(0, "引发事件的窗口组件无效");
    case EventOutcome::kNoHandler:
      return false;
    case EventOutcome::kHandler:
      break;
  }
  HandlerRoutine routine = Routine(target.handler);
  if (!routine) return false;
  shell.sourceWindow = record.window;
  shell.sourceItem = record.item;
  auto answer = routine({record.arguments, record.argumentCount < 5 ? record.argumentCount : 5});
  shell.sourceWindow = shell.sourceItem = 0;
  if (answer) {
    record.answer = *answer;
    record.answered = true;
  }
  return true;
}

void NoteControlDestroyed(uint32_t window, uint32_t item) {
  ShellState& shell = Shell();
  if (shell.ending || !shell.registry) return;
  RegistryEntry* entry = shell.registry->Find(window);
  if (!entry) return;
  auto index = item == 0 ? std::optional<uint32_t>(0) : entry->working.table.IndexOf(item);
  if (!index || *index >= entry->objects.size()) return;
  if (*index == 0) {
    entry->objects[0] = nullptr;
    RestoreSavedDescription(*entry);
    EndWaitFor(window);
    return;
  }
  if (entry->cursors[*index]) DestroyCursor(entry->cursors[*index]);
  entry->cursors[*index] = nullptr;
  entry->objects[*index] = nullptr;
}

}  // namespace vorrik
