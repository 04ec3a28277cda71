// Keys and focus in a real window with real buttons: Tab order with ties
// broken by creation order, Enter with and without a default button, and a
// window whose destroy is pending being built anew by the next load.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "tests/win/test_support.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/window.h"
#include "windows/kinds/window_settings.h"

namespace vorrik {
namespace {

using ::testing::ElementsAre;

constexpr uint32_t kWindow = 0x52010001, kOwnItem = 0x06010000;
constexpr uint32_t kA = 0x16010002, kB = 0x16010003, kC = 0x16010004;

std::vector<std::string> g_clicks;
std::optional<int32_t> ClickedA(std::span<const uint32_t>) {
  g_clicks.push_back("A");
  return std::nullopt;
}
std::optional<int32_t> ClickedB(std::span<const uint32_t>) {
  g_clicks.push_back("B");
  return std::nullopt;
}
std::optional<int32_t> ClickedC(std::span<const uint32_t>) {
  g_clicks.push_back("C");
  return std::nullopt;
}
constexpr HandlerRoutine kHandlers[] = {ClickedA, ClickedB, ClickedC};

std::vector<uint8_t> ButtonRecord(const char* title, int top, uint32_t tabOrder, bool isDefault, int32_t handler) {
  ButtonSettings settings;
  settings.title = title;
  settings.isDefault = isDefault;
  ControlRecord r;
  r.kind = kKindButton;
  r.left = 10;
  r.top = top;
  r.width = 80;
  r.height = 24;
  r.state = kStateVisible | kStateTabStop;
  r.tabOrder = tabOrder;
  r.bindings = {{kEventClicked, handler}};
  r.settings = EncodeButtonSettings(settings);
  return EncodeControlRecord(r);
}

DescriptionSet Window(bool defaultOnC, uint32_t enterMovesFocus = 0) {
  WindowSettings settings;
  settings.title = "keys";
  settings.enterMovesFocus = enterMovesFocus;
  ControlRecord window;
  window.kind = kKindWindow;
  window.width = 300;
  window.height = 200;
  window.state = kStateVisible;
  window.settings = EncodeWindowSettings(settings);
  // A and C share tab order 1; C is created first (the last entry is made
  // first), so C comes before A. B has order 0 and comes first of all.
  return test::OneWindowSet(kWindow, {{kOwnItem, EncodeControlRecord(window)},
                                      {kA, ButtonRecord("A", 10, 1, false, 0)},
                                      {kB, ButtonRecord("B", 40, 0, false, 1)},
                                      {kC, ButtonRecord("C", 70, 1, defaultOnC, 2)}});
}

class WindowKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_clicks.clear();
    if (!Shell().toolWindow) Shell().toolWindow = CreateShellToolWindow(GetModuleHandleA(nullptr));
  }
  void TearDown() override {
    if (registry_ && Entry().Loaded()) DestroyWindow(Entry().objects[0]);
  }
  void Load(DescriptionSet set) {
    TearDown();  // a window of the previous set goes first
    registry_.emplace(std::move(set), kHandlers);
    ASSERT_TRUE(LoadWindow(kWindow, nullptr, false));
    SetForegroundWindow(Entry().objects[0]);
    SetFocus(Control(kB));
  }
  RegistryEntry& Entry() { return *registry_->Get().Find(kWindow); }
  HWND Control(uint32_t id) { return Entry().objects[*Entry().working.table.IndexOf(id)]; }
  void Key(WORD key) {
    MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    EXPECT_TRUE(TranslateWindowMessage(message));
  }
  std::optional<test::ScopedRegistry> registry_;
};

TEST_F(WindowKeysTest, TabFollowsTabOrderWithTiesInCreationOrderAndWraps) {
  Load(Window(false));
  ASSERT_EQ(GetFocus(), Control(kB));
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), Control(kC));
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), Control(kA));
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), Control(kB));
}

TEST_F(WindowKeysTest, EnterClicksTheDefaultButtonOrNothing) {
  Load(Window(true));
  Key(VK_RETURN);  // focus on B, not a default button: the first default button in table order
  Load(Window(false));
  Key(VK_RETURN);  // no default button at all
  EXPECT_THAT(g_clicks, ElementsAre("C"));
}

TEST_F(WindowKeysTest, EnterMovesFocusWhenAskedTo) {
  Load(Window(false, 1));
  Key(VK_RETURN);
  EXPECT_EQ(GetFocus(), Control(kC));
  EXPECT_TRUE(g_clicks.empty());
}

TEST_F(WindowKeysTest, LoadOfAWindowWhoseDestroyIsPendingBuildsItAnew) {
  Load(Window(false));
  HWND first = Entry().objects[0];
  DestroyLoadedWindow(kWindow);  // deferred: still there, destroy pending
  ASSERT_TRUE(IsWindow(first));
  ASSERT_TRUE(LoadWindow(kWindow, nullptr, false));
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(Entry().Loaded());
  EXPECT_NE(Entry().objects[0], first);
  ProcessPendingMessages();  // the old request finds nothing pending any more
  EXPECT_TRUE(Entry().Loaded());
}

}  // namespace
}  // namespace vorrik
