// The browser control in a window built from a description, against a local
// HTTP server: navigation, the calls made on the component, the events the
// real component raises under Wine and, for the notices Wine never sends,
// its sink driven the way the component drives it; keys, visibility,
// refused settings, teardown from a handler, a page that never comes, leaks.
#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <exdispid.h>
#include <psapi.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "tests/win/browser_call_recorder.h"
#include "tests/win/http_test_server.h"
#include "tests/win/kind_test_support.h"
#include "tests/win/test_support.h"
#include "windows/kinds/browser_site.h"
#include "windows/kinds/html_viewer.h"
#include "windows/kinds/html_viewer_settings.h"
#include "windows/kinds/timer_settings.h"
#include "windows/kinds/window.h"
#include "windows/kinds/window_settings.h"

namespace vorrik {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr uint32_t kWindow = 0x52010001, kOwnItem = 0x06010000, kViewer = 0x16010002, kClock = 0x16010003;
constexpr int32_t kVisible = 5, kWidth = 2;
constexpr int32_t kFontSizeProperty = 8, kOfflineProperty = 9, kSilentProperty = 10, kUrlProperty = 11;
constexpr int32_t kTickHandler = 10;

// ---- What the handlers see

struct Seen {
  int32_t event = 0;
  std::vector<uint32_t> arguments;
  std::string url, caption, status;  // read inside the handler
};
std::vector<Seen> g_seen;
std::optional<int32_t> g_answers[10];
int32_t g_closeOnEvent = -1;
int g_ticks = 0;
test::ScopedRegistry* g_registry = nullptr;

HWND LiveViewer() {
  if (!g_registry) return nullptr;
  RegistryEntry* entry = g_registry->Get().Find(kWindow);
  if (!entry || !entry->Loaded()) return nullptr;
  return entry->objects[*entry->working.table.IndexOf(kViewer)];
}

std::string ReadText(HWND viewer, int32_t ownIndex) {
  auto* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(html_viewer::GetProperty(viewer, ownIndex)));
  return text ? text : "<null>";
}

template <int32_t kEvent>
std::optional<int32_t> OnEvent(std::span<const uint32_t> arguments) {
  HWND viewer = LiveViewer();
  Seen seen{kEvent, {arguments.begin(), arguments.end()}, {}, {}, {}};
  seen.url = ReadText(viewer, html_viewer::kUrl);
  seen.caption = ReadText(viewer, html_viewer::kCaption);
  seen.status = ReadText(viewer, html_viewer::kStatusText);
  g_seen.push_back(seen);
  if (kEvent == g_closeOnEvent) DestroyLoadedWindow(kWindow, true);
  return g_answers[kEvent];
}

std::optional<int32_t> OnTick(std::span<const uint32_t>) {
  ++g_ticks;
  return std::nullopt;
}

constexpr HandlerRoutine kHandlers[] = {OnEvent<0>, OnEvent<1>, OnEvent<2>, OnEvent<3>, OnEvent<4>, OnEvent<5>,
                                        OnEvent<6>, OnEvent<7>, OnEvent<8>, OnEvent<9>, OnTick};

std::vector<int32_t> EventsSeen() {
  std::vector<int32_t> events;
  for (const Seen& seen : g_seen) events.push_back(seen.event);
  return events;
}

// ---- Descriptions

std::vector<uint8_t> Settings(const std::string& url, int32_t fontSize = 2, bool offline = false,
                              bool silent = false) {
  return EncodeHtmlViewerSettings({fontSize, offline, silent, url});
}

std::vector<uint8_t> WindowRecord() {
  WindowSettings settings;
  settings.title = "browser";
  settings.escCloses = 1;
  ControlRecord r;
  r.kind = kKindWindow;
  r.left = 20;
  r.top = 20;
  r.width = 420;
  r.height = 340;
  r.state = kStateVisible;
  r.settings = EncodeWindowSettings(settings);
  return EncodeControlRecord(r);
}

std::vector<uint8_t> ViewerRecord(const std::vector<uint8_t>& settings) {
  ControlRecord r;
  r.kind = kKindHtmlViewer;
  r.left = 10;
  r.top = 10;
  r.width = 300;
  r.height = 200;
  r.state = kStateVisible | kStateTabStop;
  for (int32_t event = 0; event < 10; ++event) r.bindings.push_back({static_cast<uint32_t>(event), event});
  r.settings = settings;
  return EncodeControlRecord(r);
}

