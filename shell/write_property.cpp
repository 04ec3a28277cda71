// Writing one property of an item of a window by index: common properties
// go to the working description and the live object, a kind's own ones to
// the live control, and menu items rebuild the window's menu bar.
#include <algorithm>
#include <string>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "shell/window_registry.h"
#include "windows/builder.h"
#include "windows/byte_io.h"
#include "windows/kinds/kind.h"

namespace vorrik {
namespace {

enum CommonProperty : int32_t { kLeft, kTop, kWidth, kHeight, kTag, kVisible, kDisable, kMousePointer };
constexpr int32_t kFirstOwnProperty = 8;
enum MenuProperty : int32_t { kMenuTitle, kMenuChecked, kMenuDisable, kMenuVisible };

// The stored limit is 32627, not the 16-bit 32767.
constexpr int32_t kCoordinateLimit = 32627;

int32_t ClampPosition(uint32_t value) {
  return std::clamp(static_cast<int32_t>(value), -kCoordinateLimit, kCoordinateLimit);
}
int32_t ClampExtent(uint32_t value) { return std::clamp(static_cast<int32_t>(value), 0, kCoordinateLimit); }

std::string TextValue(uint32_t value) {
  const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(value));
  return text ? text : "";
}

// A ByteBuffer: dimension word, length, bytes; null is the empty block.
std::vector<uint8_t> BlockValue(uint32_t value) {
  const uint8_t* block = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(value));
  if (!block) return {};
  const uint32_t length = LoadU32(block + 4);
  return {block + 8, block + 8 + length};
}

// ---- Menu items ----

void RebuildMenuBar(RegistryEntry& entry) {
  auto plan = PlanMenuBar(entry.working.table);
  if (!plan) return;
  HWND window = entry.objects[0];
  HMENU old = GetMenu(window);
  SetMenu(window, CreateMenuBar(*plan));
  if (old) DestroyMenu(old);
  DrawMenuBar(window);
  if (entry.accelerators) DestroyAcceleratorTable(entry.accelerators);
  entry.accelerators = CreateAcceleratorTable(*plan);
}

void SetFlag(uint32_t& flags, uint32_t bit, bool on) { flags = on ? flags | bit : flags & ~bit; }

// False when the value equals the stored one or the index is not a menu
// item's: then nothing changes.
bool ChangeMenuItem(MenuItemRecord& item, int32_t index, uint32_t value) {
  const MenuItemRecord before = item;
  switch (index) {
    case kMenuTitle: item.title = TextValue(value); break;
    case kMenuChecked: SetFlag(item.flags, kMenuChecked, value != 0); break;
    case kMenuDisable: SetFlag(item.flags, kMenuDisabled, value != 0); break;
    case kMenuVisible: SetFlag(item.flags, kMenuHidden, value == 0); break;
    default: return false;
  }
  return !(item == before);
}

void WriteMenuItem(RegistryEntry& entry, uint32_t slot, int32_t index, uint32_t value) {
  auto item = DecodeMenuItemRecord(entry.working.table.Record(slot));
  if (!item || !ChangeMenuItem(*item, index, value)) return;
  entry.working.table.ReplaceRecord(slot, EncodeMenuItemRecord(*item));
  if (entry.Loaded()) RebuildMenuBar(entry);
}

// ---- A kind's own properties ----

HWND LiveObject(const RegistryEntry& entry, uint32_t slot) {
  return entry.Loaded() && slot < entry.objects.size() ? entry.objects[slot] : nullptr;
}

// Everything that places a control among its siblings, taken before the
// old control goes.
struct Placement {
  HWND parent = nullptr;
  RECT rect{};  // in the parent's client area
  DWORD style = 0;
  int childNumber = 0;
  bool visible = false;
  bool focused = false;
};

Placement PlacementOf(HWND control) {
  Placement p;
  p.parent = GetParent(control);
  GetWindowRect(control, &p.rect);
  MapWindowPoints(nullptr, p.parent, reinterpret_cast<POINT*>(&p.rect), 2);
  p.style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & (WS_DISABLED | WS_TABSTOP);
  p.childNumber = GetDlgCtrlID(control);
  p.visible = (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;  // its own flag, not its parent's
  HWND focus = GetFocus();
  p.focused = focus && (focus == control || IsChild(control, focus));
  return p;
}

// The new control is made before the old one goes, so a failed Create
// leaves the old one in place; it takes the old one's place in the z-order.
void ReplaceControl(RegistryEntry& entry, uint32_t slot, const KindEntryPoints& kind, const ControlRecord& record) {
  HWND old = LiveObject(entry, slot);
  if (!old || !IsWindow(old)) return;
  const Placement p = PlacementOf(old);
  const std::vector<uint8_t> settings = kind.SaveSettings ? kind.SaveSettings(old) : record.settings;
  CreateArguments args{settings,         p.style, p.parent, p.childNumber, nullptr, p.rect.left, p.rect.top,
                       p.rect.right - p.rect.left, p.rect.bottom - p.rect.top, entry.id,
                       entry.working.table.Identifier(slot)};
  HWND fresh = kind.Create(args);
  if (!fresh) return;
  SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  DestroyWindow(old);  // the kind's notice clears the slot and the pointer
  entry.objects[slot] = fresh;
  if (!record.mousePointer.empty()) entry.cursors[slot] = CreatePointer(record.mousePointer);
  if (p.visible && !kind.neverShown) ShowWindow(fresh, SW_SHOWNA);
  if (p.focused) SetFocus(fresh);
}

void RebuildControl(RegistryEntry& entry, uint32_t slot, const KindEntryPoints& kind, const ControlRecord& record) {
  ProcessPendingMessages();
  EventHold hold;
  ReplaceControl(entry, slot, kind, record);
  ProcessPendingMessages();
}

uint32_t ConvertOwnValue(const KindEntryPoints& kind, int32_t index, uint32_t value, std::string& text) {
  const PropertyType type = static_cast<size_t>(index) < kind.properties.size() ? kind.properties[index] : kTypeInteger;
  switch (type) {
    case kTypeBoolean:
      return value != 0;
    case kTypeText:
      text = TextValue(value);
      return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.c_str()));
    default:
      return value;
  }
}

