// Binding a declared library command at its first call, and the stack check
// of the call.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "shell/shell.h"
#include "skin/library_commands.h"
#include "skin/stack_checked_call.h"
#include "tests/win/libraries/attach_record.h"
#include "tests/win/skin_test_support.h"
#include "tests/win/test_support.h"

namespace vorrik {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using test::ScratchDirectory;

constexpr char kBindingBox[] =
    "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”\r\n";
constexpr char kStackBox[] = "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n";

// Puts one of the test libraries into a folder under the engine's name.
void PlaceAsEngine(const char* library, const std::string& directory) {
  const std::string from = test::ProgramDirectory() + "\\" + library;
  ASSERT_TRUE(CopyFileA(from.c_str(), (directory + "\\SkinH_EL.dll").c_str(), FALSE)) << from;
}

// The run directory and the current directory (where the system's search
// looks after the program's own folder, which holds no engine).
struct TwoPlaces {
  ScratchDirectory run{"_run"}, searched{"_searched"};
  test::ShellSkinState state{run.path()};
  test::CurrentDirectory current{searched.path()};
};

TEST(ResolveLibraryCommand, TheCopyBesideTheProgramWinsOverTheSearchPath) {
  TwoPlaces places;
  PlaceAsEngine("attach_stdcall.dll", places.run.path());
  PlaceAsEngine("attach_cdecl.dll", places.searched.path());
  const FARPROC address = ResolveLibraryCommand(kSkinAttachCommand);
  const LibraryCommandSlot& slot = LibraryCommandSlots()[0];
  EXPECT_EQ(test::ModuleFile(slot.module), places.run / "SkinH_EL.dll");
  EXPECT_EQ(address, GetProcAddress(slot.module, "SkinH_AttachRes"));
  EXPECT_EQ(slot.address, address);
}

TEST(ResolveLibraryCommand, OtherwiseTheSystemsSearchFindsIt) {
  const struct {
    const char* what;
    std::vector<uint8_t> besideProgram;  // empty: no file there
  } cases[] = {{"nothing beside the program", {}}, {"a file there that is no library", {'n', 'o', 'p', 'e'}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TwoPlaces places;
    if (!c.besideProgram.empty()) {
      ASSERT_TRUE(test::WriteWholeFile(places.run / "SkinH_EL.dll", c.besideProgram));
    }
    PlaceAsEngine("attach_stdcall.dll", places.searched.path());
    ResolveLibraryCommand(kSkinAttachCommand);
    EXPECT_EQ(test::ModuleFile(LibraryCommandSlots()[0].module), places.searched / "SkinH_EL.dll");
  }
}

TEST(ResolveLibraryCommand, ASecondCallUsesTheBoundAddressWithoutLoadingAgain) {
  TwoPlaces places;
  PlaceAsEngine("attach_stdcall.dll", places.run.path());
  const FARPROC first = ResolveLibraryCommand(kSkinAttachCommand);
  EXPECT_EQ(ResolveLibraryCommand(kSkinAttachCommand), first);
  // One load, so one release unloads it.
  const std::string file = places.run / "SkinH_EL.dll";
  ASSERT_NE(GetModuleHandleA(file.c_str()), nullptr);
  ReleaseBoundLibraries();
  EXPECT_EQ(GetModuleHandleA(file.c_str()), nullptr);
}

TEST(ResolveLibraryCommandDeathTest, AMissingLibraryEndsWithTheBindingMessage) {
  TwoPlaces places;
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(test::PrintErrorBox);
        ResolveLibraryCommand(kSkinAttachCommand);
      },
      ::testing::ExitedWithCode(kRuntimeErrorExitCode), HasSubstr(test::EscapedBox("错误", kBindingBox)));
}

