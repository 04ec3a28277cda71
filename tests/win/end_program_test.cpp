// The end of the program: its steps in order, after a normal end and after a
// run-time error report, each checked in a child process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstring>

#include "shell/run_directory.h"
#include "shell/shell.h"
#include "skin/library_commands.h"
#include "tests/win/test_support.h"

namespace vorrik {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

// Prints each step, and at the OLE step whether OLE was really ended: a new
// initialisation then succeeds with S_OK instead of S_FALSE.
void PrintStep(const char* step) {
  std::string line = step;
  if (line == "ole") line += CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) == S_OK ? "(ended)" : "(still-on)";
  std::fprintf(stderr, "<%s>", line.c_str());
  std::fflush(stderr);
}

void ExitRoutine() {
  std::fprintf(stderr, "<exit-routine-ran>");
  std::fflush(stderr);
}

// Two bound commands, so that the release order shows: each library tells
// when it is unloaded.
void BindTwoLibraries() {
  static constexpr LibraryCommand kTable[] = {{"test_library_a.dll", "TestLibraryAnswer@4"},
                                              {"test_library_b.dll", "TestLibraryAnswer@4"}};
  CreateLibraryCommandSlots(kTable);
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path, std::strrchr(path, '\\') + 1);
  for (auto& slot : LibraryCommandSlots()) {
    slot.module = LoadLibraryA((directory + slot.library).c_str());
    slot.address = GetProcAddress(slot.module, slot.exportName.c_str());
  }
}

void PrepareChild() {
  SetErrorBoxPresenter(test::PrintErrorBox);
  SetEndStepObserver(PrintStep);
  InitialiseShell();
  RegisterExitRoutine(ExitRoutine);
  BindTwoLibraries();
}

constexpr char kNormalOrder[] =
    "<hold><idle><registry><exit-routine-ran><exit-routine><components>"
    "<detach test_library_a.dll><test_library_a.dll><detach test_library_b.dll><test_library_b.dll>"
    "<libraries><shell-objects><ole(ended)>";

TEST(EndProgramDeathTest, NormalEndRunsEveryStepInOrderWithTheQuitCode) {
  EXPECT_EXIT(
      {
        PrepareChild();
        EndProgram(0);
      },
      ::testing::ExitedWithCode(0), HasSubstr(kNormalOrder));
}

TEST(EndProgramDeathTest, ReportSkipsTheExitRoutineAndExitsWithMinusOne) {
  constexpr char kReportOrder[] =
      "<hold><idle><registry><exit-routine><components>"
      "<detach test_library_a.dll><test_library_a.dll><detach test_library_b.dll><test_library_b.dll>"
      "<libraries><shell-objects><ole(ended)>";
  EXPECT_EXIT(
      {
        PrepareChild();
        ReportRuntimeError(6, nullptr);
      },
      ::testing::ExitedWithCode(-1),
      AllOf(HasSubstr(test::EscapedBox("错误", "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n")),
            HasSubstr(kReportOrder), Not(HasSubstr("exit-routine-ran"))));
}

TEST(EndProgramDeathTest, ReportComesBeforeTheEndAndHoldsEventsForGood) {
  EXPECT_EXIT(
      {
        PrepareChild();
        ReportRuntimeError(0, "载入启动窗口失败");
      },
      ::testing::ExitedWithCode(-1),
      HasSubstr(test::EscapedBox("错误", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n") + " flags-ok\n<hold>"));
}

TEST(EndProgramDeathTest, RefusedAllocationIsReportedWithItsSize) {
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(test::PrintErrorBox);
        AllocateBlock(0xFFFFFFF0u);
      },
      ::testing::ExitedWithCode(-1),
      HasSubstr(test::EscapedBox("错误", "运行时出错!\r\n\r\n错误信息：分配 -16 字节内存失败!\r\n")));
}

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

TEST(ShellStartDeathTest, RunDirectoryBecomesTheCurrentDirectory) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string expected(path, std::strrchr(path, '\\'));
  EXPECT_EXIT(
      {
        SetCurrentDirectoryA("C:\\");
        InitialiseShell();
        char current[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, current);
        std::fprintf(stderr, "[%s|%s]", Shell().runDirectory.c_str(), current);
        std::fflush(stderr);
        ExitProcess(0);
      },
      ::testing::ExitedWithCode(0), HasSubstr("[" + expected + "|" + expected + "]"));
}

TEST(ShellStart, SystemCodePageSplitsDoubleByteNamesAsWholeCharacters) {
  ASSERT_EQ(GetACP(), 936u) << "the tests expect the Chinese code page";
  // "\xD6\x5C" is one GBK character whose second byte is a backslash.
  EXPECT_EQ(RunDirectoryOf("C:\\a\xD6\x5C\\b.exe", SystemLeadByte), "C:\\a\xD6\x5C");
  EXPECT_EQ(RunDirectoryOf("C:\\x\xD6\x5C.exe", SystemLeadByte), "C:");
}

}  // namespace
}  // namespace vorrik
