// The menu bar of a window, planned from its run of menu items: which items
// become drop-downs, commands and separators, their command numbers, and the
// accelerator pairs of their shortcuts. Portable; the builder makes the
// native menu from the plan.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "windows/description.h"

namespace vorrik {

// Command number of the first item of a run; 20000 + k is item k.
constexpr uint32_t kFirstMenuCommand = 20000;
// Commands from here on belong to the system, never to a menu item.
constexpr uint32_t kSystemCommandBase = 0xE100;

// Virtual-key codes used by shortcuts (same values as the system's).
constexpr uint8_t kKeyF1 = 0x70, kKeyInsert = 0x2D, kKeyDelete = 0x2E;

struct MenuNode {
  enum class Type { kDropDown, kCommand, kSeparator };
  Type type = Type::kCommand;
  std::string text;  // the title, with a tab and the shortcut's name for a command that has one
  uint32_t command = 0;
  uint32_t entry = 0;  // table entry of the item
  bool checked = false;
  bool greyed = false;
  std::vector<MenuNode> children;
  bool operator==(const MenuNode&) const = default;
};

struct Accelerator {
  uint32_t command = 0;
  uint8_t virtualKey = 0;
  bool control = false, shift = false;
  bool operator==(const Accelerator&) const = default;
};

struct MenuPlan {
  std::vector<MenuNode> bar;
  std::vector<Accelerator> accelerators;
};

struct Shortcut {
  const char* name;
  Accelerator key;  // command left 0
};

// The shortcut with its number (1 to 76), or none for any other number.
std::optional<Shortcut> ShortcutByNumber(uint32_t number);

// None when a record of the run cannot be read.
std::optional<MenuPlan> PlanMenuBar(const ControlTable& table);

// The run entry of a chosen command, or none when the number is not one of
// the run's (too high, a control's, or a system command).
std::optional<uint32_t> MenuEntryForCommand(const ControlTable& table, uint32_t command);

}  // namespace vorrik
