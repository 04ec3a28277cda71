#include "tests/win/html_viewer_fixture.h"

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"
#include "windows/kinds/browser_site.h"
#include "windows/kinds/html_viewer.h"
#include "windows/kinds/html_viewer_settings.h"
#include "windows/kinds/timer_settings.h"
#include "windows/kinds/window_settings.h"

namespace vorrik::test {

std::vector<Seen> g_seen;
std::optional<int32_t> g_answers[10];
int32_t g_closeOnEvent = -1;
int g_ticks = 0;

namespace {

constexpr uint32_t kOwnItem = 0x06010000, kClock = 0x16010003;
constexpr int32_t kTickHandler = 10;

ScopedRegistry* g_registry = nullptr;

HWND LiveViewer() {
  if (!g_registry) return nullptr;
  RegistryEntry* entry = g_registry->Get().Find(kViewerWindow);
  if (!entry || !entry->Loaded()) return nullptr;
  return entry->objects[*entry->working.table.IndexOf(kViewerItem)];
}

template <int32_t kEvent>
std::optional<int32_t> OnEvent(std::span<const uint32_t> arguments) {
  HWND viewer = LiveViewer();
  Seen seen{kEvent, {arguments.begin(), arguments.end()}, {}, {}, {}};
  seen.url = ReadText(viewer, html_viewer::kUrl);
  seen.caption = ReadText(viewer, html_viewer::kCaption);
  seen.status = ReadText(viewer, html_viewer::kStatusText);
  g_seen.push_back(seen);
  if (kEvent == g_closeOnEvent) DestroyLoadedWindow(kViewerWindow, true);
  return g_answers[kEvent];
}

std::optional<int32_t> OnTick(std::span<const uint32_t>) {
  ++g_ticks;
  return std::nullopt;
}

constexpr HandlerRoutine kHandlers[] = {OnEvent<0>, OnEvent<1>, OnEvent<2>, OnEvent<3>, OnEvent<4>, OnEvent<5>,
                                        OnEvent<6>, OnEvent<7>, OnEvent<8>, OnEvent<9>, OnTick};

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

}  // namespace

std::vector<int32_t> EventsSeen() {
  std::vector<int32_t> events;
  for (const Seen& seen : g_seen) events.push_back(seen.event);
  return events;
}

std::vector<uint8_t> ViewerSettings(const std::string& url, int32_t fontSize, bool offline, bool silent) {
  return EncodeHtmlViewerSettings({fontSize, offline, silent, url});
}

std::string ReadText(HWND viewer, int32_t ownIndex) {
  auto* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(html_viewer::GetProperty(viewer, ownIndex)));
  return text ? text : "<null>";
}

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

ComPtr<IDispatch> SinkOf(HWND viewer) { return ClientSiteOf(viewer).As<IDispatch>(DIID_DWebBrowserEvents2); }

bool PumpUntil(const std::function<bool()>& done, DWORD limit) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > limit) return false;
    ProcessPendingMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void HtmlViewerTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));  // start-up does this in the program
  ASSERT_NE(server_.Port(), 0);
  g_seen.clear();
  for (auto& answer : g_answers) answer.reset();
  g_closeOnEvent = -1;
  g_ticks = 0;
  if (!Shell().toolWindow) Shell().toolWindow = CreateShellToolWindow(GetModuleHandleA(nullptr));
}

void HtmlViewerTest::TearDown() {
  Unload();
  g_registry = nullptr;
  registry_.reset();
  EXPECT_EQ(BrowserSite::LiveCount(), 0) << "a site outlived its control";
  OleUninitialize();
}

bool HtmlViewerTest::Load(const std::vector<uint8_t>& viewerSettings, bool withClock) {
  Unload();
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> entries{{kOwnItem, WindowRecord()},
                                                                 {kViewerItem, ViewerRecord(viewerSettings)}};
  if (withClock) entries.push_back({kClock, ClockRecord()});
  g_registry = nullptr;
  registry_.reset();
  registry_.emplace(OneWindowSet(kViewerWindow, entries), kHandlers);
  g_registry = &*registry_;
  if (!LoadWindow(kViewerWindow, nullptr, false)) return false;
  SetForegroundWindow(Entry().objects[0]);
  return true;
}

void HtmlViewerTest::Unload() {
  if (registry_ && Entry().Loaded()) DestroyLoadedWindow(kViewerWindow, true);
}

RegistryEntry& HtmlViewerTest::Entry() { return *registry_->Get().Find(kViewerWindow); }
HWND HtmlViewerTest::Viewer() { return LiveViewer(); }

void HtmlViewerTest::Write(int32_t property, uint32_t value) {
  WriteProperty(kViewerWindow, kViewerItem, property, -1, value, 0);
}
void HtmlViewerTest::WriteText(int32_t property, const std::string& text) {
  Write(property, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.c_str())));
}
std::string HtmlViewerTest::Read(int32_t ownIndex) { return ReadText(Viewer(), ownIndex); }

bool HtmlViewerTest::WaitForGets(const std::string& path, int count) {
  return PumpUntil([&] { return server_.CountGets(path) >= count; });
}

}  // namespace vorrik::test
