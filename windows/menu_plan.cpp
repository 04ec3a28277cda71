#include "windows/menu_plan.h"

namespace vorrik {
namespace {

struct Item {
  uint32_t entry;
  MenuItemRecord record;
};

class Planner {
 public:
  explicit Planner(std::vector<Item> items) : items_(std::move(items)) {}

  // Every item met at the bar is a drop-down head, with or without items.
  MenuPlan Plan() {
    MenuPlan plan;
    size_t i = 0;
    while (i < items_.size()) {
      if (Hidden(i)) {
        SkipSubtree(i);
        continue;
      }
      MenuNode head = Head(i);
      const uint32_t level = Level(i);
      ++i;
      Fill(head, level, i, plan);
      plan.bar.push_back(std::move(head));
    }
    return plan;
  }

 private:
  uint32_t Command(size_t i) const { return kFirstMenuCommand + static_cast<uint32_t>(i); }
  uint32_t Level(size_t i) const { return items_[i].record.level; }
  bool Hidden(size_t i) const { return items_[i].record.flags & kMenuHidden; }

  // Skips an item and everything deeper that follows it.
  void SkipSubtree(size_t& i) const {
    const uint32_t level = Level(i);
    for (++i; i < items_.size() && Level(i) > level;) ++i;
  }

  MenuNode Head(size_t i) const {
    MenuNode node;
    node.type = MenuNode::Type::kDropDown;
    node.text = items_[i].record.title;
    node.command = Command(i);
    node.entry = items_[i].entry;
    node.greyed = items_[i].record.flags & kMenuDisabled;
    return node;
  }

  void Fill(MenuNode& menu, uint32_t headLevel, size_t& i, MenuPlan& plan) {
    while (i < items_.size() && Level(i) > headLevel) {
      const bool isHead = i + 1 < items_.size() && Level(i + 1) > Level(i);
      if (Hidden(i)) {
        SkipSubtree(i);  // a hidden head takes its items with it
        continue;
      }
      if (isHead) {
        MenuNode sub = Head(i);
        const uint32_t level = Level(i);
        ++i;
        Fill(sub, level, i, plan);
        menu.children.push_back(std::move(sub));
        continue;
      }
      menu.children.push_back(Leaf(i, plan));
      ++i;
    }
  }

  MenuNode Leaf(size_t i, MenuPlan& plan) const {
    const MenuItemRecord& record = items_[i].record;
    MenuNode node;
    node.entry = items_[i].entry;
    node.command = Command(i);
    if (record.title == "-") {
      node.type = MenuNode::Type::kSeparator;
      return node;
    }
    node.text = record.title;
    node.checked = record.flags & kMenuChecked;
    node.greyed = record.flags & kMenuDisabled;
    if (auto shortcut = ShortcutByNumber(record.shortcut)) {
      node.text += '\t';
      node.text += shortcut->name;
      Accelerator key = shortcut->key;
      key.command = node.command;
      plan.accelerators.push_back(key);
    }
    return node;
  }

  std::vector<Item> items_;
};

constexpr const char* kFunctionNames[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
constexpr const char* kCtrlFunctionNames[] = {"Ctrl+F1", "Ctrl+F2", "Ctrl+F3", "Ctrl+F4",  "Ctrl+F5",  "Ctrl+F6",
                                              "Ctrl+F7", "Ctrl+F8", "Ctrl+F9", "Ctrl+F10", "Ctrl+F11", "Ctrl+F12"};
constexpr const char* kShiftFunctionNames[] = {"Shift+F1", "Shift+F2", "Shift+F3", "Shift+F4",  "Shift+F5",  "Shift+F6",
                                               "Shift+F7", "Shift+F8", "Shift+F9", "Shift+F10", "Shift+F11", "Shift+F12"};
constexpr const char* kCtrlShiftFunctionNames[] = {
    "Ctrl+Shift+F1", "Ctrl+Shift+F2", "Ctrl+Shift+F3", "Ctrl+Shift+F4",  "Ctrl+Shift+F5",  "Ctrl+Shift+F6",
    "Ctrl+Shift+F7", "Ctrl+Shift+F8", "Ctrl+Shift+F9", "Ctrl+Shift+F10", "Ctrl+Shift+F11", "Ctrl+Shift+F12"};
constexpr const char* kCtrlLetterNames[] = {"Ctrl+A", "Ctrl+B", "Ctrl+C", "Ctrl+D", "Ctrl+E", "Ctrl+F", "Ctrl+G",
                                            "Ctrl+H", "Ctrl+I", "Ctrl+J", "Ctrl+K", "Ctrl+L", "Ctrl+M", "Ctrl+N",
                                            "Ctrl+O", "Ctrl+P", "Ctrl+Q", "Ctrl+R", "Ctrl+S", "Ctrl+T", "Ctrl+U",
                                            "Ctrl+V", "Ctrl+W", "Ctrl+X", "Ctrl+Y", "Ctrl+Z"};

}  // namespace

std::optional<Shortcut> ShortcutByNumber(uint32_t n) {
  auto function = [](const char* const* names, uint32_t k, bool control, bool shift) {
    return Shortcut{names[k], {0, static_cast<uint8_t>(kKeyF1 + k), control, shift}};
  };
  if (n >= 1 && n <= 26) return Shortcut{kCtrlLetterNames[n - 1], {0, static_cast<uint8_t>('A' + n - 1), true, false}};
  if (n >= 27 && n <= 38) return function(kFunctionNames, n - 27, false, false);
  if (n >= 39 && n <= 50) return function(kCtrlFunctionNames, n - 39, true, false);
  if (n >= 51 && n <= 62) return function(kShiftFunctionNames, n - 51, false, true);
  if (n >= 63 && n <= 74) return function(kCtrlShiftFunctionNames, n - 63, true, true);
  if (n == 75) return Shortcut{"Ins", {0, kKeyInsert, false, false}};
  if (n == 76) return Shortcut{"Del", {0, kKeyDelete, false, false}};
  return std::nullopt;
}

std::optional<MenuPlan> PlanMenuBar(const ControlTable& table) {
  const auto run = table.MenuRun();
  std::vector<Item> items;
  for (uint32_t i = 0; i < run.length; ++i) {
    auto record = DecodeMenuItemRecord(table.Record(run.first + i));
    if (!record) return std::nullopt;
    items.push_back({run.first + i, std::move(*record)});
  }
  return Planner(std::move(items)).Plan();
}

std::optional<uint32_t> MenuEntryForCommand(const ControlTable& table, uint32_t command) {
  if (command < kFirstMenuCommand || command >= kSystemCommandBase) return std::nullopt;
  const auto run = table.MenuRun();
  const uint32_t k = command - kFirstMenuCommand;
  if (k >= run.length) return std::nullopt;
  return run.first + k;
}

}  // namespace vorrik
