// The shell's operations used by the entry routine, the handlers and the
// native side of the control kinds.
#pragma once
#include <cstdint>

#include "shell/blocks.h"
#include "shell/events.h"

namespace vorrik {

// Exit code of a process ended by a run-time error report.
constexpr int kRuntimeErrorExitCode = -1;

void InitialiseShell();
void RegisterExitRoutine(void (*routine)());
void LoadStartupWindow(uint32_t windowId);
void RunMessageLoop();

// Takes and dispatches every queued message, stopping before a quit message.
void ProcessPendingMessages();

// Shows the error box and ends the process; never returns.
[[noreturn]] void ReportRuntimeError(int32_t number, ConstText message);

// Delivers an event to its handler; true when a handler ran.
bool RaiseEvent(EventRecord& record);

// Sets property `index` of an item of a window (sub-field -1: the whole
// property). Text values are copied; the caller keeps its own.
void WriteProperty(uint32_t window, uint32_t item, int32_t index, int32_t subField, uint32_t value,
                   uint32_t secondValue);

// A control kind's notice that the native object of one of its items is gone.
void NoteControlDestroyed(uint32_t window, uint32_t item);

// The window and item whose handler is running, or zeros.
struct EventSource {
  uint32_t window = 0, item = 0;
};
EventSource CurrentEventSource();

// Runs the end-of-program sequence and ends the process with the code.
[[noreturn]] void EndProgram(int exitCode);

}  // namespace vorrik
