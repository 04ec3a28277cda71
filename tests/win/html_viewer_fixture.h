// What the browser control's tests share: a window with one control whose
// ten events all record what their handler saw, a local HTTP server, and
// the component and its site as a test reaches them.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <exdisp.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/window_registry.h"
#include "tests/win/http_test_server.h"
#include "tests/win/test_support.h"
#include "windows/kinds/com_ptr.h"

namespace vorrik::test {

constexpr uint32_t kViewerWindow = 0x52010001, kViewerItem = 0x16010002;
constexpr int32_t kVisibleProperty = 5, kWidthProperty = 2;
constexpr int32_t kFontSizeProperty = 8, kOfflineProperty = 9, kSilentProperty = 10, kUrlProperty = 11;

// What one handler saw, its control's texts read inside it.
struct Seen {
  int32_t event = 0;
  std::vector<uint32_t> arguments;
  std::string url, caption, status;
};
extern std::vector<Seen> g_seen;
extern std::optional<int32_t> g_answers[10];  // what each event's handler returns
extern int32_t g_closeOnEvent;                // its handler destroys the window
extern int g_ticks;                           // of the clock beside the control
std::vector<int32_t> EventsSeen();

std::vector<uint8_t> ViewerSettings(const std::string& url, int32_t fontSize = 2, bool offline = false,
                                    bool silent = false);
std::string ReadText(HWND viewer, int32_t ownIndex);

HWND ComponentWindow(HWND viewer);
ComPtr<IOleClientSite> ClientSiteOf(HWND viewer);
// The sink the control advised, reached through its site.
ComPtr<IDispatch> SinkOf(HWND viewer);

// Dispatches messages until done() or the limit; false on the limit.
bool PumpUntil(const std::function<bool()>& done, DWORD limit = 10000);

class HtmlViewerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Builds the window with the control (and a 20 ms clock) and shows it.
  bool Load(const std::vector<uint8_t>& viewerSettings, bool withClock = false);
  void Unload();
  RegistryEntry& Entry();
  HWND Viewer();

  void Write(int32_t property, uint32_t value);
  void WriteText(int32_t property, const std::string& text);
  std::string Read(int32_t ownIndex);
  bool WaitForGets(const std::string& path, int count);

  HttpTestServer server_;
  std::optional<ScopedRegistry> registry_;
};

}  // namespace vorrik::test
