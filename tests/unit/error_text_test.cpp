#include "shell/error_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace vorrik {
namespace {

std::string Box(int32_t number, const char* message) {
  size_t needed = ComposeErrorBoxText(number, message, nullptr, 0);
  std::string text(needed + 1, '?');
  EXPECT_EQ(ComposeErrorBoxText(number, message, text.data(), text.size()), needed);
  text.resize(needed);
  return text;
}

TEST(ErrorBoxText, TableOfReports) {
  struct Case {
    int32_t number;
    const char* message;
    std::string expected;
  } cases[] = {
      {6, nullptr, "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
      {6, "", "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
      {0, "载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {0, "", "运行时出错!\r\n\r\n"},
      {0, nullptr, "运行时出错!\r\n\r\n"},
      {0, "分配 1048576 字节内存失败!", "运行时出错!\r\n\r\n错误信息：分配 1048576 字节内存失败!\r\n"},
      {1, nullptr, "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
      {11, nullptr, "运行时出错!\r\n\r\n错误代码：11\r\n\r\n错误信息：所提供参数的数据类型不符合要求\r\n"},
      {3, "自带", "运行时出错!\r\n\r\n错误代码：3\r\n\r\n错误信息：自带\r\n"},
      // Outside the table: the number line alone.
      {-5, nullptr, "运行时出错!\r\n\r\n错误代码：-5\r\n\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Box(c.number, c.message), c.expected) << c.number;
}

TEST(ErrorBoxText, FullWidthColonsAreGbk) {
  // "：" in GBK is A3 BA; the exclamation mark is ASCII.
  std::string text = Box(0, "x");
  EXPECT_NE(text.find("\xA3\xBA"), std::string::npos);
  EXPECT_EQ(text.substr(10, 1), "!");
}

TEST(ErrorBoxText, TruncatesSafelyAndStillReportsTheFullLength) {
  char small[8];
  size_t needed = ComposeErrorBoxText(0, "载入启动窗口失败", small, sizeof small);
  EXPECT_EQ(needed, Box(0, "载入启动窗口失败").size());
  EXPECT_EQ(std::string(small), Box(0, "载入启动窗口失败").substr(0, 7));
}

TEST(ErrorBoxText, AllocationMessageFitsItsFixedBuffer) {
  char out[kAllocationMessageCapacity];
  for (int32_t size : {1048576, 0, -1, INT32_MIN, INT32_MAX}) {
    FormatAllocationFailure(size, out);
    EXPECT_EQ(std::string(out), "分配 " + std::to_string(size) + " 字节内存失败!");
  }
}

TEST(ErrorBoxText, BindingMessageNamesLibraryAndExport) {
  char out[200];
  FormatBindingFailure("SkinH_EL.dll", "SkinH_AttachRes", out, sizeof out);
  EXPECT_EQ(std::string(out), "无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”");
}

}  // namespace
}  // namespace vorrik
