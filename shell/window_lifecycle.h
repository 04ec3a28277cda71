// Destroying loaded windows and what follows a native window's end.
#pragma once
#include <cstdint>

namespace vorrik {

struct RegistryEntry;

// Loads a window (with an optional parent window); in dialog mode it
// returns once the window is gone. False when it cannot be built.
bool LoadWindow(uint32_t windowId, const uint32_t* parentId, bool dialog);

// Clears the first-show mark, shows the window, and waits when it is modal.
void RunFirstShow(RegistryEntry& entry);

// Destroys a loaded window at once (now) or through the message queue.
void DestroyLoadedWindow(uint32_t windowId, bool now = false);

// The queued request: does nothing when the destroy is no longer pending.
void CarryOutDestroyRequest(uint32_t windowId);

// Gives the windows that a modal window disabled their enabled state back.
void ReenableDisabledWindows(RegistryEntry& entry);

// Steps after a window's native object is gone: the saved description comes
// back, a modal wait for it ends, and the last window's end quits the loop.
void RestoreSavedDescription(RegistryEntry& entry);
void EndWaitFor(uint32_t windowId);
void QuitWhenNoWindowLeft();

// Everything that follows the end of a window's native object: its
// accelerators and pointers go, the saved description comes back, a wait for
// it ends, and the program quits when it was the last window.
void WindowGone(uint32_t windowId);

}  // namespace vorrik
