// Building windows from descriptions with test kinds that record what the
// builder asks of them: creation order, child numbers, containers, stacking,
// visibility, menus, and what a failed build leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "shell/window_lifecycle.h"
#include "tests/win/test_support.h"
#include "windows/builder.h"
#include "windows/kinds/kind.h"

namespace vorrik {
namespace {

using ::testing::ElementsAre;

constexpr uint32_t kWindow = 0x52010001, kOwnItem = 0x06010000;
constexpr uint32_t kTestWindowKind = kKindWindow, kTestControlKind = kKindLabel, kTestTimerKind = kKindTimer;
constexpr uint32_t kFrame = 0x16010002, kInFrame = 0x16010003, kOnTop = 0x16010004, kTimer = 0x16010005;
constexpr uint32_t kBroken = 0x16010006;

std::vector<std::string> g_log;

std::string NameOf(const CreateArguments& args) {
  char name[16];
  wsprintfA(name, "%X", args.controlId);
  return name;
}

HWND CreateTestWindow(const CreateArguments& args) {
  g_log.push_back("window");
  return CreateWindowExA(0, "STATIC", "test window", WS_OVERLAPPEDWINDOW | args.style, args.left, args.top, args.width,
                         args.height, args.owner, args.menu, GetModuleHandleA(nullptr), nullptr);
}

HWND CreateTestControl(const CreateArguments& args) {
  g_log.push_back(NameOf(args) + "#" + std::to_string(args.childNumber));
  return CreateWindowExA(0, "STATIC", NameOf(args).c_str(), WS_CHILD | args.style, args.left, args.top, args.width,
                         args.height, args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.childNumber)),
                         GetModuleHandleA(nullptr), nullptr);
}

uint32_t TestGetProperty(HWND, int32_t) { return 1; }  // StartPosition: centred
void NoteComplete(HWND control) {
  char text[32] = {};
  GetWindowTextA(control, text, sizeof text);
  g_log.push_back(std::string("complete:") + text);
}

const KindEntryPoints kTestKinds[] = {
    {kTestWindowKind, "窗口", "window", {}, false, false, CreateTestWindow, nullptr, TestGetProperty},
    {kTestControlKind, "标签", "label", {}, false, false, CreateTestControl, nullptr, nullptr, nullptr, NoteComplete},
    {kTestTimerKind, "时钟", "timer", {}, true, false, CreateTestControl},
};

std::vector<uint8_t> Record(uint32_t kind, int left, int top, uint32_t parent, uint32_t state,
                            std::vector<uint32_t> children = {}) {
  ControlRecord r;
  r.kind = kind;
  r.left = left;
  r.top = top;
  r.width = 50;
  r.height = 20;
  r.parent = parent;
  r.state = state;
  r.children = std::move(children);
  return EncodeControlRecord(r);
}

std::vector<uint8_t> Item(uint32_t level, const char* title, uint32_t shortcut = 0) {
  MenuItemRecord m;
  m.level = level;
  m.title = title;
  m.shortcut = shortcut;
  return EncodeMenuItemRecord(m);
}

DescriptionSet TestSet(bool withBrokenKind = false) {
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> entries{
      {kOwnItem, Record(kTestWindowKind, 50, 50, 0, 0)},
      {kOnTop, Record(kTestControlKind, 10, 10, 0, kStateVisible | kStateTabStop)},
      {kInFrame, Record(kTestControlKind, 16, 32, kFrame, kStateVisible | kStateDisabled)},
      {0x26010039, Item(0, "首页")},
      {0x2601003A, Item(1, "刷新", 6)},
      {kTimer, Record(kTestTimerKind, 0, 0, 0, kStateVisible)},
      {kFrame, Record(kTestControlKind, 8, 168, 0, kStateVisible, {kInFrame})},
  };
  if (withBrokenKind) entries.push_back({kBroken, Record(0x00019999, 0, 0, 0, kStateVisible)});
  return test::OneWindowSet(kWindow, entries);
}

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { g_log.clear(); }
  ScopedKindTable kinds_{kTestKinds};
  test::ScopedRegistry registry_{TestSet(), {}};
  RegistryEntry& Entry() { return *registry_.Get().Find(kWindow); }
  HWND Object(uint32_t id) { return Entry().objects[*Entry().working.table.IndexOf(id)]; }
  void TearDown() override {
    if (Entry().Loaded()) DestroyWindow(Entry().objects[0]);
  }
};

TEST_F(BuilderTest, ControlsAreMadeLastEntryFirstWithChildNumbersAndToldWhenAllExist) {
  ASSERT_TRUE(BuildWindow(Entry(), false, nullptr));
  EXPECT_THAT(g_log, ElementsAre("window", "16010002#100", "16010005#110", "16010003#120", "16010004#130",
                                 "complete:16010002", "complete:16010003", "complete:16010004"));
}

