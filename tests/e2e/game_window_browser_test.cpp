// The launcher's open button shows the game window with its browser
// control, which starts on the game page without waiting for it; closing
// the game window ends the program.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace {

constexpr char kTitle[] = "Vorrik桌面版";
constexpr char kWindowClass[] = "VorrikWindow";

HWND OtherWindow(DWORD processId, HWND launcher) {
  for (HWND window : probe::TopLevelWindows(processId))
    if (window != launcher && probe::WindowText(window) == kTitle) return window;
  return nullptr;
}

TEST(GameWindow, OpensFromTheLauncherWithItsBrowserAndClosingItEndsTheProgram) {
  e2e::ProgramRun run;
  ASSERT_TRUE(run.Start());
  HWND launcher = run.WaitForWindow(kTitle, kWindowClass);
  ASSERT_TRUE(launcher);
  ASSERT_TRUE(probe::PressButton(probe::ChildByText(launcher, "打开桌面版")));

  HWND game = nullptr;
  for (int i = 0; i < 200 && !game; ++i, Sleep(100)) game = OtherWindow(run.Process().id, launcher);
  ASSERT_TRUE(game) << "the game window did not show";
  EXPECT_TRUE(GetMenu(game));
  EXPECT_FALSE(IsWindowEnabled(launcher));  // the game window is modal
  HWND browser = nullptr;
  for (HWND child : probe::Children(game))
    if (probe::ClassName(child) == "VorrikHtmlViewer") browser = child;
  ASSERT_TRUE(browser);
  EXPECT_TRUE(IsWindowVisible(browser));
  Sleep(1500);  // a clock tick or so, for the picture
  CreateDirectoryA(probe::FromUnixPath(VORRIK_SCREENSHOT_DIR).c_str(), nullptr);
  EXPECT_TRUE(probe::SaveScreenshot(game, probe::FromUnixPath(VORRIK_SCREENSHOT_DIR "/game_window.bmp")));

  PostMessageA(game, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(run.WaitForExit(), 0);
}

}  // namespace
