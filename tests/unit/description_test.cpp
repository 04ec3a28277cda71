// The stored description format: records, tables and sets read back what was
// written, and damaged data is refused rather than read past its end.
#include "windows/description.h"

#include <gtest/gtest.h>

namespace vorrik {
namespace {

ControlRecord Button() {
  ControlRecord r;
  r.kind = kKindButton;
  r.name = "按钮1";
  r.left = -16;
  r.top = 24;
  r.width = 168;
  r.height = 40;
  r.parent = 0x16010002;
  r.children = {0x16010003, 0};
  r.state = kStateVisible | kStateTabStop;
  r.tabOrder = 2;
  r.bindings = {{0, 1}, {3, -1}};
  r.settings = {1, 0, 0, 0, 9, 9};
  return r;
}

MenuItemRecord Item(uint32_t level, const char* title, int32_t handler) {
  MenuItemRecord m;
  m.level = level;
  m.title = title;
  m.handler = handler;
  m.shortcut = 5;
  return m;
}

ControlTable SampleTable() {
  ControlRecord window;
  window.kind = kKindWindow;
  return ControlTable::Make({0x06010000, 0x16010008, 0x26010039, 0x2601003A, 0x16010042},
                            {EncodeControlRecord(window), EncodeControlRecord(Button()),
                             EncodeMenuItemRecord(Item(0, "首页", -1)), EncodeMenuItemRecord(Item(1, "刷新游戏", 4)),
                             EncodeControlRecord(window)});
}

TEST(Description, RecordsRoundTrip) {
  auto control = DecodeControlRecord(EncodeControlRecord(Button()));
  ASSERT_TRUE(control);
  EXPECT_EQ(*control, Button());
  auto item = DecodeMenuItemRecord(EncodeMenuItemRecord(Item(1, "-", 3)));
  ASSERT_TRUE(item);
  EXPECT_EQ(*item, Item(1, "-", 3));
  EXPECT_EQ(ReadBindings(EncodeControlRecord(Button())), Button().bindings);
  EXPECT_EQ(ReadMenuHandler(EncodeMenuItemRecord(Item(0, "x", 7))), 7);
}

TEST(Description, TruncatedRecordsAreRefusedAtEveryLength) {
  auto control = EncodeControlRecord(Button());
  const size_t fixedPart = control.size() - Button().settings.size();
  for (size_t cut = 0; cut < fixedPart; ++cut) {
    std::vector<uint8_t> part(control.begin(), control.begin() + cut);
    EXPECT_FALSE(DecodeControlRecord(part)) << cut;
  }
  auto item = EncodeMenuItemRecord(Item(0, "首页", -1));
  for (size_t cut = 0; cut < item.size(); ++cut)
    EXPECT_FALSE(DecodeMenuItemRecord({item.data(), cut})) << cut;
}

TEST(Description, TableFindsRecordsByIdentifierAndMenuRun) {
  ControlTable table = SampleTable();
  EXPECT_EQ(table.Count(), 5u);
  EXPECT_EQ(table.IndexOf(0x16010008), 1u);
  EXPECT_FALSE(table.IndexOf(0x16019999));
  EXPECT_EQ(table.KindCode(1), kKindButton);
  EXPECT_TRUE(table.IsMenuItem(2));
  EXPECT_FALSE(table.IsMenuItem(4));
  EXPECT_EQ(table.MenuRun().first, 2u);
  EXPECT_EQ(table.MenuRun().length, 2u);
  EXPECT_EQ(ControlTable::Make({0x06010000}, {EncodeControlRecord(Button())}).MenuRun().length, 0u);
}

TEST(Description, ReplacingARecordKeepsTheOthersReachable) {
  ControlTable table = SampleTable();
  ControlRecord wider = Button();
  wider.name = "一个更长的名字";
  wider.settings.resize(200, 7);
  table.ReplaceRecord(1, EncodeControlRecord(wider));
  EXPECT_EQ(*DecodeControlRecord(table.Record(1)), wider);
  EXPECT_EQ(DecodeMenuItemRecord(table.Record(3))->title, "刷新游戏");
  EXPECT_EQ(table.KindCode(4), kKindWindow);
  auto again = ControlTable::Decode(table.Count(), table.Body());
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, table);
}

TEST(Description, SetRoundTripsAndRefusesDamage) {
  DescriptionSet set;
  set.ids = {0x52010001, 0x5201000F};
  set.slots = {0, 0};
  for (uint32_t header : {0x00008056u, 0x00B82348u}) {
    WindowDescription window;
    window.header1 = header;
    window.header2 = 0x1901001E;
    window.table = SampleTable();
    set.windows.push_back(window);
  }
  auto bytes = EncodeDescriptionSet(set);
  auto decoded = DecodeDescriptionSet(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, set);

  for (size_t cut = 0; cut < bytes.size(); cut += 7)
    EXPECT_FALSE(DecodeDescriptionSet({bytes.data(), cut})) << cut;

  auto badOffset = bytes;
  badOffset[20 + 24 + 5 * 4 + 4 + 3] = 0xFF;  // high byte of an offset in the first table
  EXPECT_FALSE(DecodeDescriptionSet(badOffset));

  auto hugeDirectory = bytes;
  hugeDirectory[3] = 0x7F;
  EXPECT_FALSE(DecodeDescriptionSet(hugeDirectory));
}

TEST(Description, EmptySetHasNoWindows) {
  const uint8_t empty[4] = {};
  auto set = DecodeDescriptionSet(empty);
  ASSERT_TRUE(set);
  EXPECT_TRUE(set->windows.empty());
}

TEST(Description, HandlerReferencesMustNameKnownHandlers) {
  ControlTable table = SampleTable();  // references 1 (button) and 4 (menu item)
  EXPECT_TRUE(HandlerReferencesValid(table, 5));
  EXPECT_FALSE(HandlerReferencesValid(table, 4));
  ControlRecord bad = Button();
  bad.bindings = {{0, -2}};
  EXPECT_FALSE(HandlerReferencesValid(ControlTable::Make({0x06010000}, {EncodeControlRecord(bad)}), 5));
}

TEST(Description, IdentifierRules) {
  EXPECT_TRUE(IsValidIdentifier(0x52010001));
  EXPECT_FALSE(IsValidIdentifier(0x52000000));
  EXPECT_FALSE(IsValidIdentifier(0x50010001));
  EXPECT_TRUE(IsMenuItemIdentifier(0x26010039));
  EXPECT_FALSE(IsMenuItemIdentifier(0x16010039));
  EXPECT_FALSE(IsMenuItemIdentifier(0x27010039));
}

}  // namespace
}  // namespace vorrik