std::vector<uint8_t> ClockRecord() {
  ControlRecord r;
  r.kind = kKindTimer;
  r.width = r.height = 10;
  r.bindings = {{kEventTimerTick, kTickHandler}};
  r.settings = EncodeTimerSettings({20});
  return EncodeControlRecord(r);
}

// ---- The component as the test reaches it

HWND ComponentWindow(HWND viewer) {
  auto window = html_viewer::ComponentOf(viewer).As<IOleWindow>(IID_IOleInPlaceObject);
  HWND component = nullptr;
  if (window) window->GetWindow(&component);
  return component;
}

ComPtr<IOleClientSite> ClientSiteOf(HWND viewer) {
  auto object = html_viewer::ComponentOf(viewer).As<IOleObject>(IID_IOleObject);
  ComPtr<IOleClientSite> site;
  if (object) object->GetClientSite(site.Put());
  return site;
}

// The sink the control advised, reached through its site.
ComPtr<IDispatch> SinkOf(HWND viewer) { return ClientSiteOf(viewer).As<IDispatch>(DIID_DWebBrowserEvents2); }

class Bstr {
 public:
  explicit Bstr(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    text_ = SysAllocString(wide.c_str());
  }
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

VARIANT Value(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  return v;
}
VARIANT Long(int32_t value) {
  VARIANT v = Value(VT_I4);
  V_I4(&v) = value;
  return v;
}
VARIANT Bool(bool value) {
  VARIANT v = Value(VT_BOOL);
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
VARIANT String(const Bstr& text) {
  VARIANT v = Value(VT_BSTR);
  V_BSTR(&v) = text.get();
  return v;
}
VARIANT Reference(VARIANT* target) {
  VARIANT v = Value(VT_BYREF | VT_VARIANT);
  V_VARIANTREF(&v) = target;
  return v;
}
VARIANT BoolReference(VARIANT_BOOL* target) {
  VARIANT v = Value(VT_BYREF | VT_BOOL);
  V_BOOLREF(&v) = target;
  return v;
}
VARIANT Dispatch(IDispatch* object) {
  VARIANT v = Value(VT_DISPATCH);
  V_DISPATCH(&v) = object;
  return v;
}
VARIANT DispatchReference(IDispatch** target) {
  VARIANT v = Value(VT_BYREF | VT_DISPATCH);
  V_DISPATCHREF(&v) = target;
  return v;
}

// Arguments in declaration order; DISPPARAMS carries them last first.
HRESULT Fire(IDispatch& sink, DISPID id, std::vector<VARIANT> arguments) {
  std::reverse(arguments.begin(), arguments.end());
  DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  return sink.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

// The notices that carry an address, as the component raises them.
struct Navigation {
  Bstr address;
  VARIANT url, flags = Long(0), frame = Value(VT_EMPTY), postData = Value(VT_EMPTY), headers = Value(VT_EMPTY);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  explicit Navigation(const char* text) : address(text), url(String(address)) {}

  HRESULT Before(IDispatch& sink, IDispatch* browser) {
    return Fire(sink, DISPID_BEFORENAVIGATE2,
                {Dispatch(browser), Reference(&url), Reference(&flags), Reference(&frame), Reference(&postData),
                 Reference(&headers), BoolReference(&cancel)});
  }
  HRESULT Complete(IDispatch& sink, DISPID id, IDispatch* browser) {
    return Fire(sink, id, {Dispatch(browser), Reference(&url)});
  }
};

// ---- Fixture

bool PumpUntil(const std::function<bool()>& done, DWORD limit = 10000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > limit) return false;
    ProcessPendingMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

class HtmlViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));  // start-up does this in the program
    ASSERT_NE(server_.Port(), 0);
    g_seen.clear();
    for (auto& answer : g_answers) answer.reset();
    g_closeOnEvent = -1;
    g_ticks = 0;
    if (!Shell().toolWindow) Shell().toolWindow = CreateShellToolWindow(GetModuleHandleA(nullptr));
  }
  void TearDown() override {
    Unload();
    g_registry = nullptr;
    registry_.reset();
    EXPECT_EQ(BrowserSite::LiveCount(), 0) << "a site outlived its control";
    OleUninitialize();
  }

  bool Load(const std::vector<uint8_t>& viewerSettings, bool withClock = false) {
    Unload();
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> entries{{kOwnItem, WindowRecord()},
                                                                   {kViewer, ViewerRecord(viewerSettings)}};
    if (withClock) entries.push_back({kClock, ClockRecord()});
    g_registry = nullptr;
    registry_.reset();
    registry_.emplace(test::OneWindowSet(kWindow, entries), kHandlers);
    g_registry = &*registry_;
    if (!LoadWindow(kWindow, nullptr, false)) return false;
    SetForegroundWindow(Entry().objects[0]);
    return true;
  }
  void Unload() {
    if (registry_ && Entry().Loaded()) DestroyLoadedWindow(kWindow, true);
  }
  RegistryEntry& Entry() { return *registry_->Get().Find(kWindow); }
  HWND Viewer() { return LiveViewer(); }

  void Write(int32_t property, uint32_t value) { WriteProperty(kWindow, kViewer, property, -1, value, 0); }
  void WriteText(int32_t property, const std::string& text) { Write(property, test::TextValue(text.c_str())); }
  std::string Read(int32_t ownIndex) { return ReadText(Viewer(), ownIndex); }
  bool WaitForGets(const std::string& path, int count) {
    return PumpUntil([&] { return server_.CountGets(path) >= count; });
  }

  test::HttpTestServer server_;
  std::optional<test::ScopedRegistry> registry_;
};

