// The browser control in a window built from a description, against a local
// HTTP server: navigation, the calls made on the component, refused
// settings, the component in its window (size, focus, keys, visibility), a
// page that never comes, leaks, and the program's end with a browser up.
#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <exdispid.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "tests/win/html_viewer_fixture.h"
#include "windows/kinds/browser_site.h"
#include "windows/kinds/html_viewer.h"
#include "windows/kinds/window.h"
#include "tests/win/browser_call_recorder.h"
#include "tests/win/kind_test_support.h"
#include "tests/win/property_test_kinds.h"

namespace vorrik {
namespace {

using namespace test;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// ---- Navigation against the server

TEST_F(HtmlViewerTest, NavigatesAtCreationAndAgainOnEveryWriteOfTheAddress) {
  const std::string page = server_.Address("game.htm");
  ASSERT_TRUE(Load(ViewerSettings(page)));
  ASSERT_TRUE(WaitForGets("game.htm", 1));
  EXPECT_EQ(Read(html_viewer::kUrl), page);

  WriteText(kUrlProperty, page);  // the address shown: loaded again
  ASSERT_TRUE(WaitForGets("game.htm", 2));
  EXPECT_EQ(Read(html_viewer::kUrl), page);
  EXPECT_THAT(server_.Gets(), ElementsAre("/game.htm", "/game.htm"));
}

TEST_F(HtmlViewerTest, WithoutAnAddressNothingIsLoaded) {
  const std::vector<uint8_t> noAddress[] = {
      {},                    // no settings block: the defaults
      ViewerSettings(""),          // an address of length 0
      {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 'x'},  // length -3
  };
  for (const auto& settings : noAddress) {
    SCOPED_TRACE(settings.size());
    HttpTestServer server;
    ASSERT_TRUE(Load(settings));
    // The first request the server sees is the one written afterwards.
    WriteText(kUrlProperty, server.Address("probe.htm"));
    ASSERT_TRUE(PumpUntil([&] { return server.CountGets("probe.htm") == 1; }));
    EXPECT_THAT(server.Gets(), ElementsAre("/probe.htm"));
    Unload();
  }
}

// Wine raises BeforeNavigate2 inside Navigate, with the address and the
// Cancel flag as the component passes them.
TEST_F(HtmlViewerTest, BeforeNavigateShowsTheTargetAndOnlyAnAnsweredFalseCancels) {
  ASSERT_TRUE(Load({}));
  const struct {
    std::optional<int32_t> answer;
    bool loads;
  } cases[] = {{std::nullopt, true}, {1, true}, {0, false}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(n);
    const std::string path = "target" + std::to_string(n++) + ".htm";
    g_seen.clear();
    g_answers[html_viewer::kBeforeNavigate] = c.answer;
    WriteText(kUrlProperty, server_.Address(path));
    // Raised inside Navigate, or later when the component is still busy
    // with the previous page.
    auto asked = [&] {
      return std::any_of(g_seen.begin(), g_seen.end(), [&](const Seen& seen) {
        return seen.event == html_viewer::kBeforeNavigate && seen.url == server_.Address(path);
      });
    };
    ASSERT_TRUE(PumpUntil(asked));
    if (c.loads) {
      EXPECT_TRUE(WaitForGets(path, 1));
      continue;
    }
    // Requests to this server arrive within milliseconds; a second is
    // plenty for one that was not held back. A later navigation is started
    // only then, so that it cannot have superseded this one.
    PumpMessagesFor(1000);
    EXPECT_EQ(server_.CountGets(path), 0);
    g_answers[html_viewer::kBeforeNavigate].reset();
    WriteText(kUrlProperty, server_.Address("after.htm"));
    EXPECT_TRUE(WaitForGets("after.htm", 1));
    EXPECT_EQ(server_.CountGets(path), 0);
  }
}

// ---- The calls made on the component

TEST_F(HtmlViewerTest, CreationAndWritesMakeTheirCallsOnTheComponent) {
  BrowserCallRecorder calls;
  ASSERT_TRUE(calls.Installed());
  const std::string page = server_.Address("calls.htm");
  const struct {
    std::vector<uint8_t> settings;
    std::vector<std::string> calls;
    uint32_t fontSize;
  } creations[] = {
      {{}, {"put_Offline(false)", "put_Silent(false)", "ExecWB(19,2,2)"}, 2},
      {ViewerSettings(page, 7, true, true),
       {"put_Offline(true)", "put_Silent(true)", "ExecWB(19,2,4)", "Navigate(" + page + ",0,\"\",-,-)"},
       7},  // shown at 4, read as stored
      {ViewerSettings("", -5), {"put_Offline(false)", "put_Silent(false)", "ExecWB(19,2,0)"}, static_cast<uint32_t>(-5)},
  };
  for (const auto& c : creations) {
    SCOPED_TRACE(c.calls.size());
    ASSERT_TRUE(Load(c.settings));
    EXPECT_THAT(calls.Take(), ElementsAreArray(c.calls));
    EXPECT_EQ(html_viewer::GetProperty(Viewer(), html_viewer::kFontSize), c.fontSize);
  }

  const struct {
    int32_t property;
    uint32_t value;
    std::string call;
  } writes[] = {
      {kFontSizeProperty, 9, "ExecWB(19,2,4)"},
      {kFontSizeProperty, static_cast<uint32_t>(-1), "ExecWB(19,2,0)"},
      {kFontSizeProperty, 3, "ExecWB(19,2,3)"},
      {kOfflineProperty, 1, "put_Offline(true)"},
      {kSilentProperty, 7, "put_Silent(true)"},
      {kOfflineProperty, 0, "put_Offline(false)"},
      {kUrlProperty, TextValue(page.c_str()), "Navigate(" + page + ",0,\"\",-,-)"},
  };
  for (const auto& w : writes) {
    SCOPED_TRACE(w.call);
    Write(w.property, w.value);
    EXPECT_THAT(calls.Take(), ElementsAre(w.call));
  }
  EXPECT_EQ(html_viewer::GetProperty(Viewer(), html_viewer::kFontSize), 3u);
  EXPECT_EQ(html_viewer::GetProperty(Viewer(), html_viewer::kOffline), 0u);
  EXPECT_EQ(html_viewer::GetProperty(Viewer(), html_viewer::kSilent), 1u);

  Write(14, 1);  // own index 6: no such property
  EXPECT_THAT(calls.Take(), ElementsAre());
  EXPECT_EQ(html_viewer::GetProperty(Viewer(), 6), 0u);
  Unload();
}

// ---- Settings the control refuses, and a component that cannot be made

TEST_F(HtmlViewerTest, RefusedSettingsFailTheBuildAndLeaveNothing) {
  std::vector<uint8_t> version2 = ViewerSettings("http://a.example/"), cut = ViewerSettings("http://a.example/");
  version2[0] = 2;
  cut.resize(cut.size() - 3);  // ends inside the address
  for (const auto& settings : {version2, cut}) {
    EXPECT_FALSE(Load(settings));
    EXPECT_FALSE(Entry().Loaded());

    ReflectingWindow parent;
    EXPECT_EQ(html_viewer::Create(ArgumentsFor(settings, parent.get(), {0, 0, 100, 100})), nullptr);
    EXPECT_EQ(GetWindow(parent.get(), GW_CHILD), nullptr);
  }
  EXPECT_EQ(server_.Gets().size(), 0u);
}

// A class object registered for the WebBrowser class that makes nothing,
// as on a system without the component.
class RefusingFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override {
    *out = nullptr;
    ++asked;
    return REGDB_E_CLASSNOTREG;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
  int asked = 0;
};

TEST_F(HtmlViewerTest, WithoutTheComponentTheControlIsNotMadeAndLeavesNothing) {
  RefusingFactory factory;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_WebBrowser, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
  ReflectingWindow parent;
  EXPECT_EQ(html_viewer::Create(ArgumentsFor(ViewerSettings("http://a.example/"), parent.get(), {0, 0, 100, 100})),
            nullptr);
  EXPECT_EQ(factory.asked, 1);
  EXPECT_EQ(GetWindow(parent.get(), GW_CHILD), nullptr);
  EXPECT_FALSE(Load(ViewerSettings("http://a.example/")));
  CoRevokeClassObject(cookie);
}

// ---- The window around the control

TEST_F(HtmlViewerTest, TheComponentFillsTheControlAndTakesItsFocus) {
  ASSERT_TRUE(Load({}));
  HWND viewer = Viewer(), component = ComponentWindow(viewer);
  ASSERT_TRUE(component);
  EXPECT_TRUE(IsChild(viewer, component));
  EXPECT_TRUE(IsWindowVisible(component));
  auto fills = [&] {
    RECT client, placed;
    GetClientRect(viewer, &client);
    GetWindowRect(component, &placed);
    MapWindowPoints(nullptr, viewer, reinterpret_cast<POINT*>(&placed), 2);
    return EqualRect(&client, &placed) != FALSE;
  };
  EXPECT_TRUE(fills());
  Write(kWidthProperty, 180);
  EXPECT_TRUE(fills());

  SetFocus(viewer);
  HWND focus = GetFocus();
  EXPECT_TRUE(focus == component || IsChild(component, focus));
}

// An active object that takes Esc, as a page would, and keeps what it saw.
class KeyTakingObject final : public IOleInPlaceActiveObject {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow) ||
        IsEqualIID(iid, IID_IOleInPlaceActiveObject)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override {
    seen.push_back(message->message);
    return message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(const RECT*, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  std::vector<UINT> seen;
};

TEST_F(HtmlViewerTest, AFocusedComponentGetsKeysAndMouseBeforeTheWindow) {
  ASSERT_TRUE(Load({}));
  HWND viewer = Viewer();
  SetFocus(viewer);
  auto inPlace = ClientSiteOf(viewer).As<IOleInPlaceSite>(IID_IOleInPlaceSite);
  ASSERT_TRUE(inPlace);
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> document;
  RECT position, clip;
  OLEINPLACEFRAMEINFO info{};
  info.cb = sizeof info;
  ASSERT_EQ(inPlace->GetWindowContext(frame.Put(), document.Put(), &position, &clip, &info), S_OK);
  ASSERT_TRUE(frame);
  EXPECT_EQ(info.hwndFrame, Entry().objects[0]);

  KeyTakingObject page;
  frame->SetActiveObject(&page, nullptr);  // as the component does when its page takes the focus
  MSG escape{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(TranslateWindowMessage(escape));
  MSG click{GetFocus(), WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {}};
  EXPECT_FALSE(TranslateWindowMessage(click));
  EXPECT_THAT(page.seen, ElementsAre(WM_KEYDOWN, WM_LBUTTONDOWN));
  EXPECT_TRUE(Entry().Loaded()) << "the page took Esc";

  // Without a page of its own the component (under Wine) takes nothing,
  // and Esc closes the window.
  frame->SetActiveObject(nullptr, nullptr);
  frame.Reset();
  document.Reset();
  inPlace.Reset();
  MSG again{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(TranslateWindowMessage(again));
  EXPECT_FALSE(Entry().Loaded());
}

// Hiding and showing keeps the page; the area is drawn again when shown.
TEST_F(HtmlViewerTest, HidingAndShowingKeepsThePageAndDrawsTheAreaAgain) {
  const std::string page = server_.Address("kept.htm");
  ASSERT_TRUE(Load(ViewerSettings(page)));
  ASSERT_TRUE(WaitForGets("kept.htm", 1));
  HWND window = Entry().objects[0], viewer = Viewer();
  auto centre = [&] {
    UpdateWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, 10 + 150, 10 + 100);
    ReleaseDC(window, dc);
    return colour;
  };
  PumpMessages();
  const COLORREF shown = centre();
  Write(kVisibleProperty, 0);
  EXPECT_FALSE(IsWindowVisible(viewer));
  EXPECT_EQ(centre(), GetSysColor(COLOR_BTNFACE));  // the window's own background
  Write(kVisibleProperty, 1);
  EXPECT_TRUE(IsWindowVisible(ComponentWindow(viewer)));
  EXPECT_EQ(centre(), shown);
  EXPECT_NE(shown, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Read(html_viewer::kUrl), page);
  EXPECT_EQ(server_.CountGets("kept.htm"), 1);  // not loaded again
}

// ---- Nothing waits for a page

TEST_F(HtmlViewerTest, APageThatNeverComesOrAHostThatIsNotThereLeavesTheClockTicking) {
  ASSERT_TRUE(Load(ViewerSettings(server_.Address("hang.htm")), true));
  ASSERT_TRUE(WaitForGets("hang.htm", 1));
  EXPECT_TRUE(PumpUntil([] { return g_ticks >= 10; }));
  WriteText(kUrlProperty, "http://127.0.0.1:1/unreachable.htm");
  const int ticks = g_ticks;
  EXPECT_TRUE(PumpUntil([&] { return g_ticks >= ticks + 10; }));
  WriteText(kUrlProperty, server_.Address("hang2.htm"));
  ASSERT_TRUE(WaitForGets("hang2.htm", 1));
  Unload();  // with the request still open
  EXPECT_FALSE(Entry().Loaded());
}

// ---- Leaks

// Counted directly: under Wine the process handle count, the memory
// counters and the GUI resource counts all read 0.
int LiveHandles() {
  int count = 0;
  for (uintptr_t value = 4; value < 4 * 65536; value += 4) {
    DWORD flags;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

SIZE_T CommittedPrivateMemory() {
  SIZE_T committed = 0;
  MEMORY_BASIC_INFORMATION region;
  for (auto* at = static_cast<const char*>(nullptr); VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) committed += region.RegionSize;
    if (region.RegionSize == 0) break;
  }
  return committed;
}

// Bytes in use in every heap of the process.
SIZE_T HeapBytesInUse() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  SIZE_T used = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return used;
}

TEST_F(HtmlViewerTest, CreateNavigateDestroyCyclesLeaveHandlesAndMemoryFlat) {
  // One address throughout: the engine's own history and cache keep an
  // entry for every address seen, which is not the control's to free.
  const std::string page = server_.Address("cycle.htm");
  auto cycle = [&](int i) {
    if (!Load(ViewerSettings(page))) return false;
    const bool arrived = WaitForGets("cycle.htm", i + 1);
    Unload();
    PumpMessages();
    g_seen.clear();
    return arrived && BrowserSite::LiveCount() == 0;
  };
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(cycle(i));  // caches and pools settle first
  const int handlesBefore = LiveHandles(), windowsBefore = ThreadWindows();
  const SIZE_T committedBefore = CommittedPrivateMemory();
  // Compared by their lowest over the first and the last 25 cycles: a leak
  // lifts the floor, a buffer still in passage does not.
  SIZE_T heapFirst = SIZE_MAX, heapLast = SIZE_MAX;
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(cycle(20 + i)) << i;
    const SIZE_T inUse = HeapBytesInUse();
    if (i < 25) heapFirst = std::min(heapFirst, inUse);
    if (i >= 175) heapLast = std::min(heapLast, inUse);
  }
  const int handlesAfter = LiveHandles(), windowsAfter = ThreadWindows();
  const SIZE_T committedAfter = CommittedPrivateMemory();
  std::printf("200 cycles: handles %d -> %d, windows %d -> %d, heap in use %lu -> %lu bytes, "
              "committed private memory %lu -> %lu KiB\n",
              handlesBefore, handlesAfter, windowsBefore, windowsAfter, static_cast<unsigned long>(heapFirst),
              static_cast<unsigned long>(heapLast), static_cast<unsigned long>(committedBefore / 1024),
              static_cast<unsigned long>(committedAfter / 1024));
  ASSERT_GT(handlesBefore, 0);
  ASSERT_GT(heapFirst, 0u);
  EXPECT_LE(handlesAfter, handlesBefore + 16);  // a handle a cycle would be 200
  EXPECT_EQ(windowsAfter, windowsBefore);
  // Each request costs Wine's download machinery about 100 bytes that it
  // keeps (as much with the control's sink unadvised; nothing without a
  // request). A component left behind holds kilobytes.
  EXPECT_LT(heapLast, heapFirst + 200 * 512);
}

// ---- The program's end with a browser still up

ComPtr<IOleObject> g_endComponent;

void PrintWhetherHosted(const char* step) {
  if (std::string(step) != "components" || !g_endComponent) return;
  ComPtr<IOleClientSite> site;
  g_endComponent->GetClientSite(site.Put());
  std::fprintf(stderr, "<browser %s>", site ? "still hosted" : "closed");
  std::fflush(stderr);
}

// A run-time error ends the program with its windows up: the game window's
// browser is closed before OLE goes, and the process ends with -1.
TEST(HtmlViewerDeathTest, ABrowserStillUpWhenTheProgramEndsIsClosedWhileOleIsThere) {
  constexpr uint32_t kGameWindow = 0x5201000F, kGameBrowser = 0x16010037;
  EXPECT_EXIT(
      {
        SetErrorBoxPresenter(PrintErrorBox);
        SetEndStepObserver(PrintWhetherHosted);
        InitialiseShell();
        if (!LoadWindow(kGameWindow, nullptr, false)) std::exit(3);
        RegistryEntry& entry = *Shell().registry->Find(kGameWindow);
        HWND viewer = entry.objects[*entry.working.table.IndexOf(kGameBrowser)];
        g_endComponent = html_viewer::ComponentOf(viewer).As<IOleObject>(IID_IOleObject);
        ReportRuntimeError(0, "x");
      },
      ::testing::ExitedWithCode(-1), ::testing::HasSubstr("<browser closed>"));
}

}  // namespace
}  // namespace vorrik
