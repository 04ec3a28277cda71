// Loading a window: build it from its description with events held, raise
// its first events, show it, and wait for it when it is modal.
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/stored_windows.h"
#include "shell/window_lifecycle.h"
#include "shell/window_registry.h"
#include "windows/builder.h"
#include "windows/kinds/kind.h"

namespace vorrik {
namespace {

constexpr int32_t kStartPositionOwnIndex = 10;  // the window kind's StartPosition
enum StartPosition : uint32_t { kAtStoredPlace, kCentred, kMinimised, kMaximised };

RegistryEntry* Find(uint32_t windowId) { return Shell().registry ? Shell().registry->Find(windowId) : nullptr; }

bool RaiseWindowEvent(RegistryEntry& entry, int32_t event) {
  EventRecord record;
  record.window = entry.id;
  record.item = entry.working.table.Identifier(0);
  record.event = event;
  return RaiseEvent(record);
}

// A window that is already loaded is brought forward instead of built again.
void BringForward(RegistryEntry& entry) {
  HWND window = entry.objects[0];
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  else SetActiveWindow(window);
}

void DestroyNow(RegistryEntry& entry) {
  entry.destroyPending = false;
  ReenableDisabledWindows(entry);
  DestroyWindow(entry.objects[0]);
}

bool StoredVisible(const RegistryEntry& entry) {
  auto record = DecodeControlRecord(entry.working.table.Record(0));
  return record && (record->state & kStateVisible);
}

int ShowCommandFor(RegistryEntry& entry) {
  auto record = DecodeControlRecord(entry.working.table.Record(0));
  const KindEntryPoints* kind = record ? FindKind(record->kind) : nullptr;
  uint32_t position = kind && kind->GetProperty ? kind->GetProperty(entry.objects[0], kStartPositionOwnIndex) : 0;
  switch (position) {
    case kMinimised: return SW_SHOWMINIMIZED;
    case kMaximised: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
  }
}

void RaiseFocusGained(RegistryEntry& entry) {
  HWND focus = GetFocus();
  if (!focus) return;
  for (uint32_t i = 0; i < entry.objects.size(); ++i) {
    if (entry.objects[i] != focus) continue;
    EventRecord record;
    record.window = entry.id;
    record.item = entry.working.table.Identifier(i);
    record.event = kEventFocusGained;
    RaiseEvent(record);
    return;
  }
}

// Every other loaded window without parent or owner is disabled while a
// modal window is up; each one's enabled state is remembered.
void DisableOthers(RegistryEntry& modal) {
  for (auto& other : Shell().registry->Entries()) {
    if (&other == &modal || !other.Loaded()) continue;
    HWND window = other.objects[0];
    if (GetParent(window) || GetWindow(window, GW_OWNER)) continue;
    modal.disabledWindows.emplace_back(window, IsWindowEnabled(window) != FALSE);
    EnableWindow(window, FALSE);
  }
}

// Steps from the build to the first-show mark; false when the build failed.
bool BuildAndAnnounce(RegistryEntry& entry, bool dialog, HWND owner) {
  ProcessPendingMessages();
  {
    EventHold hold;
    entry.saved = entry.working.table;
    if (!BuildWindow(entry, dialog, owner)) {
      entry.saved.reset();
      return false;
    }
    ProcessPendingMessages();
  }
  RaiseWindowEvent(entry, kEventCreated);
  if (!entry.Loaded()) return true;
  RaiseWindowEvent(entry, kEventMoved);
  if (!entry.Loaded()) return true;
  RaiseWindowEvent(entry, kEventResized);
  if (!entry.Loaded()) return true;
  if (StoredVisible(entry)) {
    ShowWindow(entry.objects[0], ShowCommandFor(entry));
    RaiseFocusGained(entry);
  }
  if (dialog) {
    entry.modal = true;
    DisableOthers(entry);
  }
  entry.firstShowPending = true;
  return true;
}

}  // namespace

void RunFirstShow(RegistryEntry& entry) {
  if (!entry.firstShowPending || !entry.Loaded()) return;
  entry.firstShowPending = false;
  ShowWindow(entry.objects[0], ShowCommandFor(entry));
  if (entry.modal) WaitForWindow(entry.id);
}

bool LoadWindow(uint32_t windowId, const uint32_t* parentId, bool dialog) {
  HWND owner = nullptr;
  if (parentId) {
    RegistryEntry* parent = Find(*parentId);
    if (!parent || !parent->Loaded()) return false;
    owner = parent->objects[0];
  }
  RegistryEntry* entry = Find(windowId);
  if (!entry) return false;
  if (entry->Loaded()) {
    if (!entry->destroyPending) {
      BringForward(*entry);
      return true;
    }
    DestroyNow(*entry);
  }
  if (dialog) owner = nullptr;
  if (!BuildAndAnnounce(*entry, dialog, owner)) return false;
  if (entry->Loaded() && StoredVisible(*entry)) RunFirstShow(*entry);
  return true;
}

bool BuildStartupWindow(RegistryEntry& entry) { return BuildAndAnnounce(entry, false, nullptr); }

}  // namespace vorrik
