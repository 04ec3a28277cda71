// Our skin engine drawing real windows: frames, caption boxes, menu bar,
// buttons and the face colour, checked on screen; hit testing driven with
// the mouse; and what is left when a skin is refused or the engine unloaded.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/win/screen_capture.h"
#include "tests/win/skin_sample.h"

namespace vorrik {
namespace {

using test::LoadedEngine;
using test::SampleWindow;
using test::ScreenCapture;

constexpr COLORREF kCloseHot = RGB(0xE8, 0x11, 0x23);

// Points of a window's frame, found from the system's measures and the
// engine's own hit testing, never from the engine's layout code.
struct FramePoints {
  explicit FramePoints(HWND window) : window(window) {
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    MENUBARINFO info{};
    info.cbSize = sizeof info;
    GetMenuBarInfo(window, OBJID_MENU, 0, &info);
    bar = info.rcBar;
    border = client.left - frame.left;
    captionTop = frame.top + border;
    captionBottom = info.rcBar.bottom > info.rcBar.top ? bar.top : client.top;
  }
  // A row of the caption below its gloss, and a column clear of title and boxes.
  POINT CaptionPoint() const { return {frame.left + (frame.right - frame.left) * 5 / 9, captionBottom - 2}; }
  // The middle of the caption box the engine answers hit with, or {-1,-1}.
  POINT BoxCentre(LRESULT hit) const {
    const int y = (captionTop + captionBottom) / 2;
    int first = -1, last = -1;
    for (int x = frame.left; x < frame.right; ++x)
      if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit) {
        if (first < 0) first = x;
        last = x;
      }
    return first < 0 ? POINT{-1, -1} : POINT{(first + last) / 2, y};
  }
  HWND window;
  RECT frame{}, client{}, bar{};
  int border = 0, captionTop = 0, captionBottom = 0;
};

COLORREF ScreenPixel(POINT p) {
  const ScreenCapture shot({p.x, p.y, p.x + 1, p.y + 1});
  return shot.At(0, 0);
}

COLORREF ClientPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return ScreenPixel(p);
}

// Each channel within the two colours' range, give or take rounding.
bool Between(COLORREF c, COLORREF a, COLORREF b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int v = (c >> shift) & 0xFF, x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    if (v < std::min(x, y) - 2 || v > std::max(x, y) + 2) return false;
  }
  return true;
}

// The button face as the program's import table gives it now. Out of line:
// within one function the compiler may keep an import's address across
// calls, and this must see the table after the engine is gone.
[[gnu::noinline]] COLORREF ProgramFace() { return GetSysColor(COLOR_BTNFACE); }

class SkinDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine_.loaded());
    skin_ = test::SkinColours(8, skinBytes_);
    test::RunMouse({test::MoveTo({5, 1000})});  // away from every window
  }
  COLORREF Colour(skin::Colour entry) const { return skin_.colours[entry]; }
  bool ActiveCaptionAt(POINT p) const {
    return Between(ScreenPixel(p), Colour(skin::kCaptionActiveFrom), Colour(skin::kCaptionActiveTo));
  }

  LoadedEngine engine_;
  std::vector<uint8_t> skinBytes_;
  skin::SkinView skin_;
};

