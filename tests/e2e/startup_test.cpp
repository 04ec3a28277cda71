// Starting the real program in a fresh directory: the skin engine is written
// beside it, the launcher shows, and every way out ends the program cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "skin/skin_table.h"
#include "skinengine/skin_format.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace vorrik;

constexpr char kTitle[] = "Vorrik桌面版";
constexpr char kLauncherClass[] = "VorrikWindow";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string EnginePath(const e2e::ProgramRun& run) { return run.Directory() + "\\SkinH_EL.dll"; }

// Each channel within the two colours' range, give or take rounding.
bool Between(COLORREF c, COLORREF a, COLORREF b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int v = (c >> shift) & 0xFF, x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    if (v < std::min(x, y) - 2 || v > std::max(x, y) + 2) return false;
  }
  return true;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// Wine reports every regular file as archived, whatever was set; on Windows
// the attribute set is checked whole.
DWORD ComparableAttributes(DWORD attributes) {
  return UnderWine() ? attributes & ~DWORD(FILE_ATTRIBUTE_ARCHIVE) : attributes;
}

TEST(Launcher, ShowsAfterTheEngineIsWrittenHiddenBesideTheProgram) {
  e2e::ProgramRun run;
  ASSERT_TRUE(run.Start());
  HWND launcher = run.WaitForWindow(kTitle, kLauncherClass);
  ASSERT_TRUE(launcher);
  EXPECT_EQ(ComparableAttributes(GetFileAttributesA(EnginePath(run).c_str())), DWORD(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(ReadFile(EnginePath(run)), ReadFile(probe::FromUnixPath(VORRIK_ENGINE_FILE)));

  RECT r;
  GetWindowRect(launcher, &r);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 356);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 600) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 356) / 2);
  const LONG style = GetWindowLongA(launcher, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  Sleep(500);  // painted
  // Drawn in skin 8: a caption colour of the skin, and its face behind the controls.
  skin::SkinView skin8;
  ASSERT_EQ(skin::ReadSkin(BuiltinSkinData(8), skin8), skin::ReadResult::kOk);
  RECT client;
  GetClientRect(launcher, &client);
  MapWindowPoints(launcher, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const COLORREF caption = ScreenPixel(r.left + 420, client.top - 2);
  EXPECT_TRUE(Between(caption, skin8.colours[skin::kCaptionActiveFrom], skin8.colours[skin::kCaptionActiveTo]) ||
              Between(caption, skin8.colours[skin::kCaptionInactiveFrom], skin8.colours[skin::kCaptionInactiveTo]))
      << std::hex << caption;
  EXPECT_EQ(ScreenPixel(client.left + 300, client.bottom - 4), skin8.colours[skin::kFace]);
  CreateDirectoryA(probe::FromUnixPath(VORRIK_SCREENSHOT_DIR).c_str(), nullptr);
  EXPECT_TRUE(probe::SaveScreenshot(launcher, probe::FromUnixPath(VORRIK_SCREENSHOT_DIR "/launcher.bmp")));
}

TEST(Launcher, ControlsReadBackTheirStoredTexts) {
  e2e::ProgramRun run;
  ASSERT_TRUE(run.Start());
  HWND launcher = run.WaitForWindow(kTitle, kLauncherClass);
  ASSERT_TRUE(launcher);
  for (const char* text : {"登陆界面", "黄金广告位①", "广告位①", "广告位②", "打开桌面版", "关闭×", "出租广告位"})
    EXPECT_TRUE(probe::ChildByText(launcher, text)) << text;
  // The caption ends in 0xA3 and eleven spaces, not valid GBK. The label
  // answers with its own bytes; Wine converts texts sent between processes
  // through Unicode, so there only the valid part can be compared.
  const std::string valid = "有意者请联系我，扣扣";
  const std::string caption = valid + "\xA3" + std::string(11, ' ');
  bool found = false;
  for (HWND child : probe::Children(launcher)) {
    const std::string text = probe::WindowText(child);
    found = found || (UnderWine() ? text.rfind(valid, 0) == 0 : text == caption);
  }
  EXPECT_TRUE(found) << "the caption of the first advertisement label";
}

TEST(Launcher, FocusStartsOnTheOpenButtonAndTabMovesIt) {
  e2e::ProgramRun run;
  ASSERT_TRUE(run.Start());
  HWND launcher = run.WaitForWindow(kTitle, kLauncherClass);
  ASSERT_TRUE(launcher);
  HWND open = probe::ChildByText(launcher, "打开桌面版"), close = probe::ChildByText(launcher, "关闭×");
  ASSERT_TRUE(open && close);
  EXPECT_EQ(probe::FocusOf(launcher), open);
  probe::PressKey(launcher, VK_TAB);
  EXPECT_EQ(probe::FocusOf(launcher), close);
  probe::PressKey(launcher, VK_TAB);
  EXPECT_EQ(probe::FocusOf(launcher), open);
}

TEST(Launcher, EveryWayOutEndsTheProgramWithCodeZero) {
  enum Way { kCloseButton, kCloseBox, kEscape, kAltF4 };
  for (Way way : {kCloseButton, kCloseBox, kEscape, kAltF4}) {
    e2e::ProgramRun run;
    ASSERT_TRUE(run.Start());
    HWND launcher = run.WaitForWindow(kTitle, kLauncherClass);
    ASSERT_TRUE(launcher) << way;
    switch (way) {
      case kCloseButton: probe::PressButton(probe::ChildByText(launcher, "关闭×")); break;
      case kCloseBox: PostMessageA(launcher, WM_SYSCOMMAND, SC_CLOSE, 0); break;
      case kEscape: probe::PressKey(launcher, VK_ESCAPE); break;
      case kAltF4: probe::PressSystemKey(launcher, VK_F4); break;
    }
    EXPECT_EQ(run.WaitForExit(), 0) << "way " << way;
  }
}

TEST(Launcher, SecondRunLeavesTheEngineFileAlone) {
  e2e::ProgramRun run;
  ASSERT_TRUE(run.Start());
  ASSERT_TRUE(run.WaitForWindow(kTitle, kLauncherClass));
  probe::PressButton(probe::ChildByText(run.WaitForWindow(kTitle, kLauncherClass), "关闭×"));
  ASSERT_EQ(run.WaitForExit(), 0);
  WIN32_FILE_ATTRIBUTE_DATA before{}, after{};
  ASSERT_TRUE(GetFileAttributesExA(EnginePath(run).c_str(), GetFileExInfoStandard, &before));
  const std::string bytes = ReadFile(EnginePath(run));
  Sleep(1100);  // a rewrite would show in the modification time
  ASSERT_TRUE(run.Start());
  ASSERT_TRUE(run.WaitForWindow(kTitle, kLauncherClass));
  ASSERT_TRUE(GetFileAttributesExA(EnginePath(run).c_str(), GetFileExInfoStandard, &after));
  EXPECT_EQ(before.dwFileAttributes, after.dwFileAttributes);
  EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
  EXPECT_EQ(ReadFile(EnginePath(run)), bytes);
}

TEST(Launcher, TwoCopiesRunSideBySide) {
  e2e::ProgramRun first, second;
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(first.WaitForWindow(kTitle, kLauncherClass));
  EXPECT_TRUE(second.WaitForWindow(kTitle, kLauncherClass));
}

TEST(Launcher, EmptyEngineFileEndsTheProgramWithTheBindingMessage) {
  e2e::ProgramRun run;
  HANDLE empty = CreateFileA(EnginePath(run).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(empty, INVALID_HANDLE_VALUE);
  CloseHandle(empty);
  ASSERT_TRUE(run.Start());
  HWND box = run.WaitForWindow("错误", "#32770");
  ASSERT_TRUE(box);
  EXPECT_EQ(e2e::MessageBoxText(box),
            "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”\r\n");
  EXPECT_FALSE(probe::FindTopLevel(kTitle, kLauncherClass, run.Process().id)) << "the launcher must not show";
  probe::PressButton(e2e::MessageBoxOk(box));
  EXPECT_EQ(run.WaitForExit(), -1);
}

}  // namespace
