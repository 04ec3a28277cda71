// The window kind and the shell's window life cycle with real windows:
// placement, owner, events in order, close queries, deferred destruction,
// modal waits, and the quit after the last window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "tests/win/test_support.h"
#include "windows/kinds/kind.h"
#include "windows/kinds/window.h"
#include "windows/kinds/window_settings.h"

namespace vorrik {
namespace {

using ::testing::ElementsAre;

constexpr uint32_t kFirst = 0x52010001, kFirstItem = 0x06010000;
constexpr uint32_t kSecond = 0x5201000F, kSecondItem = 0x0601000E;

std::vector<std::string> g_events;
int32_t g_closeAnswer = 1;
bool g_destroySecondDeferred = false;

std::optional<int32_t> Note(const char* what) {
  g_events.push_back(what);
  return std::nullopt;
}
std::optional<int32_t> OnCreated(std::span<const uint32_t>) { return Note("created"); }
std::optional<int32_t> OnMoved(std::span<const uint32_t>) { return Note("moved"); }
std::optional<int32_t> OnResized(std::span<const uint32_t>) { return Note("resized"); }
std::optional<int32_t> OnCloseQuery(std::span<const uint32_t>) {
  g_events.push_back("close-query");
  return g_closeAnswer;
}
std::optional<int32_t> OnDestroying(std::span<const uint32_t>) { return Note("destroying"); }
std::optional<int32_t> OnSecondCreated(std::span<const uint32_t>) {
  g_events.push_back("second-created");
  if (g_destroySecondDeferred) {
    DestroyLoadedWindow(kSecond);
    g_events.push_back("after-destroy-call");
  }
  return std::nullopt;
}
constexpr HandlerRoutine kHandlers[] = {OnCreated, OnMoved, OnResized, OnCloseQuery, OnDestroying, OnSecondCreated};

std::vector<uint8_t> WindowRecord(uint32_t state, std::vector<EventBinding> bindings, WindowSettings settings) {
  ControlRecord r;
  r.kind = kKindWindow;
  r.left = r.top = 50;
  r.width = 601;  // odd: centring rounds toward zero
  r.height = 356;
  r.state = state;
  r.bindings = std::move(bindings);
  r.settings = EncodeWindowSettings(settings);
  return EncodeControlRecord(r);
}

DescriptionSet TwoWindows(WindowSettings first = {}, WindowSettings second = {}) {
  first.title = "第一";
  second.title = "第二";
  auto set = test::OneWindowSet(
      kFirst, {{kFirstItem, WindowRecord(kStateVisible, {{0, 0}, {3, 1}, {4, 2}, {1, 3}, {2, 4}}, first)}});
  auto other = test::OneWindowSet(kSecond, {{kSecondItem, WindowRecord(kStateVisible, {{0, 5}}, second)}});
  set.ids.push_back(kSecond);
  set.slots.push_back(0);
  set.windows.push_back(other.windows[0]);
  return set;
}

class WindowLifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    g_closeAnswer = 1;
    g_destroySecondDeferred = false;
    if (!Shell().toolWindow) Shell().toolWindow = CreateShellToolWindow(GetModuleHandleA(nullptr));
  }
  void TearDown() override {
    for (auto& entry : registry_->Get().Entries())
      if (entry.Loaded()) DestroyWindow(entry.objects[0]);
  }
  void Use(DescriptionSet set) { registry_.emplace(std::move(set), kHandlers); }
  RegistryEntry& Entry(uint32_t id) { return *registry_->Get().Find(id); }
  HWND Window(uint32_t id) { return Entry(id).objects[0]; }
  std::optional<test::ScopedRegistry> registry_;
};

TEST_F(WindowLifecycleTest, LoadRaisesCreatedMovedResizedAndCentresOnTheScreen) {
  Use(TwoWindows());
  ASSERT_TRUE(LoadWindow(kFirst, nullptr, false));
  EXPECT_THAT(g_events, ElementsAre("created", "moved", "resized"));
  HWND window = Window(kFirst);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 601);
  EXPECT_EQ(r.bottom - r.top, 356);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 601) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 356) / 2);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);  // its own taskbar button
  char title[32] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "第一");
  EXPECT_EQ(WindowKind().GetProperty(window, 10), 0u);  // StartPosition: live state, normal
}

