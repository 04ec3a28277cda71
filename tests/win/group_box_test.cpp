// The GroupBox kind: creation, property writes, saved settings, its colours
// answered through the window's reflection, and its children's messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/win/kind_test_support.h"
#include "windows/kinds/group_box.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/kind_gdi.h"

namespace vorrik {
namespace {

using test::ArgumentsFor;
using test::TextValue;

class GroupBoxTest : public ::testing::Test {
 protected:
  HWND Make(const GroupBoxSettings& settings) {
    block_ = EncodeGroupBoxSettings(settings);
    return Make(block_);
  }
  HWND Make(std::span<const uint8_t> block) {
    HWND frame = group_box::Create(ArgumentsFor(block, window_.get(), {8, 8, 232, 152}));
    if (frame) ShowWindow(frame, SW_SHOWNA);
    return frame;
  }
  GroupBoxSettings Current(HWND frame) { return *DecodeGroupBoxSettings(group_box::SaveSettings(frame)); }

  test::ReflectingWindow window_;
  std::vector<uint8_t> block_;
};

TEST_F(GroupBoxTest, EmptyBlockGivesAnUntitledFrameThatClipsItsChildren) {
  HWND frame = Make(std::span<const uint8_t>{});
  ASSERT_TRUE(frame);
  EXPECT_EQ(Current(frame), GroupBoxSettings{});
  EXPECT_EQ(GetWindowTextLengthA(frame), 0);
  const DWORD style = GetWindowLongA(frame, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, DWORD(BS_GROUPBOX));
  EXPECT_EQ(style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), DWORD(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(frame, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(GroupBoxTest, RefusedVersionGivesNoFrame) {
  const std::vector<uint8_t> newer = {2, 0, 0, 0};
  EXPECT_EQ(Make(newer), nullptr);
}

TEST_F(GroupBoxTest, WritesAreClampedAppliedAndSaved) {
  HWND frame = Make(GroupBoxSettings{});
  ASSERT_TRUE(frame);
  struct Case {
    int32_t written;
    uint32_t read;
    DWORD style;
  };
  const Case cases[] = {{1, 1, BS_CENTER}, {5, 2, BS_RIGHT}, {-1, 0, BS_LEFT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    EXPECT_FALSE(group_box::SetProperty(frame, group_box::kTitleAlign, static_cast<uint32_t>(c.written)));
    EXPECT_EQ(group_box::GetProperty(frame, group_box::kTitleAlign), c.read);
    EXPECT_EQ(GetWindowLongA(frame, GWL_STYLE) & BS_CENTER, c.style);
  }
  group_box::SetProperty(frame, group_box::kTitle, TextValue("登陆界面"));
  group_box::SetProperty(frame, group_box::kTextColor, 0x0000FF);
  group_box::SetProperty(frame, group_box::kBackColor, 0x00FFFF);
  LogFont font;
  font.height = -12;
  font.SetFace("宋体");
  const auto fontBlock = BufferOfFont(font);
  group_box::SetProperty(frame, group_box::kFont, test::BlockValue(fontBlock));
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageA(frame, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(test::TextOfValue(group_box::GetProperty(frame, group_box::kTitle)), "登陆界面");
  EXPECT_EQ(group_box::GetProperty(frame, group_box::kTextColor), 0x0000FFu);
  EXPECT_EQ(group_box::GetProperty(frame, group_box::kBackColor), 0x00FFFFu);

  GroupBoxSettings expected;
  expected.title = "登陆界面";
  expected.textColor = 0x0000FF;
  expected.backColor = 0x00FFFF;
  expected.font = font;
  const auto saved = group_box::SaveSettings(frame);
  EXPECT_EQ(saved[0], kGroupBoxSettingsVersion);
  EXPECT_EQ(*DecodeGroupBoxSettings(saved), expected);
}

TEST_F(GroupBoxTest, ColourQueryAnswersWithTheTitleAndBackColours) {
  GroupBoxSettings s;
  s.textColor = RGB(255, 0, 0);
  s.backColor = RGB(0, 0, 255);
  HWND frame = Make(s);
  HDC dc = GetDC(frame);
  const LRESULT brush = SendMessageA(frame, kReflectedColour, reinterpret_cast<WPARAM>(dc), WM_CTLCOLORSTATIC);
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 255));
  ReleaseDC(frame, dc);
}

TEST_F(GroupBoxTest, BackgroundIsFilledWithTheBackColour) {
  struct Case {
    uint32_t stored;
    COLORREF shown;
  };
  const Case cases[] = {{RGB(0, 0, 255), RGB(0, 0, 255)}, {kDefaultColour, GetSysColor(COLOR_BTNFACE)}};
  for (const auto& c : cases) {
    GroupBoxSettings s;
    s.title = "广告位①";
    s.backColor = c.stored;
    HWND frame = Make(s);
    test::PrintedControl printed(frame);
    EXPECT_EQ(printed.At(printed.width() / 2, printed.height() / 2), c.shown);
    DestroyWindow(frame);
  }
}

// The window sees its grandchildren's notifications.
std::vector<UINT> g_seen;
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_CTLCOLORSTATIC) g_seen.push_back(message);
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(GroupBoxTest, ChildNotificationsGoToTheTopLevelWindow) {
  HWND frame = Make(GroupBoxSettings{});
  HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, frame, nullptr, nullptr, nullptr);
  const LONG_PTR previous = SetWindowLongPtrA(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
  g_seen.clear();
  NMHDR header{child, 0, 0};
  SendMessageA(frame, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(child));
  SendMessageA(frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  SendMessageA(frame, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(child));
  SetWindowLongPtrA(window_.get(), GWLP_WNDPROC, previous);
  EXPECT_THAT(g_seen, testing::ElementsAre(UINT(WM_COMMAND), UINT(WM_NOTIFY), UINT(WM_CTLCOLORSTATIC)));
}

}  // namespace
}  // namespace vorrik