// ---- Navigation against the server

TEST_F(HtmlViewerTest, NavigatesAtCreationAndAgainOnEveryWriteOfTheAddress) {
  const std::string page = server_.Address("game.htm");
  ASSERT_TRUE(Load(Settings(page)));
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
      Settings(""),          // an address of length 0
      {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 'x'},  // length -3
  };
  for (const auto& settings : noAddress) {
    SCOPED_TRACE(settings.size());
    test::HttpTestServer server;
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
    const std::string path = "target" + std::to_string(n) + ".htm", after = "after" + std::to_string(n++) + ".htm";
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
    // A navigation that goes ahead afterwards: once its request is in, an
    // earlier one would be too.
    g_answers[html_viewer::kBeforeNavigate].reset();
    WriteText(kUrlProperty, server_.Address(after));
    ASSERT_TRUE(WaitForGets(after, 1));
    EXPECT_EQ(server_.CountGets(path), c.loads ? 1 : 0);
  }
}

// What Wine's component does raise while a page loads.
TEST_F(HtmlViewerTest, TheRealComponentsNoticesArriveAsEvents) {
  ASSERT_TRUE(Load({}));
  const std::string page = server_.Address("page.htm");
  WriteText(kUrlProperty, page);
  ASSERT_TRUE(WaitForGets("page.htm", 1));
  ASSERT_TRUE(PumpUntil([] {
    auto events = EventsSeen();
    return std::find(events.begin(), events.end(), html_viewer::kDownloadComplete) != events.end();
  }));
  const auto events = EventsSeen();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), html_viewer::kBeforeNavigate);
  EXPECT_TRUE(std::find(events.begin(), events.end(), html_viewer::kDownloadBegin) < 
              std::find(events.begin(), events.end(), html_viewer::kDownloadComplete));
  // Going back and forward is announced as not possible, and the status
  // line names the page being fetched.
  for (const Seen& seen : g_seen) {
    if (seen.event == html_viewer::kCommandStateChange) {
      ASSERT_EQ(seen.arguments.size(), 2u);
      EXPECT_LE(seen.arguments[0], 1u);
      EXPECT_EQ(seen.arguments[1], 0u);
    }
  }
  EXPECT_TRUE(std::any_of(g_seen.begin(), g_seen.end(), [&](const Seen& seen) {
    return seen.event == html_viewer::kStatusTextChange && seen.status.find(page) != std::string::npos;
  }));
}

// ---- The calls made on the component

