#include "windows/builder.h"

#include "shell/shell_state.h"
#include "shell/window_registry.h"
#include "windows/byte_io.h"
#include "windows/kinds/kind.h"

namespace vorrik {
namespace {

void AppendNode(HMENU menu, const MenuNode& node) {
  const UINT state = (node.greyed ? MF_GRAYED : 0) | (node.checked ? MF_CHECKED : 0);
  switch (node.type) {
    case MenuNode::Type::kSeparator:
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      return;
    case MenuNode::Type::kCommand:
      AppendMenuA(menu, MF_STRING | state, node.command, node.text.c_str());
      return;
    case MenuNode::Type::kDropDown: {
      HMENU dropDown = CreatePopupMenu();
      for (const auto& child : node.children) AppendNode(dropDown, child);
      AppendMenuA(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(dropDown), node.text.c_str());
      return;
    }
  }
}

DWORD StyleOf(const ControlRecord& record) {
  return (record.state & kStateDisabled ? WS_DISABLED : 0) | (record.state & kStateTabStop ? WS_TABSTOP : 0);
}

HCURSOR StandardPointer(uint32_t number) {
  static const LPCSTR kPointers[] = {IDC_ARROW, IDC_CROSS,   IDC_IBEAM,  IDC_WAIT,   IDC_HELP,
                                     IDC_APPSTARTING, IDC_NO, IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENS,
                                     IDC_SIZENWSE, IDC_SIZEWE, IDC_UPARROW, IDC_HAND};
  // A copy, so that the control owns it and may destroy it like any other.
  return number >= 1 && number <= 14 ? CopyCursor(LoadCursorA(nullptr, kPointers[number - 1])) : nullptr;
}

// A .cur file: its first image, with the hot spot the directory gives.
HCURSOR PointerFromCursorFile(std::span<const uint8_t> file) {
  ByteReader in(file);
  in.Bytes(6);  // reserved, type, count
  in.Bytes(4);  // width, height, colours, reserved
  const uint32_t hotSpot = in.U32();
  const uint32_t size = in.U32(), offset = in.U32();
  if (!in.ok() || offset > file.size() || size > file.size() - offset || size == 0) return nullptr;
  std::vector<uint8_t> resource(4 + size);
  for (int i = 0; i < 4; ++i) resource[i] = static_cast<uint8_t>(hotSpot >> (8 * i));
  std::copy(file.begin() + offset, file.begin() + offset + size, resource.begin() + 4);
  return reinterpret_cast<HCURSOR>(
      CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, 0, 0, 0));
}

struct Build {
  explicit Build(RegistryEntry& e) : entry(e), table(e.working.table) {}

  RegistryEntry& entry;
  const ControlTable& table;
  HMENU menu = nullptr;
  HACCEL accelerators = nullptr;
  HWND window = nullptr;
  std::vector<ControlRecord> records;  // by entry; menu items left empty
  std::vector<bool> visible;

  bool ReadRecords() {
    records.resize(table.Count());
    visible.assign(table.Count(), false);
    for (uint32_t i = 0; i < table.Count(); ++i) {
      if (table.IsMenuItem(i)) continue;
      auto record = DecodeControlRecord(table.Record(i));
      if (!record) return false;
      records[i] = std::move(*record);
    }
    return table.Count() > 0 && !table.IsMenuItem(0);
  }

  bool MakeMenu() {
    if (table.MenuRun().length == 0) return true;
    auto plan = PlanMenuBar(table);
    if (!plan) return false;
    menu = CreateMenuBar(*plan);
    accelerators = CreateAcceleratorTable(*plan);
    return true;
  }

  bool MakeWindow(bool modal, HWND owner) {
    const KindEntryPoints* kind = FindKind(records[0].kind);
    if (!kind) return false;
    const ControlRecord& r = records[0];
    CreateArguments args{r.settings, StyleOf(r), nullptr, 0, menu, r.left, r.top, r.width, r.height,
                         entry.id, table.Identifier(0), modal, owner};
    window = kind->Create(args);
    entry.objects[0] = window;
    return window != nullptr;
  }

  bool MakeControls() {
    int childNumber = 100;
    for (uint32_t i = table.Count() - 1; i >= 1; --i) {
      if (table.IsMenuItem(i)) continue;
      const KindEntryPoints* kind = FindKind(records[i].kind);
      if (!kind) return false;
      const ControlRecord& r = records[i];
      CreateArguments args{r.settings, StyleOf(r), window, childNumber, nullptr, r.left, r.top, r.width, r.height,
                           entry.id, table.Identifier(i)};
      HWND control = kind->Create(args);
      if (!control) return false;
      entry.objects[i] = control;
      visible[i] = !kind->neverShown && (r.state & kStateVisible);
      childNumber += 10;
    }
    return true;
  }

