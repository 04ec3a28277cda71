// Writing the skin engine beside the program, and the file services it uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/shell_state.h"
#include "shell/texts.h"
#include "skin/deployment.h"
#include "skin/engine_payload.h"
#include "tests/win/skin_test_support.h"

namespace vorrik {
namespace {

using test::ScratchDirectory;

std::vector<uint8_t> PayloadBytes() {
  ConstByteBuffer payload = SkinEnginePayload();
  return {payload + 8, payload + 8 + ByteLength(payload)};
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

FILETIME LastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

FILETIME YearsAgo() {
  const SYSTEMTIME time = {2001, 2, 0, 3, 4, 5, 6, 0};
  FILETIME result;
  SystemTimeToFileTime(&time, &result);
  return result;
}

bool SameTime(FILETIME a, FILETIME b) { return CompareFileTime(&a, &b) == 0; }

// A ByteBuffer block holding the text's bytes.
std::vector<uint8_t> Buffer(const std::string& data) {
  std::vector<uint8_t> block(8 + data.size());
  block[0] = 1;
  const uint32_t length = static_cast<uint32_t>(data.size());
  std::memcpy(block.data() + 4, &length, 4);
  std::memcpy(block.data() + 8, data.data(), data.size());
  return block;
}

TEST(SkinEnginePayload, IsTheBuiltEngineByteForByte) {
  ConstByteBuffer payload = SkinEnginePayload();
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(payload)[0], 1u);  // dimension word
  const std::vector<uint8_t> built = test::ReadWholeFile(test::BuiltEngineFile());
  ASSERT_FALSE(built.empty()) << test::BuiltEngineFile();
  EXPECT_EQ(ByteLength(payload), built.size());
  EXPECT_TRUE(PayloadBytes() == built);
}

TEST(RunDirectory, IsANewTextOfTheRecordedDirectoryOrNullWhenEmpty) {
  for (const std::string directory : {"C:\\Apps", "D:", "C:\\\xD6\x5C"}) {
    test::ShellSkinState state(directory);
    Text text = RunDirectory();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, directory.c_str());
    EXPECT_NE(text, Shell().runDirectory.c_str());  // the caller's own block
    ReleaseBlock(text);
  }
  test::ShellSkinState empty("");
  EXPECT_EQ(RunDirectory(), nullptr);
}

TEST(FileExists, FindsFilesOfAnyKindAndDirectories) {
  ScratchDirectory scratch;
  ASSERT_TRUE(test::WriteWholeFile(scratch / "empty", {}));
  ASSERT_TRUE(test::WriteWholeFile(scratch / "hidden", {1, 2, 3}));
  SetFileAttributesA((scratch / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(test::WriteWholeFile(scratch / "read-only", {1}));
  SetFileAttributesA((scratch / "read-only").c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA((scratch / "folder").c_str(), nullptr);
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {scratch / "empty", true},  {scratch / "hidden", true},    {scratch / "read-only", true},
      {scratch / "folder", true}, {scratch / "missing", false},  {scratch / "missing\\deeper", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExists(c.path.c_str()), c.exists) << c.path;
  EXPECT_FALSE(FileExists(nullptr));
}

TEST(WriteBytesToFile, WritesTheDataOfEachBufferInOrder) {
  ScratchDirectory scratch;
  const std::string path = scratch / "out.bin";
  ASSERT_TRUE(test::WriteWholeFile(path, std::vector<uint8_t>(100, 'x')));  // truncated, not overwritten in place
  const std::vector<uint8_t> first = Buffer("ab"), second = Buffer("cde");
  EXPECT_TRUE(WriteBytesToFile(path.c_str(), {first.data(), kEmptyByteBuffer, nullptr, second.data()}));
  EXPECT_EQ(test::ReadWholeFile(path), (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e'}));
  EXPECT_FALSE(Attributes(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));

  EXPECT_TRUE(WriteBytesToFile(path.c_str(), {nullptr}));
  EXPECT_TRUE(test::ReadWholeFile(path).empty());
}

TEST(WriteBytesToFile, FailsWithoutWritingWhenTheFileCannotBeOpened) {
  ScratchDirectory scratch;
  const std::vector<uint8_t> data = Buffer("payload");
  EXPECT_FALSE(WriteBytesToFile("", {data.data()}));
  EXPECT_FALSE(WriteBytesToFile(nullptr, {data.data()}));
  EXPECT_FALSE(WriteBytesToFile((scratch / "missing\\out.bin").c_str(), {data.data()}));

  // Held open elsewhere without sharing: the open fails and the file stays.
  const std::string held = scratch / "held.bin";
  ASSERT_TRUE(test::WriteWholeFile(held, {'o', 'l', 'd'}));
  HANDLE other = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteBytesToFile(held.c_str(), {data.data()}));
  CloseHandle(other);
  EXPECT_EQ(test::ReadWholeFile(held), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

TEST(SetFileAttributeFlags, ReplacesTheSetWithTheFlagsItKeeps) {
  ScratchDirectory scratch;
  const std::string path = scratch / "file";
  ASSERT_TRUE(test::WriteWholeFile(path, {1}));
  const struct {
    uint32_t flags;
    DWORD expected;
  } cases[] = {
      {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
      {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
      {FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_SYSTEM},  // replaces read-only and hidden
      {0xFFFFFFFF, 0x27},
      {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_ARCHIVE},
      {0, FILE_ATTRIBUTE_NORMAL},
      {FILE_ATTRIBUTE_TEMPORARY, FILE_ATTRIBUTE_NORMAL},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(SetFileAttributeFlags(path.c_str(), c.flags)) << std::hex << c.flags;
    EXPECT_EQ(Attributes(path), test::ReportedFileAttributes(c.expected)) << std::hex << c.flags;
  }
  EXPECT_FALSE(SetFileAttributeFlags((scratch / "missing").c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_FALSE(SetFileAttributeFlags(nullptr, FILE_ATTRIBUTE_HIDDEN));
}

TEST(DeploySkinEngine, WritesTheEngineHiddenIntoAFreshRunDirectory) {
  ScratchDirectory run, elsewhere("_current");
  test::ShellSkinState state(run.path());
  test::CurrentDirectory current(elsewhere.path());  // has no say in where the file goes
  DeploySkinEngine();
  const std::string file = run / "SkinH_EL.dll";
  EXPECT_EQ(test::DirectoryEntries(run.path()), std::vector<std::string>{"SkinH_EL.dll"});
  EXPECT_TRUE(test::ReadWholeFile(file) == PayloadBytes());
  EXPECT_EQ(Attributes(file), test::ReportedFileAttributes(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(test::DirectoryEntries(elsewhere.path()).empty());
}

TEST(DeploySkinEngine, LeavesAnExistingFileExactlyAsItWas) {
  const struct {
    const char* what;
    std::vector<uint8_t> content;
    DWORD attributes;
  } cases[] = {
      {"empty and visible", {}, FILE_ATTRIBUTE_NORMAL},
      {"read-only", {'M', 'Z'}, FILE_ATTRIBUTE_READONLY},
      {"hidden system file", {1, 2, 3}, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
      {"archive", {9}, FILE_ATTRIBUTE_ARCHIVE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDirectory run;
    test::ShellSkinState state(run.path());
    const std::string file = run / "SkinH_EL.dll";
    ASSERT_TRUE(test::WriteWholeFile(file, c.content));
    const FILETIME old = YearsAgo();
    HANDLE handle = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    SetFileTime(handle, nullptr, nullptr, &old);
    CloseHandle(handle);
    SetFileAttributesA(file.c_str(), c.attributes);
    const DWORD before = Attributes(file);
    ASSERT_EQ(before, test::ReportedFileAttributes(c.attributes));

    DeploySkinEngine();
    EXPECT_EQ(test::ReadWholeFile(file), c.content);
    EXPECT_EQ(Attributes(file), before);
    EXPECT_TRUE(SameTime(LastWriteTime(file), old));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST(DeploySkinEngine, ADirectoryOfTheEnginesNameCountsAsPresent) {
  ScratchDirectory run;
  test::ShellSkinState state(run.path());
  const std::string folder = run / "SkinH_EL.dll";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const DWORD before = Attributes(folder);
  DeploySkinEngine();
  EXPECT_EQ(Attributes(folder), before);
  EXPECT_TRUE(test::DirectoryEntries(folder).empty());
  EXPECT_EQ(test::DirectoryEntries(run.path()), std::vector<std::string>{"SkinH_EL.dll"});
}

TEST(DeploySkinEngine, ARunDirectoryThatCannotBeWrittenIsSilent) {
  ScratchDirectory scratch;
  test::ShellSkinState state(scratch / "gone");  // a folder that is not there
  DeploySkinEngine();
  EXPECT_TRUE(test::DirectoryEntries(scratch.path()).empty());
}

}  // namespace
}  // namespace vorrik