TEST(ResolveLibraryCommandDeathTest, ALibraryWithoutTheExportIsReleasedFirstAndNoOtherIsTried) {
  TwoPlaces places;
  PlaceAsEngine("test_library.dll", places.run.path());    // exports something else
  PlaceAsEngine("attach_stdcall.dll", places.searched.path());  // would do, but comes later
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(test::PrintErrorBox);
        ResolveLibraryCommand(kSkinAttachCommand);
      },
      ::testing::ExitedWithCode(kRuntimeErrorExitCode),
      AllOf(HasSubstr("<detach SkinH_EL.dll>" + test::EscapedBox("错误", kBindingBox)),
            Not(HasSubstr("<load"))));
}

// The stand-ins' record of their last call.
const test::AttachRecord& RecordOf(HMODULE library) {
  using LastAttach = const test::AttachRecord*(__cdecl*)();
  return *test::Export<LastAttach>(library, "LastAttach")();
}

HMODULE LoadTestLibrary(const char* name) {
  return LoadLibraryA((test::ProgramDirectory() + "\\" + name).c_str());
}

TEST(CallWithStackCheck, PassesArgumentsFirstLowestAndTellsWhoRemovedThem) {
  HMODULE stdcallEngine = LoadTestLibrary("attach_stdcall.dll");
  HMODULE cdeclEngine = LoadTestLibrary("attach_cdecl.dll");
  HMODULE answer = LoadTestLibrary("test_library.dll");
  ASSERT_TRUE(stdcallEngine && cdeclEngine && answer);
  static const char kText[] = "";
  const uint32_t text = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(kText));
  const uint32_t six[] = {0, 0, text, 0xA, 0xB, 0xC};  // no skin, an empty text, three words
  const uint32_t one[] = {41};
  const struct {
    const char* what;
    FARPROC function;
    const uint32_t* args;
    int count;
    uint32_t result;
    bool balanced;
  } cases[] = {
      {"no arguments", GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetCurrentProcessId"), nullptr, 0,
       GetCurrentProcessId(), true},
      {"one argument", GetProcAddress(answer, "TestLibraryAnswer@4"), one, 1, 42, true},
      {"six, callee removes them", GetProcAddress(stdcallEngine, "SkinH_AttachRes"), six, 6, test::kRecorderResult,
       true},
      {"six, left to the caller", GetProcAddress(cdeclEngine, "SkinH_AttachRes"), six, 6, test::kRecorderResult,
       false},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.function, nullptr) << c.what;
    bool balanced = !c.balanced;
    EXPECT_EQ(CallWithStackCheck(c.function, c.args, c.count, &balanced), c.result) << c.what;
    EXPECT_EQ(balanced, c.balanced) << c.what;
  }
  for (HMODULE engine : {stdcallEngine, cdeclEngine}) {
    const test::AttachRecord& record = RecordOf(engine);
    EXPECT_EQ(record.calls, 1);
    EXPECT_EQ(record.size, 0u);
    EXPECT_EQ(record.text, kText);
    EXPECT_EQ(record.fourth, 0xAu);
    EXPECT_EQ(record.fifth, 0xBu);
    EXPECT_EQ(record.sixth, 0xCu);
  }
  for (HMODULE library : {stdcallEngine, cdeclEngine, answer}) FreeLibrary(library);
}

TEST(CallLibraryCommandDeathTest, ACallerCleansFunctionIsRuntimeError6AfterItReturns) {
  TwoPlaces places;
  PlaceAsEngine("attach_cdecl.dll", places.run.path());
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(test::PrintErrorBox);
        CallLibraryCommand(kSkinAttachCommand, {0, 24, 0, 0, 0, 0});
      },
      ::testing::ExitedWithCode(kRuntimeErrorExitCode),
      HasSubstr("<attach 24>" + test::EscapedBox("错误", kStackBox)));
}

TEST(CallLibraryCommand, AStdcallFunctionReturnsItsResult) {
  TwoPlaces places;
  PlaceAsEngine("attach_stdcall.dll", places.run.path());
  EXPECT_EQ(CallLibraryCommand(kSkinAttachCommand, {0, 0, 0, 0, 0, 0}), uint32_t(test::kRecorderResult));
  EXPECT_EQ(RecordOf(LibraryCommandSlots()[0].module).calls, 1);
}

}  // namespace
}  // namespace vorrik
