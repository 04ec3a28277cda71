#include "shell/run_directory.h"

#include <gtest/gtest.h>

namespace vorrik {
namespace {

TEST(RunDirectory, CutAtTheLastRealSeparator) {
  struct Case {
    const char* path;
    const char* directory;
  } cases[] = {
      {"C:\\Apps\\launcher.exe", "C:\\Apps"},
      {"D:\\launcher.exe", "D:"},
      {"launcher.exe", ""},
      {"", ""},
      // "\xD6\x5C" is one GBK character whose trail byte is the backslash code.
      {"C:\\\xD6\x5C\\launcher.exe", "C:\\\xD6\x5C"},
      {"C:\\a\xD6\x5C.exe", "C:"},
      {"C:\\\xB1\xED\\\xD6\x5C\xD6\x5C\\x.exe", "C:\\\xB1\xED\\\xD6\x5C\xD6\x5C"},
      {"\\\\server\\share\\x.exe", "\\\\server\\share"},
  };
  for (const auto& c : cases) EXPECT_EQ(RunDirectoryOf(c.path, IsGbkLeadByte), c.directory) << c.path;
}

TEST(RunDirectory, ByteWisePredicateWouldCutInsideACharacter) {
  // The same path scanned without double-byte awareness shows what is at stake.
  auto singleByte = [](unsigned char) { return false; };
  EXPECT_EQ(RunDirectoryOf("C:\\a\xD6\x5C.exe", singleByte), "C:\\a\xD6");
}

TEST(RunDirectory, LoneLeadByteAtTheEndIsNotReadPast) {
  EXPECT_EQ(RunDirectoryOf("C:\\dir\\x\xD6", IsGbkLeadByte), "C:\\dir");
}

TEST(RunDirectory, ExtensionReplacedOnlyInTheFileName) {
  struct Case {
    const char* path;
    const char* result;
  } cases[] = {
      {"C:\\Apps\\vorrik.exe", "C:\\Apps\\vorrik.hlp"},
      {"C:\\Apps\\vorrik", "C:\\Apps\\vorrik.hlp"},
      {"C:\\v1.2\\vorrik", "C:\\v1.2\\vorrik.hlp"},  // a dot in a directory is not the extension
      {"C:\\Apps\\a.b.exe", "C:\\Apps\\a.b.hlp"},
      {"vorrik.exe", "vorrik.hlp"},
      {"C:\\\xD6\x5C.exe", "C:\\\xD6\x5C.hlp"},
      {"", ".hlp"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithExtension(c.path, "hlp", IsGbkLeadByte), c.result) << c.path;
}

}  // namespace
}  // namespace vorrik
