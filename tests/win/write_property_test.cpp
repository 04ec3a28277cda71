// Property writes by index: limits, the working description and the live
// objects, the two failures, rebuilding a control in place, and menu items.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "shell/window_lifecycle.h"
#include "tests/win/property_test_kinds.h"
#include "tests/win/test_support.h"
#include "windows/kinds/timer.h"
#include "windows/kinds/timer_settings.h"

namespace vorrik {
namespace {

using ::testing::ElementsAre;

constexpr uint32_t kWindow = 0x52010001, kOwnItem = 0x06010000;
constexpr uint32_t kFrame = 0x16010002, kField = 0x16010003, kBelow = 0x16010004, kTimer = 0x16010005;
constexpr uint32_t kHead = 0x26010039, kLeaf = 0x2601003A;
constexpr int32_t kWhole = -1;

enum : int32_t { kLeft, kTop, kWidth, kHeight, kTag, kVisible, kDisable, kMousePointer };
enum : int32_t { kMenuTitle, kMenuChecked, kMenuDisable, kMenuVisible };

int g_fieldEvents = 0;
std::optional<int32_t> CountFieldEvent(std::span<const uint32_t>) {
  ++g_fieldEvents;
  return std::nullopt;
}
constexpr HandlerRoutine kHandlers[] = {CountFieldEvent};

const KindEntryPoints kKinds[] = {test::TestWindowKind(), test::TestControlKind(), TimerKind()};

uint32_t Word(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

std::vector<uint8_t> Control(uint32_t kind, int left, int top, uint32_t parent, uint32_t state,
                             std::vector<uint8_t> settings = {}) {
  ControlRecord r;
  r.kind = kind;
  r.left = left;
  r.top = top;
  r.width = 80;
  r.height = 20;
  r.parent = parent;
  r.state = state;
  r.settings = std::move(settings);
  r.bindings = {{0, 0}};
  return EncodeControlRecord(r);
}

std::vector<uint8_t> WindowRecord() {
  ControlRecord r;
  r.kind = kKindWindow;
  r.left = r.top = 50;
  r.width = 320;
  r.height = 240;
  r.state = kStateVisible;
  return EncodeControlRecord(r);
}

std::vector<uint8_t> MenuItem(uint32_t level, const char* title, uint32_t flags = 0) {
  MenuItemRecord m;
  m.level = level;
  m.title = title;
  m.flags = flags;
  return EncodeMenuItemRecord(m);
}

// The field sits inside the frame, above its sibling "below".
DescriptionSet TestSet() {
  return test::OneWindowSet(
      kWindow, {
                   {kOwnItem, WindowRecord()},
                   {kField, Control(kKindLabel, 10, 12, kFrame, kStateVisible, test::TestControlSettings(3, "字段"))},
                   {kBelow, Control(kKindLabel, 10, 40, kFrame, kStateVisible)},
                   {kHead, MenuItem(0, "首页")},
                   {kLeaf, MenuItem(1, "刷新")},
                   {kTimer, Control(kKindTimer, 0, 0, 0, kStateVisible, EncodeTimerSettings({0}))},
                   {kFrame, Control(kKindLabel, 8, 8, 0, kStateVisible)},
               });
}

class WritePropertyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fieldEvents = 0;
    test::TestControlCreations().clear();
  }
  void TearDown() override {
    if (Entry().Loaded()) DestroyWindow(Entry().objects[0]);
  }

  ScopedKindTable kinds_{kKinds};
  test::ScopedRegistry registry_{TestSet(), kHandlers};

  RegistryEntry& Entry() { return *registry_.Get().Find(kWindow); }
  uint32_t Slot(uint32_t id) { return *Entry().working.table.IndexOf(id); }
  HWND Object(uint32_t id) { return Entry().objects[Slot(id)]; }
  ControlRecord Stored(uint32_t id) { return *DecodeControlRecord(Entry().working.table.Record(Slot(id))); }
  MenuItemRecord StoredItem(uint32_t id) { return *DecodeMenuItemRecord(Entry().working.table.Record(Slot(id))); }
  void Load() { ASSERT_TRUE(LoadWindow(kWindow, nullptr, false)); }
  void Write(uint32_t item, int32_t index, uint32_t value) { WriteProperty(kWindow, item, index, kWhole, value, 0); }

