// Keys and focus in a real window with real buttons: Tab order with ties
// broken by creation order, Enter with and without a default button, Alt
// mnemonics, F1 and the help file, and a window whose destroy is pending
// being built anew by the next load.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "tests/win/test_support.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/label_settings.h"
#include "windows/kinds/window.h"
#include "windows/kinds/window_help.h"
#include "windows/kinds/window_settings.h"

namespace vorrik {
namespace {

using ::testing::ElementsAre;

constexpr uint32_t kWindow = 0x52010001, kOwnItem = 0x06010000;
constexpr uint32_t kA = 0x16010002, kB = 0x16010003, kC = 0x16010004, kD = 0x16010005;
constexpr uint32_t kE = 0x16010006, kF = 0x16010007, kName = 0x16010008, kGroup = 0x16010009, kLast = 0x1601000A;

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
std::optional<int32_t> ClickedD(std::span<const uint32_t>) {
  g_clicks.push_back("D");
  return std::nullopt;
}
constexpr HandlerRoutine kHandlers[] = {ClickedA, ClickedB, ClickedC, ClickedD};

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

std::vector<uint8_t> Record(uint32_t kind, std::vector<uint8_t> settings, int top, uint32_t tabOrder,
                            uint32_t state, uint32_t parent = 0, int32_t handler = kNoHandler) {
  ControlRecord r;
  r.kind = kind;
  r.left = 10;
  r.top = top;
  r.width = 120;
  r.height = 24;
  r.state = state;
  r.tabOrder = tabOrder;
  r.parent = parent;
  r.bindings = {{kEventClicked, handler}};
  r.settings = std::move(settings);
  return EncodeControlRecord(r);
}

std::vector<uint8_t> ButtonSettingsFor(const char* title) {
  ButtonSettings s;
  s.title = title;
  return EncodeButtonSettings(s);
}
std::vector<uint8_t> LabelSettingsFor(const char* title) {
  LabelSettings s;
  s.title = title;
  return EncodeLabelSettings(s);
}

std::vector<uint8_t> GroupBoxSettingsFor(const char* title) {
  GroupBoxSettings s;
  s.title = title;
  return EncodeGroupBoxSettings(s);
}

std::vector<uint8_t> WindowRecord(WindowSettings settings) {
  ControlRecord window;
  window.kind = kKindWindow;
  window.width = 300;
  window.height = 200;
  window.state = kStateVisible;
  window.settings = EncodeWindowSettings(settings);
  return EncodeControlRecord(window);
}

DescriptionSet Window(bool defaultOnC, uint32_t enterMovesFocus = 0) {
  WindowSettings settings;
  settings.title = "keys";
  settings.enterMovesFocus = enterMovesFocus;
  // A and C share tab order 1; C is created first (the last entry is made
  // first), so C comes before A. B has order 0 and comes first of all.
  return test::OneWindowSet(kWindow, {{kOwnItem, WindowRecord(settings)},
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
  void Key(WORD key) { EXPECT_TRUE(Translate(WM_KEYDOWN, key)); }
  bool Translate(UINT message, WORD key, LPARAM lParam = 0) {
    MSG msg{GetFocus(), message, key, lParam, 0, {}};
    return TranslateWindowMessage(msg);
  }
  // Alt held: the character of a system key, with the context bit set.
  bool AltKey(WORD character) { return Translate(WM_SYSCHAR, character, 1 << 29); }
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

// Mnemonics in table order: a disabled "&Save" before the live one, a
// label followed in Tab order by D, a group box holding E and F, and a last
// label after which Tab order wraps to B.
DescriptionSet MnemonicWindow() {
  constexpr uint32_t kLive = kStateVisible | kStateTabStop;
  return test::OneWindowSet(
      kWindow, {{kOwnItem, WindowRecord({})},
                {kA, Record(kKindButton, ButtonSettingsFor("&Save"), 10, 1, kLive | kStateDisabled, 0, 0)},
                {kB, Record(kKindButton, ButtonSettingsFor("&Go"), 40, 0, kLive, 0, 1)},
                {kC, Record(kKindButton, ButtonSettingsFor("&Save"), 70, 1, kLive, 0, 2)},
                {kName, Record(kKindLabel, LabelSettingsFor("&Name:"), 100, 2, kStateVisible)},
                {kD, Record(kKindButton, ButtonSettingsFor("Item &2"), 130, 3, kLive, 0, 3)},
                {kGroup, Record(kKindGroupBox, GroupBoxSettingsFor("&Options"), 160, 4, kStateVisible)},
                {kE, Record(kKindButton, ButtonSettingsFor("E"), 10, 6, kLive, kGroup)},
                {kF, Record(kKindButton, ButtonSettingsFor("F"), 40, 5, kLive, kGroup)},
                {kLast, Record(kKindLabel, LabelSettingsFor("&Last"), 250, 9, kStateVisible)}});
}

TEST_F(WindowKeysTest, AltMnemonicsPressButtonsAndMoveTheFocus) {
  Load(MnemonicWindow());
  struct Case {
    WORD key;
    std::vector<std::string> clicks;
    uint32_t focus;  // where the focus goes; 0 when not asked
  } cases[] = {
      {'s', {"C"}, 0},  // the disabled "&Save" earlier in the table is passed over
      {'2', {"D"}, 0},
      {'n', {}, kD},    // the label hands the focus to what follows it in Tab order
      {'O', {}, kF},    // the group box to the first control inside it in Tab order; Shift makes no odds
      {'l', {}, kB},    // after the last label Tab order wraps around
  };
  for (const auto& c : cases) {
    g_clicks.clear();
    SetFocus(Control(kE));
    EXPECT_TRUE(AltKey(c.key)) << char(c.key);
    EXPECT_EQ(g_clicks, c.clicks) << char(c.key);
    if (c.focus) {
      EXPECT_EQ(GetFocus(), Control(c.focus)) << char(c.key);
    }
  }
}

TEST_F(WindowKeysTest, KeysWithoutAMnemonicOwnerAreLeftToTheSystem) {
  Load(MnemonicWindow());
  SetFocus(Control(kE));
  EXPECT_FALSE(AltKey('z'));                      // nobody marks Z
  EXPECT_FALSE(AltKey('&'));
  EXPECT_FALSE(Translate(WM_SYSCHAR, 's', 0));     // typed while no window has the focus, no Alt
  EXPECT_FALSE(Translate(WM_SYSKEYDOWN, 'S', 1 << 29));  // the key itself is the system's
  EXPECT_TRUE(g_clicks.empty());
  EXPECT_EQ(GetFocus(), Control(kE));
}

// Typed on the keyboard and taken through the program's message loop: the
// button is pressed once, and releasing Alt afterwards does not put the
// window into menu mode.
TEST_F(WindowKeysTest, AltMnemonicTypedOnTheKeyboard) {
  Load(MnemonicWindow());
  SetFocus(Control(kE));
  std::vector<INPUT> inputs;
  for (auto [key, flags] : {std::pair<WORD, DWORD>{VK_MENU, 0}, {'S', 0}, {'S', KEYEVENTF_KEYUP},
                            {VK_MENU, KEYEVENTF_KEYUP}}) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  }
  ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
  for (int i = 0; i < 10; ++i) {
    Sleep(20);
    ProcessPendingMessages();
  }
  EXPECT_EQ(g_clicks, std::vector<std::string>{"C"});
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &info));
  EXPECT_EQ(info.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE | GUI_POPUPMENUMODE), 0u);
}

struct HelpCall {
  HWND window;
  std::string file;
  UINT command;
  ULONG_PTR data;
  bool operator==(const HelpCall&) const = default;
};
std::vector<HelpCall> g_helpCalls;
BOOL WINAPI RecordHelp(HWND window, LPCSTR file, UINT command, ULONG_PTR data) {
  g_helpCalls.push_back({window, file ? file : "<null>", command, data});
  return TRUE;
}

// A file that exists for the scope.
class ScopedFile {
 public:
  explicit ScopedFile(std::string path) : path_(std::move(path)) {
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  ~ScopedFile() { DeleteFileA(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string TempPath(const char* name) {
  char directory[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, directory);
  return std::string(directory) + name;
}

std::string ProgramHelpPath() {
  char path[MAX_PATH] = {};
  std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return program.substr(0, program.rfind('.')) + ".hlp";
}

TEST_F(WindowKeysTest, F1OpensTheHelpFileAtItsTopicOrContents) {
  ScopedHelpViewer viewer(RecordHelp);
  const ScopedFile help(TempPath("vorrik keys test.hlp"));
  const ScopedFile programHelp(ProgramHelpPath());
  struct Case {
    const char* what;
    uint32_t f1OpensHelp;
    std::string file;
    uint32_t topic;
    bool consumed;
    std::string opened;  // empty: nothing opened
    UINT command;
  } cases[] = {
      {"topic", 1, help.path(), 42, true, help.path(), HELP_CONTEXT},
      {"contents", 1, help.path(), 0, true, help.path(), HELP_CONTENTS},
      {"the program's own help file", 1, "", 7, true, programHelp.path(), HELP_CONTEXT},
      {"missing file", 1, TempPath("vorrik no such file.hlp"), 42, true, "", 0},
      {"F1 not asked for", 0, help.path(), 42, false, "", 0},
  };
  for (const auto& c : cases) {
    g_helpCalls.clear();
    WindowSettings settings;
    settings.f1OpensHelp = c.f1OpensHelp;
    settings.helpFile = c.file;
    settings.helpContext = c.topic;
    Load(test::OneWindowSet(kWindow, {{kOwnItem, WindowRecord(settings)}, {kB, ButtonRecord("B", 40, 0, false, 1)}}));
    HWND window = Entry().objects[0];
    EXPECT_EQ(Translate(WM_KEYDOWN, VK_F1), c.consumed) << c.what;
    DestroyWindow(window);  // the viewer is told the window no longer needs it
    std::vector<HelpCall> expected;
    if (!c.opened.empty()) {
      expected.push_back({window, c.opened, c.command, c.command == HELP_CONTEXT ? c.topic : 0});
      expected.push_back({window, c.opened, HELP_QUIT, 0});
    }
    EXPECT_EQ(g_helpCalls, expected) << c.what;
  }
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
