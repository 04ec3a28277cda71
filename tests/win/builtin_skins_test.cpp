// Handing a built-in skin to the engine: what the engine receives, and the
// first run in a fresh directory with the real engine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "shell/shell.h"
#include "shell/texts.h"
#include "skin/builtin_skins.h"
#include "skin/library_commands.h"
#include "skin/skin_table.h"
#include "skinengine/skin_engine.h"
#include "skinengine/skin_format.h"
#include "tests/win/libraries/attach_record.h"
#include "tests/win/skin_test_support.h"
#include "tests/win/test_support.h"

namespace vorrik {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using test::ScratchDirectory;

void PlaceAsEngine(const char* library, const std::string& directory) {
  const std::string from = test::ProgramDirectory() + "\\" + library;
  ASSERT_TRUE(CopyFileA(from.c_str(), (directory + "\\SkinH_EL.dll").c_str(), FALSE)) << from;
}

const test::AttachRecord& LastAttach() {
  using Function = const test::AttachRecord*(__cdecl*)();
  HMODULE engine = LibraryCommandSlots()[kSkinAttachCommand].module;
  return *test::Export<Function>(engine, "LastAttach")();
}

TEST(ApplyBuiltinSkin, TheEngineReceivesACopyOfTheSkinAnEmptyTextAndThreeZeros) {
  ScratchDirectory run;
  test::ShellSkinState state(run.path());
  PlaceAsEngine("attach_stdcall.dll", run.path());  // present, so deployment leaves it
  int calls = 0;
  for (int32_t n : {8, 1, 33, 0, 34, -1}) {
    SCOPED_TRACE("skin " + std::to_string(n));
    ApplyBuiltinSkin(n);  // the recorder answers nonzero; nothing comes of it
    const test::AttachRecord& record = LastAttach();
    EXPECT_EQ(record.calls, ++calls);
    ASSERT_NE(record.text, nullptr);
    EXPECT_TRUE(record.textWasEmpty);
    EXPECT_EQ(record.fourth, 0u);
    EXPECT_EQ(record.fifth, 0u);
    EXPECT_EQ(record.sixth, 0u);
    ConstByteBuffer stored = BuiltinSkin(n);
    if (!stored) {
      EXPECT_EQ(record.skin, nullptr);
      EXPECT_EQ(record.size, 0u);
      continue;
    }
    const uint32_t length = ByteLength(stored);
    EXPECT_EQ(record.size, length);
    EXPECT_EQ(std::memcmp(record.head, ".SHE\0\3", 6), 0);
    EXPECT_EQ(record.digest, test::Digest(stored + 8, length));
    EXPECT_NE(record.skin, stored + 8) << "the engine must get a copy, not the constant";
  }
}

TEST(ApplyBuiltinSkin, FirstRunInAFreshDirectoryWritesTheEngineThenAttachesTheSkin) {
  ScratchDirectory run;
  test::ShellSkinState state(run.path());
  const DWORD expectedAttributes = test::ReportedFileAttributes(FILE_ATTRIBUTE_HIDDEN);
  ApplyBuiltinSkin(8);
  const std::string file = run / "SkinH_EL.dll";
  EXPECT_EQ(GetFileAttributesA(file.c_str()), expectedAttributes);
  HMODULE engine = LibraryCommandSlots()[kSkinAttachCommand].module;
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(test::ModuleFile(engine), file);

  // The engine kept skin 8: its colours and metrics answer from it.
  skin::SkinView view;
  ASSERT_EQ(skin::ReadSkin(BuiltinSkinData(8), view), skin::ReadResult::kOk);
  auto colour = test::Export<engine::ColourFunction>(engine, "SkinEngine_Colour");
  auto metric = test::Export<engine::MetricFunction>(engine, "SkinEngine_Metric");
  ASSERT_TRUE(colour && metric);
  EXPECT_EQ(colour(skin::kFace), view.colours[skin::kFace]);
  EXPECT_EQ(colour(skin::kCaptionActiveFrom), view.colours[skin::kCaptionActiveFrom]);
  EXPECT_EQ(metric(skin::kCaptionHeight), view.metrics[skin::kCaptionHeight]);
}

constexpr char kStackBox[] = "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n";
constexpr char kBindingBox[] =
    "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”\r\n";

TEST(ApplyBuiltinSkinDeathTest, AnEngineThatLeavesItsArgumentsIsRuntimeError6) {
  ScratchDirectory run;
  test::ShellSkinState state(run.path());
  PlaceAsEngine("attach_cdecl.dll", run.path());
  const std::string attached = "<attach " + std::to_string(ByteLength(BuiltinSkin(8))) + ">";
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(test::PrintErrorBox);
        ApplyBuiltinSkin(8);
      },
      ::testing::ExitedWithCode(kRuntimeErrorExitCode), HasSubstr(attached + test::EscapedBox("错误", kStackBox)));
}

TEST(ApplyBuiltinSkinDeathTest, AnEngineThatCannotBeWrittenEndsBeforeAnySkinIsAttached) {
  ScratchDirectory scratch, searched("_searched");
  test::ShellSkinState state(scratch / "gone");  // deployment cannot write there
  test::CurrentDirectory current(searched.path());
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(test::PrintErrorBox);
        ApplyBuiltinSkin(8);
      },
      ::testing::ExitedWithCode(kRuntimeErrorExitCode),
      ::testing::AllOf(HasSubstr(test::EscapedBox("错误", kBindingBox)), Not(HasSubstr("<attach"))));
}

}  // namespace
}  // namespace vorrik
