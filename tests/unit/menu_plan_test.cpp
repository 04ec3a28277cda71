// Planning menu bars: command numbers follow the run whatever is shown,
// shortcuts give names and accelerator pairs, odd levels nest sensibly.
#include "windows/menu_plan.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vorrik {
namespace {

using Type = MenuNode::Type;

struct ItemSpec {
  uint32_t level;
  const char* title;
  uint32_t flags = 0;
  uint32_t shortcut = 0;
};

// A window entry followed by a run of menu items.
ControlTable TableOf(const std::vector<ItemSpec>& specs) {
  ControlRecord window;
  window.kind = kKindWindow;
  std::vector<uint32_t> ids{0x06010000};
  std::vector<std::vector<uint8_t>> records{EncodeControlRecord(window)};
  for (size_t i = 0; i < specs.size(); ++i) {
    MenuItemRecord item;
    item.level = specs[i].level;
    item.title = specs[i].title;
    item.flags = specs[i].flags;
    item.shortcut = specs[i].shortcut;
    ids.push_back(0x26010039 + static_cast<uint32_t>(i));
    records.push_back(EncodeMenuItemRecord(item));
  }
  return ControlTable::Make(ids, records);
}

// "text:command" for each node, children in brackets; "-" for separators.
std::string Outline(const std::vector<MenuNode>& nodes) {
  std::string out;
  for (const auto& node : nodes) {
    if (!out.empty()) out += ' ';
    out += node.type == Type::kSeparator ? std::string("-") : node.text;
    out += ':' + std::to_string(node.command);
    if (node.greyed) out += "(grey)";
    if (node.checked) out += "(check)";
    if (node.type == Type::kDropDown) out += '[' + Outline(node.children) + ']';
  }
  return out;
}

TEST(MenuPlan, GameWindowRunFromTheStoredSet) {
  std::ifstream in(VORRIK_SET_FILE, std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  auto set = DecodeDescriptionSet(bytes);
  ASSERT_TRUE(set);
  auto plan = PlanMenuBar(set->windows[1].table);
  ASSERT_TRUE(plan);
  EXPECT_EQ(Outline(plan->bar), "首页:20000[刷新游戏:20001 清理白屏:20002 -:20003 联系作者:20004]");
  EXPECT_TRUE(plan->accelerators.empty());
  EXPECT_TRUE(PlanMenuBar(set->windows[0].table)->bar.empty());
}

TEST(MenuPlan, TableOfRuns) {
  struct Case {
    const char* what;
    std::vector<ItemSpec> items;
    const char* outline;
  } cases[] = {
      {"bar item without items is an empty drop-down", {{0, "文件"}, {0, "帮助"}}, "文件:20000[] 帮助:20001[]"},
      {"hidden leaf and separator still use numbers",
       {{0, "A"}, {1, "x", kMenuHidden}, {1, "-"}, {1, "y", kMenuChecked | kMenuDisabled}},
       "A:20000[-:20002 y:20003(grey)(check)]"},
      {"hidden bar item takes its items along",
       {{0, "A", kMenuHidden}, {1, "a1"}, {2, "a2"}, {0, "B", kMenuDisabled}, {1, "b1"}},
       "B:20003(grey)[b1:20004]"},
      {"nested drop-downs", {{0, "A"}, {1, "sub"}, {2, "deep"}, {1, "back"}}, "A:20000[sub:20001[deep:20002] back:20003]"},
      {"levels that jump nest under the nearest head",
       {{0, "A"}, {3, "far"}, {1, "near"}, {5, "x"}, {0, "B"}},
       "A:20000[far:20001 near:20002[x:20003]] B:20004[]"},
      {"a first item deeper than 0 still heads the bar", {{2, "odd"}, {3, "in"}, {0, "B"}}, "odd:20000[in:20001] B:20002[]"},
  };
  for (const auto& c : cases) {
    auto plan = PlanMenuBar(TableOf(c.items));
    ASSERT_TRUE(plan) << c.what;
    EXPECT_EQ(Outline(plan->bar), c.outline) << c.what;
  }
}

TEST(MenuPlan, ShortcutsNameTheKeysAndMakeAcceleratorPairs) {
  auto plan = PlanMenuBar(TableOf({{0, "编辑", 0, 3},  // a bar item's own shortcut is not used
                                   {1, "复制", 0, 3},
                                   {1, "帮助", 0, 27},
                                   {1, "a", 0, 50},
                                   {1, "b", 0, 51},
                                   {1, "c", 0, 74},
                                   {1, "插入", 0, 75},
                                   {1, "删除", 0, 76},
                                   {1, "none", 0, 77},
                                   {1, "hidden", kMenuHidden, 5}}));
  ASSERT_TRUE(plan);
  EXPECT_EQ(Outline(plan->bar),
            "编辑:20000[复制\tCtrl+C:20001 帮助\tF1:20002 a\tCtrl+F12:20003 b\tShift+F1:20004 "
            "c\tCtrl+Shift+F12:20005 插入\tIns:20006 删除\tDel:20007 none:20008]");
  const std::vector<Accelerator> expected{
      {20001, 'C', true, false},      {20002, 0x70, false, false}, {20003, 0x7B, true, false},
      {20004, 0x70, false, true},     {20005, 0x7B, true, true},   {20006, kKeyInsert, false, false},
      {20007, kKeyDelete, false, false},
  };
  EXPECT_EQ(plan->accelerators, expected);
}

TEST(MenuPlan, CommandsMapBackToTheirRunEntry) {
  ControlTable table = TableOf({{0, "A"}, {1, "-"}, {1, "b"}});
  EXPECT_EQ(MenuEntryForCommand(table, 20000), 1u);
  EXPECT_EQ(MenuEntryForCommand(table, 20002), 3u);
  EXPECT_FALSE(MenuEntryForCommand(table, 20003));   // past the last item
  EXPECT_FALSE(MenuEntryForCommand(table, 19999));   // a control's
  EXPECT_FALSE(MenuEntryForCommand(table, 0xE100));  // the system's
  EXPECT_FALSE(MenuEntryForCommand(TableOf({}), 20000));
}

TEST(MenuPlan, UnreadableItemRecordRefusesThePlan) {
  ControlRecord window;
  window.kind = kKindWindow;
  const auto item = EncodeMenuItemRecord({});
  const std::vector<uint8_t> cut(item.begin(), item.end() - 3);
  EXPECT_FALSE(PlanMenuBar(ControlTable::Make({0x06010000, 0x26010039}, {EncodeControlRecord(window), cut})));
}

}  // namespace
}  // namespace vorrik