  HWND Container(uint32_t parentId) const {
    if (parentId == 0) return window;
    auto index = table.IndexOf(parentId);
    return index && entry.objects[*index] ? entry.objects[*index] : window;
  }

  void Parent() {
    for (uint32_t i = 1; i < table.Count(); ++i) {
      if (table.IsMenuItem(i) || !entry.objects[i]) continue;
      HWND container = Container(records[i].parent);
      if (container == window) continue;
      SetParent(entry.objects[i], container);
      // Stored positions are relative to the container.
      SetWindowPos(entry.objects[i], nullptr, records[i].left, records[i].top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HidePagedChildren();
  }

  void HidePagedChildren() {
    for (uint32_t i = 1; i < table.Count(); ++i) {
      if (table.IsMenuItem(i)) continue;
      const KindEntryPoints* kind = FindKind(records[i].kind);
      if (!kind || !kind->pagedChildren) continue;
      const auto& children = records[i].children;
      bool afterFirstPage = false;
      for (uint32_t child : children) {
        if (child == 0) afterFirstPage = true;
        else if (afterFirstPage)
          if (auto index = table.IndexOf(child)) visible[*index] = false;
      }
    }
  }

  // Among siblings, table order from top to bottom.
  void Stack() {
    for (uint32_t i = 1; i < table.Count(); ++i) {
      if (table.IsMenuItem(i) || !entry.objects[i]) continue;
      HWND above = HWND_TOP;
      for (uint32_t j = i - 1; j >= 1; --j) {
        if (!table.IsMenuItem(j) && entry.objects[j] && records[j].parent == records[i].parent) {
          above = entry.objects[j];
          break;
        }
      }
      SetWindowPos(entry.objects[i], above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }

  void Pointers() {
    for (uint32_t i = 0; i < table.Count(); ++i)
      if (!table.IsMenuItem(i) && !records[i].mousePointer.empty())
        entry.cursors[i] = CreatePointer(records[i].mousePointer);
    for (uint32_t i = table.Count(); i-- > 0;) {
      if (table.IsMenuItem(i) || !entry.objects[i]) continue;
      const KindEntryPoints* kind = FindKind(records[i].kind);
      if (kind && kind->ControlsComplete) kind->ControlsComplete(entry.objects[i]);
    }
  }

  void ShowControls() {
    for (uint32_t i = 1; i < table.Count(); ++i)
      if (!table.IsMenuItem(i) && entry.objects[i]) ShowWindow(entry.objects[i], visible[i] ? SW_SHOWNA : SW_HIDE);
  }

  // Nothing of a failed build stays behind: destroying the window takes its
  // controls along; controls made before the window failed go one by one.
  void Undo() {
    if (accelerators) DestroyAcceleratorTable(accelerators);
    if (window) DestroyWindow(window);
    for (HWND& object : entry.objects) {
      if (object && IsWindow(object)) DestroyWindow(object);
      object = nullptr;
    }
    if (menu && IsMenu(menu)) DestroyMenu(menu);
  }
};

}  // namespace

HMENU CreateMenuBar(const MenuPlan& plan) {
  if (plan.bar.empty()) return nullptr;
  HMENU bar = CreateMenu();
  for (const auto& node : plan.bar) AppendNode(bar, node);
  return bar;
}

HACCEL CreateAcceleratorTable(const MenuPlan& plan) {
  if (plan.accelerators.empty()) return nullptr;
  std::vector<ACCEL> keys;
  for (const auto& a : plan.accelerators)
    keys.push_back({static_cast<BYTE>(FVIRTKEY | (a.control ? FCONTROL : 0) | (a.shift ? FSHIFT : 0)), a.virtualKey,
                    static_cast<WORD>(a.command)});
  return CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

HCURSOR CreatePointer(std::span<const uint8_t> block) {
  if (block.size() < 4) return nullptr;
  const int32_t first = static_cast<int32_t>(LoadU32(block.data()));
  if (first == -1) return PointerFromCursorFile(block.subspan(4));
  if (block.size() > 10)
    if (HCURSOR fromFile = PointerFromCursorFile(block)) return fromFile;
  return StandardPointer(static_cast<uint32_t>(first));
}

bool BuildWindow(RegistryEntry& entry, bool modal, HWND owner) {
  Build build(entry);
  if (!build.ReadRecords() || !build.MakeMenu() || !build.MakeWindow(modal, owner) || !build.MakeControls()) {
    build.Undo();
    return false;
  }
  build.Parent();
  build.Stack();
  build.Pointers();
  build.ShowControls();
  if (entry.accelerators) DestroyAcceleratorTable(entry.accelerators);
  entry.accelerators = build.accelerators;
  return true;
}

}  // namespace vorrik