  // The control's rectangle in its parent's client area.
  RECT Placed(uint32_t id) {
    RECT r;
    GetWindowRect(Object(id), &r);
    MapWindowPoints(nullptr, GetParent(Object(id)), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

TEST_F(WritePropertyTest, PositionAndSizeAreLimitedStoredAndApplied) {
  Load();
  struct Case {
    int32_t index;
    int32_t value, expected;
  } cases[] = {
      {kLeft, 40000, 32627}, {kLeft, -40000, -32627}, {kTop, 32628, 32627},   {kTop, -7, -7},
      {kWidth, -5, 0},       {kWidth, 99999, 32627},  {kHeight, -1, 0},       {kHeight, 33, 33},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + " <- " + std::to_string(c.value));
    Write(kField, c.index, static_cast<uint32_t>(c.value));
    const ControlRecord stored = Stored(kField);
    const RECT live = Placed(kField);
    switch (c.index) {
      case kLeft:
        EXPECT_EQ(stored.left, c.expected);
        EXPECT_EQ(live.left, c.expected);
        break;
      case kTop:
        EXPECT_EQ(stored.top, c.expected);
        EXPECT_EQ(live.top, c.expected);
        break;
      case kWidth:
        EXPECT_EQ(stored.width, c.expected);
        EXPECT_EQ(live.right - live.left, c.expected);
        break;
      case kHeight:
        EXPECT_EQ(stored.height, c.expected);
        EXPECT_EQ(live.bottom - live.top, c.expected);
        break;
    }
  }
}

TEST_F(WritePropertyTest, WritesToAWindowNotLoadedTakeEffectAtTheNextLoad) {
  Write(kField, kLeft, 77);
  Write(kBelow, kVisible, 0);
  Write(kOwnItem, kLeft, 40000);
  EXPECT_EQ(Stored(kField).left, 77);
  EXPECT_EQ(Stored(kOwnItem).left, 32627);
  Load();
  EXPECT_EQ(Placed(kField).left, 77);
  EXPECT_FALSE(IsWindowVisible(Object(kBelow)));
}

TEST_F(WritePropertyTest, WritesWhileLoadedAreForgottenWhenTheWindowIsLoadedAgain) {
  Load();
  Write(kField, kLeft, 123);
  Write(kField, kTag, Word("written"));
  Write(kLeaf, kMenuTitle, Word("改过"));
  DestroyLoadedWindow(kWindow, true);
  ASSERT_FALSE(Entry().Loaded());
  EXPECT_EQ(Stored(kField).left, 10);
  EXPECT_EQ(Stored(kField).tag, "");
  EXPECT_EQ(StoredItem(kLeaf).title, "刷新");
  Load();
  EXPECT_EQ(Placed(kField).left, 10);
}

TEST_F(WritePropertyTest, TagIsACopyAndNullIsTheEmptyText) {
  char text[] = "mine";
  Write(kField, kTag, Word(text));
  text[0] = 'X';  // the caller keeps its own text
  EXPECT_EQ(Stored(kField).tag, "mine");
  Write(kField, kTag, 0);
  EXPECT_EQ(Stored(kField).tag, "");
}

TEST_F(WritePropertyTest, VisibleAndDisableReachTheLiveControlButATimerIsNeverShown) {
  Load();
  Write(kField, kVisible, 0);
  EXPECT_FALSE(IsWindowVisible(Object(kField)));
  EXPECT_FALSE(Stored(kField).state & kStateVisible);
  Write(kField, kVisible, 1);
  EXPECT_TRUE(IsWindowVisible(Object(kField)));
  Write(kTimer, kVisible, 1);
  EXPECT_FALSE(GetWindowLongA(Object(kTimer), GWL_STYLE) & WS_VISIBLE);
  Write(kField, kDisable, 1);
  EXPECT_FALSE(IsWindowEnabled(Object(kField)));
  EXPECT_TRUE(Stored(kField).state & kStateDisabled);
  Write(kField, kDisable, 0);
  EXPECT_TRUE(IsWindowEnabled(Object(kField)));
}

TEST_F(WritePropertyTest, WindowVisibleHidesAndShowsTheWindow) {
  Load();
  HWND window = Entry().objects[0];
  Write(kOwnItem, kVisible, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  Write(kOwnItem, kVisible, 1);
  EXPECT_TRUE(IsWindowVisible(window));
}

// A modal window loaded hidden waits at its first show, inside the write.
HWND g_modal = nullptr;
bool g_modalWasVisible = false;
void CALLBACK CloseModal(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_modalWasVisible = IsWindowVisible(g_modal);
  DestroyWindow(g_modal);
}

TEST_F(WritePropertyTest, ShowingAHiddenModalWindowWaitsUntilItIsGone) {
  Write(kOwnItem, kVisible, 0);
  ASSERT_TRUE(LoadWindow(kWindow, nullptr, true));  // hidden: no wait yet
  ASSERT_TRUE(Entry().Loaded());
  g_modal = Entry().objects[0];
  g_modalWasVisible = false;
  SetTimer(nullptr, 0, 100, CloseModal);
  Write(kOwnItem, kVisible, 1);
  EXPECT_TRUE(g_modalWasVisible);
  EXPECT_FALSE(Entry().Loaded());
}

TEST_F(WritePropertyTest, MousePointerIsStoredAndMadeWhileLoaded) {
  const uint8_t hand[] = {1, 0, 0, 0, 4, 0, 0, 0, 14, 0, 0, 0};  // a ByteBuffer holding pointer 14
  Load();
  Write(kField, kMousePointer, Word(hand));
  EXPECT_THAT(Stored(kField).mousePointer, ElementsAre(14, 0, 0, 0));
  EXPECT_NE(Entry().cursors[Slot(kField)], nullptr);
  Write(kField, kMousePointer, 0);  // the kind's own pointer again
  EXPECT_TRUE(Stored(kField).mousePointer.empty());
  EXPECT_EQ(Entry().cursors[Slot(kField)], nullptr);
}

TEST_F(WritePropertyTest, OwnTextPropertyGoesToTheLiveControlAndNullIsEmpty) {
  Load();
  char text[] = "新的";
  Write(kField, test::kCaptionProperty, Word(text));
  char shown[32] = {};
  GetWindowTextA(Object(kField), shown, sizeof shown);
  EXPECT_STREQ(shown, "新的");
  Write(kField, test::kCaptionProperty, 0);
  GetWindowTextA(Object(kField), shown, sizeof shown);
  EXPECT_STREQ(shown, "");
  EXPECT_THAT(test::TestControlCreations(), ElementsAre("0:", "0:", "3:字段"));  // built once, never rebuilt
}

TEST_F(WritePropertyTest, AnItemTheWindowDoesNotHaveChangesNothing) {
  Load();
  const std::vector<uint8_t> before = Entry().working.table.Body();
  Write(0x1601FFFF, kLeft, 5);
  Write(0x1601FFFF, test::kShapeProperty, 5);
  Write(0x2601FFFF, kMenuTitle, Word("x"));
  EXPECT_EQ(Entry().working.table.Body(), before);
}

// ---- Rebuilding a control whose kind asks for it ----

TEST_F(WritePropertyTest, RebuiltControlKeepsPlaceParentStackingVisibilityAndFocus) {
  Load();
  HWND window = Entry().objects[0];
  SetForegroundWindow(window);
  HWND old = Object(kField);
  SetFocus(old);
  ASSERT_EQ(GetFocus(), old);
  Write(kField, kLeft, 14);
  Write(kField, test::kCaptionProperty, Word("保留"));
  const RECT place = Placed(kField);
  HWND parent = GetParent(old);
  test::TestControlCreations().clear();

  Write(kField, test::kShapeProperty, 9);

  HWND fresh = Object(kField);
  ASSERT_NE(fresh, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_THAT(test::TestControlCreations(), ElementsAre("9:保留"));  // made from the old control's settings
  EXPECT_EQ(GetParent(fresh), parent);
  EXPECT_EQ(parent, Object(kFrame));
  const RECT now = Placed(kField);
  EXPECT_EQ(now.left, place.left);
  EXPECT_EQ(now.top, place.top);
  EXPECT_EQ(now.right, place.right);
  EXPECT_EQ(now.bottom, place.bottom);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), fresh);  // still above its sibling
  EXPECT_EQ(GetWindow(fresh, GW_HWNDNEXT), Object(kBelow));
  EXPECT_TRUE(IsWindowVisible(fresh));
  EXPECT_EQ(GetFocus(), fresh);
  EXPECT_EQ(g_fieldEvents, 0);  // raised by Create during the rebuild: dropped
  EXPECT_EQ(Shell().holdCount, 0);
}

TEST_F(WritePropertyTest, HiddenControlStaysHiddenWhenRebuilt) {
  Load();
  Write(kBelow, kVisible, 0);
  HWND old = Object(kBelow);
  Write(kBelow, test::kShapeProperty, 4);
  ASSERT_NE(Object(kBelow), old);
  EXPECT_FALSE(IsWindowVisible(Object(kBelow)));
  EXPECT_EQ(GetWindow(Object(kField), GW_HWNDNEXT), Object(kBelow));
}

TEST_F(WritePropertyTest, TheWindowItselfIsNeverRebuilt) {
  Load();
  HWND window = Entry().objects[0];
  Write(kOwnItem, 9, 1);  // the test window kind asks for a rebuild of everything
  EXPECT_EQ(Entry().objects[0], window);
  EXPECT_TRUE(IsWindow(window));
}

// ---- Menu items ----

std::string BarText(HWND window) {
  char text[64] = {};
  GetMenuStringA(GetMenu(window), 0, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST_F(WritePropertyTest, MenuTitleChangeRebuildsTheBarAndTheSameValueKeepsIt) {
  Load();
  HWND window = Entry().objects[0];
  HMENU first = GetMenu(window);
  ASSERT_EQ(BarText(window), "首页");
  Write(kHead, kMenuTitle, Word("首页"));
  EXPECT_EQ(GetMenu(window), first);
  Write(kHead, kMenuTitle, Word("主页"));
  EXPECT_EQ(BarText(window), "主页");
  EXPECT_NE(GetMenu(window), first);
  EXPECT_FALSE(IsMenu(first));  // the old bar is gone
  EXPECT_EQ(StoredItem(kHead).title, "主页");
}

TEST_F(WritePropertyTest, MenuFlagsAreStoredAndShownInTheRebuiltBar) {
  Load();
  HWND window = Entry().objects[0];
  Write(kLeaf, kMenuChecked, 1);
  Write(kLeaf, kMenuDisable, 1);
  EXPECT_EQ(StoredItem(kLeaf).flags, kMenuChecked | kMenuDisabled);
  const UINT state = GetMenuState(GetSubMenu(GetMenu(window), 0), 0, MF_BYPOSITION);
  EXPECT_TRUE(state & MF_CHECKED);
  EXPECT_TRUE(state & MF_GRAYED);
  Write(kLeaf, kMenuVisible, 0);
  EXPECT_EQ(StoredItem(kLeaf).flags, kMenuChecked | kMenuDisabled | kMenuHidden);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(window), 0)), 0);
  HMENU bar = GetMenu(window);
  Write(kLeaf, 4, 1);  // no such menu-item property
  EXPECT_EQ(GetMenu(window), bar);
}

TEST_F(WritePropertyTest, MenuWriteToAWindowNotLoadedOnlyChangesTheDescription) {
  Write(kLeaf, kMenuTitle, Word("离线"));
  EXPECT_EQ(StoredItem(kLeaf).title, "离线");
  Load();
  char text[64] = {};
  GetMenuStringA(GetSubMenu(GetMenu(Entry().objects[0]), 0), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "离线");
}

// ---- Failures ----

std::string Box(const char* message) {
  return test::EscapedBox("错误", std::string("运行时出错!\r\n\r\n错误信息：") + message + "\r\n") + " flags-ok";
}

TEST_F(WritePropertyTest, FailuresAreRunTimeErrors) {
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(test::PrintErrorBox);
        WriteProperty(0x5201FFFF, kField, kLeft, kWhole, 1, 0);
      },
      ::testing::ExitedWithCode(-1), ::testing::HasSubstr(Box("未载入欲访问窗口组件所在的窗口")));
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(test::PrintErrorBox);
        Write(kField, test::kCaptionProperty, Word("x"));
      },
      ::testing::ExitedWithCode(-1), ::testing::HasSubstr(Box("指定窗口尚未载入")));
}

}  // namespace
}  // namespace vorrik
