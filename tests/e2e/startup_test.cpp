// Starting the real program.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace {

TEST(Startup, UnbuildableStartupWindowEndsInTheErrorBox) {
  e2e::ProgramRun run;
  ASSERT_TRUE(run.Start());
  HWND box = run.WaitForWindow("错误", "#32770");
  ASSERT_TRUE(box) << "no error box appeared";
  EXPECT_EQ(e2e::MessageBoxText(box), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  ASSERT_TRUE(probe::PressButton(e2e::MessageBoxOk(box)));
  EXPECT_EQ(run.WaitForExit(), -1);
}

}  // namespace