void WriteOwnProperty(RegistryEntry& entry, uint32_t slot, int32_t index, uint32_t value) {
  HWND object = LiveObject(entry, slot);
  if (!object) ReportRuntimeError(0, "指定窗口尚未载入");
  auto record = DecodeControlRecord(entry.working.table.Record(slot));
  const KindEntryPoints* kind = record ? FindKind(record->kind) : nullptr;
  if (!kind || !kind->SetProperty) return;
  std::string text;  // the copy a text value is handed over in
  const uint32_t converted = ConvertOwnValue(*kind, index, value, text);
  if (!kind->SetProperty(object, index - kFirstOwnProperty, converted)) return;
  if (slot != 0 && LiveObject(entry, slot) == object && IsWindow(object)) RebuildControl(entry, slot, *kind, *record);
}

// ---- Common properties ----

void ApplyVisible(RegistryEntry& entry, uint32_t slot, HWND object, bool visible, const KindEntryPoints* kind) {
  if (!visible) {
    ShowWindow(object, SW_HIDE);
    return;
  }
  if (slot == 0) {
    // The first show also waits when the window is modal.
    if (entry.firstShowPending) RunFirstShow(entry);
    else ShowWindow(object, SW_SHOW);
    return;
  }
  if (kind && kind->neverShown) return;
  ShowWindow(object, SW_SHOW);
}

void ApplyPointer(RegistryEntry& entry, uint32_t slot, const std::vector<uint8_t>& block) {
  HCURSOR old = entry.cursors[slot];
  entry.cursors[slot] = block.empty() ? nullptr : CreatePointer(block);
  if (old) DestroyCursor(old);
  // Moving the mouse where it already is makes the window under it ask for
  // its cursor again.
  POINT at;
  if (GetCursorPos(&at)) SetCursorPos(at.x, at.y);
}

// Stores the value in the record; false for an index that is not common.
bool StoreCommon(ControlRecord& record, int32_t index, uint32_t value) {
  switch (index) {
    case kLeft: record.left = ClampPosition(value); return true;
    case kTop: record.top = ClampPosition(value); return true;
    case kWidth: record.width = ClampExtent(value); return true;
    case kHeight: record.height = ClampExtent(value); return true;
    case kTag: record.tag = TextValue(value); return true;
    case kVisible: SetFlag(record.state, kStateVisible, value != 0); return true;
    case kDisable: SetFlag(record.state, kStateDisabled, value != 0); return true;
    case kMousePointer: record.mousePointer = BlockValue(value); return true;
    default: return false;
  }
}

// SetWindowPos takes a child's position in its parent's client area and a
// top-level window's on the screen, as the record stores them.
void ApplyCommon(RegistryEntry& entry, uint32_t slot, HWND object, const ControlRecord& record, int32_t index) {
  constexpr UINT kKeep = SWP_NOZORDER | SWP_NOACTIVATE;
  switch (index) {
    case kLeft:
    case kTop:
      SetWindowPos(object, nullptr, record.left, record.top, 0, 0, kKeep | SWP_NOSIZE);
      return;
    case kWidth:
    case kHeight:
      SetWindowPos(object, nullptr, 0, 0, record.width, record.height, kKeep | SWP_NOMOVE);
      return;
    case kVisible:
      ApplyVisible(entry, slot, object, record.state & kStateVisible, FindKind(record.kind));
      return;
    case kDisable:
      EnableWindow(object, !(record.state & kStateDisabled));
      return;
    case kMousePointer:
      ApplyPointer(entry, slot, record.mousePointer);
      return;
    default:
      return;  // the tag lives in the description only
  }
}

void WriteCommonProperty(RegistryEntry& entry, uint32_t slot, int32_t index, uint32_t value) {
  auto record = DecodeControlRecord(entry.working.table.Record(slot));
  if (!record || !StoreCommon(*record, index, value)) return;
  entry.working.table.ReplaceRecord(slot, EncodeControlRecord(*record));
  // Applied after storing: a first show may run a whole modal wait.
  if (HWND object = LiveObject(entry, slot)) ApplyCommon(entry, slot, object, *record, index);
}

}  // namespace

// An item identifier that the window does not have changes nothing: the
// program never passes one, and a stray write is not worth ending it over.
// Every write sets the whole property: no property written here is compound,
// so the sub-field (-1) and the second value have nothing to select.
void WriteProperty(uint32_t window, uint32_t item, int32_t index, int32_t /*subField*/, uint32_t value,
                   uint32_t /*secondValue*/) {
  RegistryEntry* entry = Shell().registry ? Shell().registry->Find(window) : nullptr;
  if (!entry) ReportRuntimeError(0, "未载入欲访问窗口组件所在的窗口");
  auto slot = entry->working.table.IndexOf(item);
  if (!slot || index < 0) return;
  if (entry->working.table.IsMenuItem(*slot)) WriteMenuItem(*entry, *slot, index, value);
  else if (index >= kFirstOwnProperty) WriteOwnProperty(*entry, *slot, index, value);
  else WriteCommonProperty(*entry, *slot, index, value);
}

}  // namespace vorrik
