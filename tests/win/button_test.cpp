// The Button kind: creation, property writes, saved settings, and the
// events it raises through the window's reflection.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "tests/win/kind_test_support.h"
#include "tests/win/test_support.h"
#include "windows/kinds/button.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/group_box.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/kind_gdi.h"

namespace vorrik {
namespace {

using test::ArgumentsFor;
using test::TextValue;
using ::testing::ElementsAre;

constexpr uint32_t kWindow = 0x52010001, kOwnItem = 0x06010000, kButton = 0x16010008, kFrame = 0x16010002;

std::vector<std::string> g_events;
std::optional<int32_t> Clicked(std::span<const uint32_t>) {
  g_events.push_back("clicked");
  return std::nullopt;
}
std::optional<int32_t> GotFocus(std::span<const uint32_t>) {
  g_events.push_back("got focus");
  return std::nullopt;
}
std::optional<int32_t> LostFocus(std::span<const uint32_t>) {
  g_events.push_back("lost focus");
  return std::nullopt;
}
constexpr HandlerRoutine kHandlers[] = {Clicked, GotFocus, LostFocus};

DescriptionSet TestSet() {
  ControlRecord window, button, frame;
  window.kind = kKindWindow;
  button.kind = kKindButton;
  button.bindings = {{kEventClicked, 0}, {static_cast<uint32_t>(kEventFocusGained), 1}, {static_cast<uint32_t>(kEventFocusLost), 2}};
  frame.kind = kKindGroupBox;
  return test::OneWindowSet(kWindow, {{kOwnItem, EncodeControlRecord(window)},
                                      {kButton, EncodeControlRecord(button)},
                                      {kFrame, EncodeControlRecord(frame)}});
}

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { g_events.clear(); }
  HWND Make(std::span<const uint8_t> block, HWND parent = nullptr) {
    HWND button = button::Create(ArgumentsFor(block, parent ? parent : window_.get(), {20, 20, 168, 40}, kWindow, kButton));
    if (button) ShowWindow(button, SW_SHOWNA);
    return button;
  }
  HWND Make(const ButtonSettings& settings) {
    block_ = EncodeButtonSettings(settings);
    return Make(block_);
  }
  ButtonSettings Current(HWND button) { return *DecodeButtonSettings(button::SaveSettings(button)); }

  test::ScopedRegistry registry_{TestSet(), kHandlers};
  test::ReflectingWindow window_;
  std::vector<uint8_t> block_;
};

TEST_F(ButtonTest, EmptyBlockGivesACentredPushButton) {
  HWND button = Make(std::span<const uint8_t>{});
  ASSERT_TRUE(button);
  EXPECT_EQ(Current(button), ButtonSettings{});
  char className[16] = {}, text[16] = {};
  GetClassNameA(button, className, sizeof className);
  GetWindowTextA(button, text, sizeof text);
  EXPECT_STREQ(className, "Button");
  EXPECT_STREQ(text, "按钮");
  const DWORD style = GetWindowLongA(button, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, DWORD(BS_PUSHBUTTON));
  EXPECT_EQ(style & (BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_CLIPSIBLINGS),
            DWORD(BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_CLIPSIBLINGS));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(ButtonTest, RefusedVersionGivesNoButton) {
  const std::vector<uint8_t> newer = {2, 0, 0, 0};
  EXPECT_EQ(Make(newer), nullptr);
}

TEST_F(ButtonTest, StoredStateBitsAndFontAreApplied) {
  ButtonSettings s;
  s.isDefault = 1;
  s.hAlign = 0;
  s.vAlign = 2;
  LogFont font;
  font.height = -14;
  font.SetFace("宋体");
  s.font = font;
  block_ = EncodeButtonSettings(s);
  auto args = ArgumentsFor(block_, window_.get(), {0, 0, 80, 30});
  args.style = WS_DISABLED | WS_TABSTOP;
  HWND button = button::Create(args);
  ASSERT_TRUE(button);
  const DWORD style = GetWindowLongA(button, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, DWORD(BS_DEFPUSHBUTTON));
  EXPECT_EQ(style & (BS_CENTER | BS_VCENTER), DWORD(BS_LEFT | BS_BOTTOM));
  EXPECT_EQ(style & (WS_DISABLED | WS_TABSTOP), DWORD(WS_DISABLED | WS_TABSTOP));
  HFONT used = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
  EXPECT_NE(used, GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA made{};
  GetObjectA(used, sizeof made, &made);
  EXPECT_EQ(made.lfHeight, -14);
  EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(made.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(Current(button), s);
  DestroyWindow(button);
}

TEST_F(ButtonTest, WritesAreClampedAppliedAndSaved) {
  struct Case {
    int32_t index;
    int32_t written;
    uint32_t read;
    DWORD mask, style;
  };
  const Case cases[] = {
      {button::kIsDefault, 5, 1, BS_TYPEMASK, BS_DEFPUSHBUTTON},
      {button::kIsDefault, -1, 0, BS_TYPEMASK, BS_PUSHBUTTON},
      {button::kHAlign, 7, 2, BS_CENTER, BS_RIGHT},
      {button::kHAlign, 0, 0, BS_CENTER, BS_LEFT},
      {button::kVAlign, -3, 0, BS_VCENTER, BS_TOP},
      {button::kVAlign, 9, 2, BS_VCENTER, BS_BOTTOM},
  };
  HWND button = Make(ButtonSettings{});
  ASSERT_TRUE(button);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "index " << c.index << " written " << c.written);
    EXPECT_FALSE(button::SetProperty(button, c.index, static_cast<uint32_t>(c.written)));
    EXPECT_EQ(button::GetProperty(button, c.index), c.read);
    EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & c.mask, c.style);
  }
  button::SetProperty(button, button::kTitle, TextValue("关闭×"));
  char text[16] = {};
  GetWindowTextA(button, text, sizeof text);
  EXPECT_STREQ(text, "关闭×");
  button::SetProperty(button, button::kTitle, 0);
  EXPECT_EQ(test::TextOfValue(button::GetProperty(button, button::kTitle)), "");

  const auto undecodable = BufferOfBytes(std::vector<uint8_t>{9, 9, 9});
  button::SetProperty(button, button::kPicture, test::BlockValue(undecodable));
  EXPECT_EQ(test::BytesOfValue(button::GetProperty(button, button::kPicture)), (std::vector<uint8_t>{9, 9, 9}));
  EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & (BS_ICON | BS_BITMAP), 0u);  // nothing to show: text stays