TEST_F(HtmlViewerTest, CreationAndWritesMakeTheirCallsOnTheComponent) {
  test::BrowserCallRecorder calls;
  ASSERT_TRUE(calls.Installed());
  const std::string page = server_.Address("calls.htm");
  const struct {
    std::vector<uint8_t> settings;
    std::vector<std::string> calls;
    uint32_t fontSize;
  } creations[] = {
      {{}, {"put_Offline(false)", "put_Silent(false)", "ExecWB(19,2,2)"}, 2},
      {Settings(page, 7, true, true),
       {"put_Offline(true)", "put_Silent(true)", "ExecWB(19,2,4)", "Navigate(" + page + ",0,\"\",-,-)"},
       7},  // shown at 4, read as stored
      {Settings("", -5), {"put_Offline(false)", "put_Silent(false)", "ExecWB(19,2,0)"}, static_cast<uint32_t>(-5)},
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
      {kUrlProperty, test::TextValue(page.c_str()), "Navigate(" + page + ",0,\"\",-,-)"},
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

// ---- Notices Wine never sends, driven through the sink

TEST_F(HtmlViewerTest, DrivenNoticesRaiseTheirEventsWithTheirArgumentsAndTexts) {
  const std::string page = server_.Address("shown.htm");
  ASSERT_TRUE(Load(Settings(page)));
  ASSERT_TRUE(WaitForGets("shown.htm", 1));
  auto sink = SinkOf(Viewer());
  ASSERT_TRUE(sink);
  auto browser = html_viewer::ComponentOf(Viewer()).As<IDispatch>(IID_IDispatch);
  g_seen.clear();

  Navigation arrived("http://elsewhere.example/arrived.htm");
  ASSERT_EQ(arrived.Complete(*sink, DISPID_NAVIGATECOMPLETE2, browser.get()), S_OK);
  Navigation done("http://elsewhere.example/done.htm");
  ASSERT_EQ(done.Complete(*sink, DISPID_DOCUMENTCOMPLETE, browser.get()), S_OK);
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].event, html_viewer::kNavigateComplete);
  EXPECT_EQ(g_seen[0].url, "http://elsewhere.example/arrived.htm");
  EXPECT_EQ(g_seen[1].event, html_viewer::kDocumentComplete);
  EXPECT_EQ(g_seen[1].url, "http://elsewhere.example/done.htm");
  EXPECT_EQ(Read(html_viewer::kUrl), page);  // outside the events: the address shown

  g_seen.clear();
  const Bstr status("正在打开网页"), title("游戏标题");
  Fire(*sink, DISPID_STATUSTEXTCHANGE, {String(status)});
  Fire(*sink, DISPID_TITLECHANGE, {String(title)});
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].event, html_viewer::kStatusTextChange);
  EXPECT_EQ(g_seen[0].status, "正在打开网页");
  EXPECT_EQ(g_seen[1].event, html_viewer::kTitleChange);
  EXPECT_EQ(g_seen[1].caption, "游戏标题");
  EXPECT_EQ(Read(html_viewer::kStatusText), "正在打开网页");  // kept until the next change
  EXPECT_NE(Read(html_viewer::kCaption), "游戏标题");        // the component's own again

  const struct {
    DISPID id;
    std::vector<VARIANT> arguments;
    std::vector<std::vector<uint32_t>> raised;  // the arguments of each event raised
    int32_t event;
  } cases[] = {
      {DISPID_DOWNLOADBEGIN, {}, {{}}, html_viewer::kDownloadBegin},
      {DISPID_DOWNLOADCOMPLETE, {}, {{}}, html_viewer::kDownloadComplete},
      {DISPID_PROGRESSCHANGE, {Long(50), Long(200)}, {{25}}, html_viewer::kProgressChange},
      {DISPID_PROGRESSCHANGE, {Long(2), Long(3)}, {{67}}, html_viewer::kProgressChange},  // rounded
      {DISPID_PROGRESSCHANGE, {Long(1), Long(3)}, {{33}}, html_viewer::kProgressChange},
      {DISPID_PROGRESSCHANGE, {Long(7), Long(0)}, {{100}}, html_viewer::kProgressChange},  // no maximum
      {DISPID_COMMANDSTATECHANGE, {Long(CSC_NAVIGATEFORWARD), Bool(true)}, {{0, 1}}, html_viewer::kCommandStateChange},
      {DISPID_COMMANDSTATECHANGE, {Long(CSC_NAVIGATEBACK), Bool(false)}, {{1, 0}}, html_viewer::kCommandStateChange},
      {DISPID_COMMANDSTATECHANGE, {Long(CSC_UPDATECOMMANDS), Bool(true)}, {}, -1},  // not forward or back
      {DISPID_PROPERTYCHANGE, {String(status)}, {}, -1},
      {DISPID_ONQUIT, {}, {}, -1},
      {DISPID_ONVISIBLE, {Bool(true)}, {}, -1},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(n++);
    g_seen.clear();
    EXPECT_EQ(Fire(*sink, c.id, c.arguments), S_OK);
    ASSERT_EQ(g_seen.size(), c.raised.size());
    for (size_t i = 0; i < g_seen.size(); ++i) {
      EXPECT_EQ(g_seen[i].event, c.event);
      EXPECT_EQ(g_seen[i].arguments, c.raised[i]);
    }
  }
}

