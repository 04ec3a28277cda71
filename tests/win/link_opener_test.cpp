// OpenLink hands the link to the shell: a catcher program of ours,
// registered for the "tencent" scheme in the test prefix, receives it byte
// for byte; with nothing registered the program carries on.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/texts.h"
#include "windows/link_opener.h"

namespace vorrik {
namespace {

std::string BesideTheTests(const char* name) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (length > 0 && path[length - 1] != '\\') --length;
  return std::string(path, length) + name;
}

bool SetValue(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// HKCR\tencent as a messenger registers it, with our catcher as the program.
bool RegisterCatcher() {
  HKEY scheme = nullptr, command = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "tencent", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scheme, nullptr) !=
      ERROR_SUCCESS)
    return false;
  bool ok = SetValue(scheme, nullptr, "URL:tencent Protocol") && SetValue(scheme, "URL Protocol", "");
  ok = ok && RegCreateKeyExA(scheme, "shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &command,
                             nullptr) == ERROR_SUCCESS;
  ok = ok && SetValue(command, nullptr, "\"" + BesideTheTests("link_catcher.exe") + "\" \"%1\"");
  if (command) RegCloseKey(command);
  RegCloseKey(scheme);
  return ok;
}

void UnregisterCatcher() { RegDeleteTreeA(HKEY_CLASSES_ROOT, "tencent"); }

// What the catcher wrote, once it has; empty when it never does.
std::string CaughtWithin(DWORD limit) {
  const std::string path = BesideTheTests("link_catcher.out");
  const DWORD start = GetTickCount();
  for (;;) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      char buffer[4096];
      DWORD got = 0;
      ReadFile(file, buffer, sizeof buffer, &got, nullptr);
      CloseHandle(file);
      return std::string(buffer, got);
    }
    if (GetTickCount() - start > limit) return {};
    Sleep(50);
  }
}

class LinkOpenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileA(BesideTheTests("link_catcher.out").c_str());
    ASSERT_TRUE(RegisterCatcher());
  }
  void TearDown() override {
    UnregisterCatcher();
    DeleteFileA(BesideTheTests("link_catcher.out").c_str());
  }
};

TEST_F(LinkOpenerTest, TheRegisteredProgramReceivesTheLinkByteForByte) {
  const struct {
    const char* link;
    bool ownerWindow;  // a top-level window titled as the shell's owner
  } cases[] = {
      {"tencent://message/?uin=10000", false},
      {"tencent://message/?uin=2718281828", true},
      {"tencent://message/?uin=10000&Site=游戏&Menu=yes", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    DeleteFileA(BesideTheTests("link_catcher.out").c_str());
    HWND owner = c.ownerWindow ? CreateWindowExA(0, "STATIC", "Microsoft Internet Explorer", WS_OVERLAPPED, 0, 0, 50,
                                                 50, nullptr, nullptr, nullptr, nullptr)
                               : nullptr;
    Text link = JoinTexts(c.link, nullptr);
    OpenLink(link);
    ReleaseBlock(link);
    EXPECT_EQ(CaughtWithin(20000), std::string("\"") + c.link + "\"");
    if (owner) DestroyWindow(owner);
  }
}

TEST_F(LinkOpenerTest, WithNothingRegisteredTheProgramCarriesOn) {
  UnregisterCatcher();
  OpenLink("tencent://message/?uin=10000");
  OpenLink("");
  OpenLink(nullptr);
  // Registered again, the next link arrives: the earlier ones left nothing behind.
  ASSERT_TRUE(RegisterCatcher());
  OpenLink("tencent://message/?uin=31415");
  EXPECT_EQ(CaughtWithin(20000), "\"tencent://message/?uin=31415\"");
}

}  // namespace
}  // namespace vorrik