TEST_F(SkinDrawing, FrameButtonsMenuAndFaceTakeTheSkinsColours) {
  SampleWindow sample(100, 100);  // exists before the attach, like the launcher
  RECT plainClient;
  GetClientRect(sample.window(), &plainClient);
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  RECT skinnedClient;
  GetClientRect(sample.window(), &skinnedClient);
  EXPECT_TRUE(EqualRect(&plainClient, &skinnedClient));  // layouts hold
  const FramePoints points(sample.window());
  const HWND w = sample.window();

  EXPECT_TRUE(ActiveCaptionAt(points.CaptionPoint())) << std::hex << ScreenPixel(points.CaptionPoint());
  EXPECT_EQ(ScreenPixel({points.bar.right - 5, (points.bar.top + points.bar.bottom) / 2}), Colour(skin::kMenuBar));
  EXPECT_EQ(ClientPixel(w, 345, 180), Colour(skin::kFace));

  EXPECT_EQ(ClientPixel(sample.cancelButton(), 5, 14), Colour(skin::kButtonNormal));
  EXPECT_EQ(ClientPixel(sample.pressedButton(), 5, 14), Colour(skin::kButtonPressed));
  EXPECT_EQ(ClientPixel(sample.disabledButton(), 5, 14), Colour(skin::kButtonDisabled));

  // The close box: its glyph in the caption's text colour.
  const POINT close = points.BoxCentre(HTCLOSE);
  ASSERT_GE(close.x, 0);
  const ScreenCapture box({close.x - 10, close.y - 8, close.x + 10, close.y + 8});
  int glyph = 0;
  for (int y = 0; y < box.height(); ++y)
    for (int x = 0; x < box.width(); ++x) glyph += test::Near(box.At(x, y), Colour(skin::kCaptionTextActive), 90);
  EXPECT_GT(glyph, 6);
  // The minimise box is there, the maximise box with it (drawn disabled).
  EXPECT_GE(points.BoxCentre(HTMINBUTTON).x, 0);
  EXPECT_GE(points.BoxCentre(HTMAXBUTTON).x, 0);

  // Label text on the face, in the skin's text colour.
  RECT label{32, 124, 300, 150};
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&label), 2);
  const ScreenCapture text(label);
  EXPECT_GT(text.Count({0, 0, text.width(), text.height()}, Colour(skin::kText)), 5);
  EXPECT_EQ(text.At(text.width() - 2, 1), Colour(skin::kFace));
}

TEST_F(SkinDrawing, InactiveCaptionAndAWindowCreatedAfterTheAttach) {
  SampleWindow first(100, 100);
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  SampleWindow second(480, 160, "后来的窗口");  // created after: skinned through the hook, and now active
  const FramePoints firstPoints(first.window()), secondPoints(second.window());
  EXPECT_TRUE(ActiveCaptionAt(secondPoints.CaptionPoint()));
  EXPECT_TRUE(Between(ScreenPixel(firstPoints.CaptionPoint()), Colour(skin::kCaptionInactiveFrom),
                      Colour(skin::kCaptionInactiveTo)))
      << std::hex << ScreenPixel(firstPoints.CaptionPoint());
  EXPECT_EQ(ClientPixel(second.cancelButton(), 5, 14), Colour(skin::kButtonNormal));
}

TEST_F(SkinDrawing, HoverLightsTheCloseBoxAndMenuItemsAndAClickAsksToClose) {
  SampleWindow sample(100, 100);
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  const FramePoints points(sample.window());
  const POINT close = points.BoxCentre(HTCLOSE);
  ASSERT_GE(close.x, 0);
  const RECT around{close.x - 6, close.y - 5, close.x + 6, close.y + 5};
  EXPECT_EQ(ScreenCapture(around).Count({0, 0, 12, 10}, kCloseHot), 0);

  test::RunMouse({test::MoveTo(close)});
  EXPECT_GT(ScreenCapture(around).Count({0, 0, 12, 10}, kCloseHot), 20);

  test::RunMouse({test::Press(), test::Release()});
  EXPECT_EQ(sample.closeRequests(), 1);  // through the window's close query, which refused
  EXPECT_TRUE(IsWindow(sample.window()));

  // A menu-bar item under the mouse is lit in the skin's highlight.
  RECT item;
  ASSERT_TRUE(GetMenuItemRect(sample.window(), GetMenu(sample.window()), 1, &item));
  EXPECT_EQ(ScreenPixel({item.left + 3, item.top + 3}), Colour(skin::kMenuBar));
  test::RunMouse({test::MoveTo({(item.left + item.right) / 2, (item.top + item.bottom) / 2})});
  EXPECT_EQ(ScreenPixel({item.left + 3, item.top + 3}), Colour(skin::kMenuHighlight));

  // Pressed, then let go away from the box: nothing happens.
  test::RunMouse({test::MoveTo(close), test::Press(), test::MoveTo({close.x - 150, close.y}), test::Release()});
  EXPECT_EQ(sample.closeRequests(), 1);
}