TEST_F(HtmlViewerTest, DrivenNavigationAndNewWindowAreRefusedOnlyByAnAnsweredFalse) {
  ASSERT_TRUE(Load({}));
  auto sink = SinkOf(Viewer());
  ASSERT_TRUE(sink);
  auto browser = html_viewer::ComponentOf(Viewer()).As<IDispatch>(IID_IDispatch);
  const struct {
    std::optional<int32_t> answer;
    bool refused;
  } cases[] = {{std::nullopt, false}, {1, false}, {-1, false}, {0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.value_or(99));
    g_seen.clear();
    g_answers[html_viewer::kBeforeNavigate] = g_answers[html_viewer::kNewWindow] = c.answer;
    Navigation target("http://elsewhere.example/target.htm");
    ASSERT_EQ(target.Before(*sink, browser.get()), S_OK);
    EXPECT_EQ(target.cancel, c.refused ? VARIANT_TRUE : VARIANT_FALSE);

    IDispatch* newBrowser = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    ASSERT_EQ(Fire(*sink, DISPID_NEWWINDOW2, {DispatchReference(&newBrowser), BoolReference(&cancel)}), S_OK);
    EXPECT_EQ(cancel, c.refused ? VARIANT_TRUE : VARIANT_FALSE);

    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].event, html_viewer::kBeforeNavigate);
    EXPECT_EQ(g_seen[0].url, "http://elsewhere.example/target.htm");
    EXPECT_EQ(g_seen[1].event, html_viewer::kNewWindow);
    EXPECT_TRUE(g_seen[1].arguments.empty());
  }
}

// The window goes inside the handler; the control must not touch itself
// afterwards, and the sink, still held by its caller, raises nothing more.
TEST_F(HtmlViewerTest, AHandlerThatClosesTheWindowLeavesTheControlAlone) {
  const std::string page = server_.Address("closing.htm");
  ASSERT_TRUE(Load(Settings(page)));
  ASSERT_TRUE(WaitForGets("closing.htm", 1));
  auto sink = SinkOf(Viewer());
  ASSERT_TRUE(sink);
  HWND viewer = Viewer();
  g_seen.clear();
  g_closeOnEvent = html_viewer::kNavigateComplete;
  Navigation arrived("http://elsewhere.example/arrived.htm");
  EXPECT_EQ(arrived.Complete(*sink, DISPID_NAVIGATECOMPLETE2, nullptr), S_OK);
  EXPECT_THAT(EventsSeen(), ElementsAre(html_viewer::kNavigateComplete));
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_FALSE(Entry().Loaded());

  EXPECT_EQ(arrived.Complete(*sink, DISPID_DOCUMENTCOMPLETE, nullptr), S_OK);
  EXPECT_EQ(Fire(*sink, DISPID_DOWNLOADBEGIN, {}), S_OK);
  EXPECT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(BrowserSite::LiveCount(), 1);  // held by the test's reference alone
  sink.Reset();
  EXPECT_EQ(BrowserSite::LiveCount(), 0);

  // The same from inside the component's own call: Navigate raises
  // BeforeNavigate2 under Wine, and that handler closes the window.
  ASSERT_TRUE(Load({}));
  g_closeOnEvent = html_viewer::kBeforeNavigate;
  WriteText(kUrlProperty, server_.Address("never.htm"));
  EXPECT_FALSE(Entry().Loaded());
  EXPECT_EQ(BrowserSite::LiveCount(), 0);
}