TEST_F(WindowLifecycleTest, FrameFollowsTheBorderStyleAndBoxes) {
  WindowSettings s;
  s.borderStyle = 2;
  s.minButton = 1;
  s.maxButton = 0;
  Use(TwoWindows(s));
  ASSERT_TRUE(LoadWindow(kFirst, nullptr, false));
  const LONG style = GetWindowLongA(Window(kFirst), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST_F(WindowLifecycleTest, CloseQueryAnsweredFalseKeepsTheWindow) {
  Use(TwoWindows());
  ASSERT_TRUE(LoadWindow(kFirst, nullptr, false));
  g_events.clear();
  g_closeAnswer = 0;
  SendMessageA(Window(kFirst), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Entry(kFirst).Loaded());
  g_closeAnswer = 1;
  SendMessageA(Window(kFirst), WM_CLOSE, 0, 0);
  EXPECT_FALSE(Entry(kFirst).Loaded());
  EXPECT_THAT(g_events, ElementsAre("close-query", "close-query", "destroying"));
}

TEST_F(WindowLifecycleTest, DestroyLoadedWindowIsDeferredAndRaisesNoCloseQuery) {
  Use(TwoWindows());
  ASSERT_TRUE(LoadWindow(kFirst, nullptr, false));
  g_events.clear();
  DestroyLoadedWindow(kFirst);
  EXPECT_TRUE(Entry(kFirst).Loaded());  // still there until the request is taken from the queue
  ProcessPendingMessages();
  EXPECT_FALSE(Entry(kFirst).Loaded());
  EXPECT_THAT(g_events, ElementsAre("destroying"));
}

TEST_F(WindowLifecycleTest, ModalLoadWaitsUntilTheWindowIsDestroyedAndReenablesOthers) {
  Use(TwoWindows());
  ASSERT_TRUE(LoadWindow(kFirst, nullptr, false));
  g_destroySecondDeferred = true;
  g_events.clear();
  ASSERT_TRUE(LoadWindow(kSecond, nullptr, true));  // returns only once the second window is gone
  EXPECT_THAT(g_events, ElementsAre("second-created", "after-destroy-call"));
  EXPECT_FALSE(Entry(kSecond).Loaded());
  EXPECT_TRUE(IsWindowEnabled(Window(kFirst)));
}

TEST_F(WindowLifecycleTest, ModalWindowIsOwnedByTheToolWindowAndDisablesTheOther) {
  // The second window is loaded invisible, so the modal load does not wait
  // and its state can be looked at.
  DescriptionSet set = TwoWindows();
  set.windows[1].table = ControlTable::Make({kSecondItem}, {WindowRecord(0, {}, WindowSettings{})});
  Use(std::move(set));
  ASSERT_TRUE(LoadWindow(kFirst, nullptr, false));
  ASSERT_TRUE(LoadWindow(kSecond, nullptr, true));
  EXPECT_EQ(GetWindow(Window(kSecond), GW_OWNER), Shell().toolWindow);
  EXPECT_FALSE(IsWindowEnabled(Window(kFirst)));
  EXPECT_TRUE(Entry(kSecond).firstShowPending);
  DestroyLoadedWindow(kSecond, true);
  EXPECT_TRUE(IsWindowEnabled(Window(kFirst)));
}

TEST_F(WindowLifecycleTest, LastWindowGonePostsQuitZeroOnceTheMainLoopRuns) {
  Use(TwoWindows());
  ASSERT_TRUE(LoadWindow(kFirst, nullptr, false));
  Shell().mainLoopStarted = true;
  DestroyLoadedWindow(kFirst, true);
  Shell().mainLoopStarted = false;
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

TEST_F(WindowLifecycleTest, EscapeClosesThroughTheCloseQuery) {
  Use(TwoWindows());
  ASSERT_TRUE(LoadWindow(kFirst, nullptr, false));
  g_events.clear();
  MSG key{Window(kFirst), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(TranslateWindowMessage(key));
  EXPECT_FALSE(Entry(kFirst).Loaded());
  EXPECT_THAT(g_events, ElementsAre("close-query", "destroying"));
}

}  // namespace
}  // namespace vorrik