  ButtonSettings expected;
  expected.isDefault = 0;
  expected.hAlign = 0;
  expected.vAlign = 2;
  expected.title = "";
  expected.picture = {9, 9, 9};
  const auto saved = button::SaveSettings(button);
  EXPECT_EQ(saved[0], kButtonSettingsVersion);
  EXPECT_EQ(*DecodeButtonSettings(saved), expected);
}

TEST_F(ButtonTest, BitmapPictureIsShownInsteadOfTheText) {
  // A 2 x 2 24-bit BMP file.
  std::vector<uint8_t> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
                              0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              0, 0, 0, 0};
  bmp.insert(bmp.end(), {0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0});
  ButtonSettings s;
  s.picture = bmp;
  HWND button = Make(s);
  ASSERT_TRUE(button);
  EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & BS_BITMAP, DWORD(BS_BITMAP));
  HBITMAP shown = reinterpret_cast<HBITMAP>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_TRUE(shown);
  BITMAP info{};
  GetObjectA(shown, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmHeight, 2);
}

TEST_F(ButtonTest, ClickRaisesClickedThroughTheWindow) {
  HWND button = Make(ButtonSettings{});
  ASSERT_TRUE(button);
  SendMessageA(button, BM_CLICK, 0, 0);
  test::PumpMessages();
  SetFocus(window_.get());
  EXPECT_THAT(g_events, ElementsAre("got focus", "clicked", "lost focus"));
}

TEST_F(ButtonTest, EventsAreDroppedWhileHeld) {
  HWND button = Make(ButtonSettings{});
  ASSERT_TRUE(button);
  {
    EventHold hold;
    SendMessageA(button, BM_CLICK, 0, 0);
  }
  EXPECT_THAT(g_events, ElementsAre());
}

TEST_F(ButtonTest, ClickOfAButtonInsideAGroupBoxReachesTheWindow) {
  block_ = EncodeGroupBoxSettings(GroupBoxSettings{});
  HWND frame = group_box::Create(ArgumentsFor(block_, window_.get(), {8, 0, 352, 160}, kWindow, kFrame));
  ASSERT_TRUE(frame);
  ShowWindow(frame, SW_SHOWNA);
  std::vector<uint8_t> block = EncodeButtonSettings(ButtonSettings{});
  HWND button = Make(block, window_.get());
  SetParent(button, frame);
  SetFocus(window_.get());
  g_events.clear();
  SendMessageA(button, BM_CLICK, 0, 0);
  test::PumpMessages();
  EXPECT_THAT(g_events, ElementsAre("got focus", "clicked"));
}

TEST_F(ButtonTest, DestroyedButtonIsNotedInTheRegistry) {
  RegistryEntry& entry = *registry_.Get().Find(kWindow);
  HWND button = Make(ButtonSettings{});
  entry.objects = {window_.get(), button, nullptr};
  entry.cursors = {nullptr, nullptr, nullptr};
  DestroyWindow(button);
  EXPECT_EQ(entry.objects[1], nullptr);
}

}  // namespace
}  // namespace vorrik