TEST_F(SkinDrawing, ACaptionDragMovesTheWindowAndTheMinimiseBoxMinimises) {
  SampleWindow sample(100, 100);
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  const FramePoints points(sample.window());
  const POINT grip = {points.CaptionPoint().x, (points.captionTop + points.captionBottom) / 2};
  test::RunMouse({test::MoveTo(grip), test::Press(), test::MoveTo({grip.x + 20, grip.y + 10}),
                  test::MoveTo({grip.x + 40, grip.y + 30}), test::Release()});
  RECT moved;
  GetWindowRect(sample.window(), &moved);
  EXPECT_EQ(moved.left, points.frame.left + 40);
  EXPECT_EQ(moved.top, points.frame.top + 30);

  const POINT minimise = FramePoints(sample.window()).BoxCentre(HTMINBUTTON);
  ASSERT_GE(minimise.x, 0);
  test::ClickAt(minimise);
  EXPECT_TRUE(IsIconic(sample.window()));
}

TEST_F(SkinDrawing, UnloadingTheEngineLeavesPlainWorkingWindows) {
  SampleWindow sample(100, 100);
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  SampleWindow later(480, 160);
  ASSERT_EQ(ProgramFace(), Colour(skin::kFace));  // the program's colour calls are the skin's while attached

  engine_.Unload();
  for (HWND w : {sample.window(), later.window()})
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::Settle();
  EXPECT_NE(ProgramFace(), Colour(skin::kFace));
  const FramePoints points(later.window());
  EXPECT_FALSE(ActiveCaptionAt(points.CaptionPoint()));
  EXPECT_EQ(ClientPixel(later.window(), 345, 180), ProgramFace());
  // Messages still reach the windows, and the mouse still works on them.
  test::ClickAt(points.BoxCentre(HTCLOSE));
  EXPECT_EQ(later.closeRequests(), 1);
  SendMessageA(later.cancelButton(), BM_SETSTATE, TRUE, 0);
  test::Settle();
}

TEST_F(SkinDrawing, ARefusedSkinLeavesTheWindowsPlain) {
  SampleWindow sample(100, 100);
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  std::vector<uint8_t> broken = test::BuiltinSkinBytes(8);
  broken.resize(broken.size() / 2);
  EXPECT_NE(engine_.AttachBytes(broken), engine::kAttached);
  const FramePoints points(sample.window());
  EXPECT_FALSE(ActiveCaptionAt(points.CaptionPoint()));
  EXPECT_EQ(ClientPixel(sample.window(), 345, 180), ProgramFace());
  EXPECT_NE(ProgramFace(), Colour(skin::kFace));
  // A later good skin is taken again.
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  EXPECT_TRUE(ActiveCaptionAt(points.CaptionPoint()));
}