// ---- Settings the control refuses, and a component that cannot be made

TEST_F(HtmlViewerTest, RefusedSettingsFailTheBuildAndLeaveNothing) {
  std::vector<uint8_t> version2 = Settings("http://a.example/"), cut = Settings("http://a.example/");
  version2[0] = 2;
  cut.resize(cut.size() - 3);  // ends inside the address
  for (const auto& settings : {version2, cut}) {
    EXPECT_FALSE(Load(settings));
    EXPECT_FALSE(Entry().Loaded());

    test::ReflectingWindow parent;
    EXPECT_EQ(html_viewer::Create(test::ArgumentsFor(settings, parent.get(), {0, 0, 100, 100})), nullptr);
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
  test::ReflectingWindow parent;
  EXPECT_EQ(html_viewer::Create(test::ArgumentsFor(Settings("http://a.example/"), parent.get(), {0, 0, 100, 100})),
            nullptr);
  EXPECT_EQ(factory.asked, 1);
  EXPECT_EQ(GetWindow(parent.get(), GW_CHILD), nullptr);
  EXPECT_FALSE(Load(Settings("http://a.example/")));
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
  Write(kWidth, 180);
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
  ASSERT_TRUE(Load(Settings(page)));
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
  test::PumpMessages();
  const COLORREF shown = centre();
  Write(kVisible, 0);
  EXPECT_FALSE(IsWindowVisible(viewer));
  EXPECT_EQ(centre(), GetSysColor(COLOR_BTNFACE));  // the window's own background
  Write(kVisible, 1);
  EXPECT_TRUE(IsWindowVisible(ComponentWindow(viewer)));
  EXPECT_EQ(centre(), shown);
  EXPECT_NE(shown, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Read(html_viewer::kUrl), page);
  EXPECT_EQ(server_.CountGets("kept.htm"), 1);  // not loaded again
}

// ---- Nothing waits for a page

TEST_F(HtmlViewerTest, APageThatNeverComesOrAHostThatIsNotThereLeavesTheClockTicking) {
  ASSERT_TRUE(Load(Settings(server_.Address("hang.htm")), true));
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

TEST_F(HtmlViewerTest, CreateNavigateDestroyCyclesLeaveHandlesAndMemoryFlat) {
  // One address throughout: the engine's own history and cache keep an
  // entry for every address seen, which is not the control's to free.
  const std::string page = server_.Address("cycle.htm");
  auto cycle = [&](int i) {
    if (!Load(Settings(page))) return false;
    const bool arrived = WaitForGets("cycle.htm", i + 1);
    Unload();
    test::PumpMessages();
    return arrived && BrowserSite::LiveCount() == 0;
  };
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(cycle(i));  // caches and pools settle first
  const int handlesBefore = LiveHandles(), windowsBefore = ThreadWindows();
  // The engine takes and gives back large buffers in steps of megabytes, so
  // memory is compared by its floor over the first and the last 25 cycles:
  // a leak lifts the floor, a passing buffer does not.
  SIZE_T floorFirst = SIZE_MAX, floorLast = SIZE_MAX;
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(cycle(20 + i)) << i;
    const SIZE_T committed = CommittedPrivateMemory();
    if (i < 25) floorFirst = std::min(floorFirst, committed);
    if (i >= 175) floorLast = std::min(floorLast, committed);
  }
  const int handlesAfter = LiveHandles(), windowsAfter = ThreadWindows();
  std::printf("200 cycles: handles %d -> %d, windows %d -> %d, committed private memory (floor) %lu -> %lu KiB\n",
              handlesBefore, handlesAfter, windowsBefore, windowsAfter,
              static_cast<unsigned long>(floorFirst / 1024), static_cast<unsigned long>(floorLast / 1024));
  ASSERT_GT(handlesBefore, 0);
  EXPECT_LE(handlesAfter, handlesBefore + 5);
  EXPECT_EQ(windowsAfter, windowsBefore);
  // A leaked component (its windows, document host and buffers) costs far
  // more than 10 KiB a cycle.
  EXPECT_LT(floorLast, floorFirst + 200 * 10 * 1024);
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
        SetErrorBoxPresenter(test::PrintErrorBox);
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