TEST_F(BuilderTest, ContainersPositionsStackingAndVisibility) {
  ASSERT_TRUE(BuildWindow(Entry(), false, nullptr));
  HWND window = Entry().objects[0];
  EXPECT_FALSE(IsWindowVisible(window));  // the window itself stays hidden
  EXPECT_EQ(GetParent(Object(kInFrame)), Object(kFrame));
  EXPECT_EQ(GetParent(Object(kOnTop)), window);

  // Shown at (8 + 16, 168 + 32) of the window's client area.
  RECT r;
  GetWindowRect(Object(kInFrame), &r);
  POINT p{r.left, r.top};
  ScreenToClient(window, &p);
  EXPECT_EQ(p.x, 24);
  EXPECT_EQ(p.y, 200);

  // Siblings in table order from the top: on-top, timer, frame.
  EXPECT_EQ(GetWindow(window, GW_CHILD), Object(kOnTop));
  EXPECT_EQ(GetWindow(Object(kOnTop), GW_HWNDNEXT), Object(kTimer));
  EXPECT_EQ(GetWindow(Object(kTimer), GW_HWNDNEXT), Object(kFrame));

  EXPECT_TRUE(GetWindowLongA(Object(kOnTop), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(Object(kOnTop), GWL_STYLE) & WS_TABSTOP);
  EXPECT_TRUE(GetWindowLongA(Object(kInFrame), GWL_STYLE) & WS_DISABLED);
  EXPECT_FALSE(GetWindowLongA(Object(kTimer), GWL_STYLE) & WS_VISIBLE);  // a kind never shown
}

TEST_F(BuilderTest, MenuBarCarriesCommandNumbersAndShortcuts) {
  ASSERT_TRUE(BuildWindow(Entry(), false, nullptr));
  HMENU bar = GetMenu(Entry().objects[0]);
  ASSERT_TRUE(bar);
  HMENU dropDown = GetSubMenu(bar, 0);
  ASSERT_TRUE(dropDown);
  EXPECT_EQ(GetMenuItemID(dropDown, 0), 20001u);
  char text[64] = {};
  GetMenuStringA(dropDown, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "刷新\tCtrl+F");
  ASSERT_TRUE(Entry().accelerators);
  ACCEL keys[2];
  ASSERT_EQ(CopyAcceleratorTableA(Entry().accelerators, keys, 2), 1);
  EXPECT_EQ(keys[0].cmd, 20001);
  EXPECT_EQ(keys[0].key, 'F');
  EXPECT_EQ(keys[0].fVirt, FVIRTKEY | FCONTROL);
}

TEST(BuilderFailure, UnknownKindLeavesNoWindowBehind) {
  g_log.clear();
  ScopedKindTable kinds(kTestKinds);
  test::ScopedRegistry registry(TestSet(true), {});
  RegistryEntry& entry = *registry.Get().Find(kWindow);
  EXPECT_FALSE(BuildWindow(entry, false, nullptr));
  EXPECT_EQ(FindWindowA("STATIC", "test window"), nullptr);
  for (HWND object : entry.objects) EXPECT_EQ(object, nullptr);
  EXPECT_FALSE(entry.Loaded());
}

std::vector<std::string> g_events;
std::optional<int32_t> LogCreated(std::span<const uint32_t>) {
  g_events.push_back("created");
  return std::nullopt;
}
std::optional<int32_t> LogMoved(std::span<const uint32_t>) {
  g_events.push_back("moved");
  return std::nullopt;
}
constexpr HandlerRoutine kEventHandlers[] = {LogCreated, LogMoved};

TEST(LoadWindowTest, CreatedThenMovedAfterTheBuildAndASecondLoadBuildsNothing) {
  g_events.clear();
  ScopedKindTable kinds(kTestKinds);
  ControlRecord window;
  window.kind = kTestWindowKind;
  window.width = window.height = 100;
  window.bindings = {{kEventCreated, 0}, {kEventMoved, 1}};
  test::ScopedRegistry registry(test::OneWindowSet(kWindow, {{kOwnItem, EncodeControlRecord(window)}}),
                                kEventHandlers);
  ASSERT_TRUE(LoadWindow(kWindow, nullptr, false));
  EXPECT_THAT(g_events, ElementsAre("created", "moved"));
  RegistryEntry& entry = *registry.Get().Find(kWindow);
  HWND first = entry.objects[0];
  EXPECT_TRUE(entry.saved.has_value());
  ASSERT_TRUE(LoadWindow(kWindow, nullptr, true));
  EXPECT_EQ(entry.objects[0], first);
  EXPECT_THAT(g_events, ElementsAre("created", "moved"));
  uint32_t missingParent = 0x5201FFFF;
  EXPECT_FALSE(LoadWindow(kWindow, &missingParent, false));
  DestroyWindow(first);
}

}  // namespace
}  // namespace vorrik