DWORD WINAPI OtherThreadWindow(void* parameter) {
  auto* ready = static_cast<HANDLE*>(parameter);
  SampleWindow other(480, 160, "别的线程");
  SetEvent(ready[0]);
  while (MsgWaitForMultipleObjects(1, &ready[1], FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) test::Settle(10);
  return 0;
}

TEST_F(SkinDrawing, WindowsOfOtherThreadsAreNotTouched) {
  HANDLE events[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  HANDLE thread = CreateThread(nullptr, 0, OtherThreadWindow, events, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(events[0], 10000), WAIT_OBJECT_0);
  SampleWindow mine(100, 100);
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  HWND other = FindWindowA("VorrikSkinSample", "别的线程");
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  RedrawWindow(other, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Sleep(300);
  const FramePoints points(other);
  EXPECT_FALSE(ActiveCaptionAt(points.CaptionPoint()));
  EXPECT_FALSE(Between(ScreenPixel(points.CaptionPoint()), Colour(skin::kCaptionInactiveFrom),
                       Colour(skin::kCaptionInactiveTo)));
  SetEvent(events[1]);
  WaitForSingleObject(thread, 10000);
  for (HANDLE h : {events[0], events[1], thread}) CloseHandle(h);
}

// What a timer saw of the error box while it was up.
struct BoxLook {
  bool found = false;
  COLORREF caption = 0, face = 0;
};
BoxLook g_boxLook;

VOID CALLBACK LookAtTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
  static int ticksShown = 0;
  HWND box = FindWindowA("#32770", "出错了");
  if (!box) return;  // not up yet: the timer comes again
  if (++ticksShown < 2) return;  // up, and given a tick to paint
  ticksShown = 0;
  KillTimer(nullptr, timer);
  const FramePoints points(box);
  test::ScreenCapture(points.frame).SaveBmp(test::ScreenshotPath("skinned_error_box.bmp"));
  g_boxLook = {true, ScreenPixel(points.CaptionPoint()), ClientPixel(box, 4, 4)};
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SkinDrawing, TheErrorBoxOfTheThreadIsSkinnedToo) {
  SampleWindow owner(100, 100);
  ASSERT_EQ(engine_.Attach(8), engine::kAttached);
  g_boxLook = {};
  SetTimer(nullptr, 0, 300, LookAtTheBox);
  MessageBoxA(owner.window(), "载入启动窗口失败", "出错了", MB_OK | MB_ICONERROR);
  ASSERT_TRUE(g_boxLook.found);
  EXPECT_TRUE(Between(g_boxLook.caption, Colour(skin::kCaptionActiveFrom), Colour(skin::kCaptionActiveTo)))
      << std::hex << g_boxLook.caption;
  EXPECT_EQ(g_boxLook.face, Colour(skin::kFace));
}

// WCAG contrast of two colours, worked out here on its own.
double Contrast(COLORREF a, COLORREF b) {
  auto luminance = [](COLORREF c) {
    auto channel = [](int v) {
      const double x = v / 255.0;
      return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
  };
  const double la = luminance(a) + 0.05, lb = luminance(b) + 0.05;
  return la > lb ? la / lb : lb / la;
}

[[gnu::noinline]] COLORREF TextColourTaken(HDC dc, COLORREF asked) {
  SetTextColor(dc, asked);
  return GetTextColor(dc);
}

TEST_F(SkinDrawing, TextColoursThatWouldNotReadOnTheFaceAreMadeReadable) {
  HDC dc = CreateCompatibleDC(nullptr);
  constexpr COLORREF kTeal = RGB(0, 128, 128), kPurple = RGB(128, 0, 128);  // the launcher's label colours
  for (int32_t n : {8, 13, 18, 21, 24}) {
    SCOPED_TRACE("skin " + std::to_string(n));
    std::vector<uint8_t> bytes;
    const skin::SkinView skin = test::SkinColours(n, bytes);
    ASSERT_EQ(engine_.Attach(n), engine::kAttached);
    const COLORREF face = skin.colours[skin::kFace], text = skin.colours[skin::kText];
    for (COLORREF asked : {kTeal, kPurple, RGB(0, 0, 0), RGB(255, 255, 255)}) {
      const COLORREF taken = TextColourTaken(dc, asked);
      EXPECT_GE(Contrast(taken, face), 4.5) << std::hex << asked << " became " << taken;
      if (Contrast(asked, face) >= 4.6) {
        EXPECT_EQ(taken, asked) << "a readable colour is kept";
      }
    }
    EXPECT_EQ(TextColourTaken(dc, text), text);
  }
  engine_.Unload();
  EXPECT_EQ(TextColourTaken(dc, kTeal), kTeal);  // gone with the engine
  DeleteDC(dc);
}

}  // namespace
}  // namespace vorrik
