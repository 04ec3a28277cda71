#include "windows/kinds/html_viewer.h"

#include <ole2.h>
#include <docobj.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "shell/shell.h"
#include "windows/description.h"
#include "windows/kinds/browser_site.h"
#include "windows/kinds/html_viewer_settings.h"
#include "windows/kinds/kind_gdi.h"

namespace vorrik {
namespace html_viewer {

const std::array<PropertyType, 14> kProperties = {
    kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeText, kTypeBoolean, kTypeBoolean, kTypePointer,
    kTypeChoice,    // 8: FontSize
    kTypeBoolean,   // 9: Offline
    kTypeBoolean,   // 10: Silent
    kTypeFileName,  // 11: url
    kTypeText,      // 12: StatusText, read only
    kTypeText,      // 13: Caption, read only
};

namespace {

constexpr char kClassName[] = "VorrikHtmlViewer";
constexpr int32_t kLargestLevel = 4;

int32_t ClampLevel(int32_t level) { return std::clamp(level, 0, kLargestLevel); }

// ---- Texts between the program (system code page) and the component

class Bstr {
 public:
  explicit Bstr(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    text_ = SysAllocStringLen(nullptr, length > 0 ? length : 0);
    if (text_ && length > 0)
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), text_, length);
  }
  Bstr() = default;
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return text_; }
  BSTR* Put() {
    SysFreeString(std::exchange(text_, nullptr));
    return &text_;
  }
  std::string Text() const { return SystemText(text_, SysStringLen(text_)); }

 private:
  BSTR text_ = nullptr;
};

// Progress as the event reports it: rounded percent, 100 without a maximum.
int32_t ProgressPercent(int32_t progress, int32_t maximum) {
  if (maximum == 0) return 100;
  const double percent = std::round(progress * 100.0 / maximum);
  constexpr double kLowest = std::numeric_limits<int32_t>::min(), kHighest = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(percent, kLowest, kHighest));
}

// ---- Calls on the component; their results are not looked at

void ApplyOffline(IWebBrowser2& browser, bool on) { browser.put_Offline(on ? VARIANT_TRUE : VARIANT_FALSE); }
void ApplySilent(IWebBrowser2& browser, bool on) { browser.put_Silent(on ? VARIANT_TRUE : VARIANT_FALSE); }

void ApplyTextSize(IWebBrowser2& browser, int32_t level) {
  VARIANT in;
  VariantInit(&in);
  V_VT(&in) = VT_I4;
  V_I4(&in) = level;
  browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &in, nullptr);
}

// In the component's own frame, without post data or extra headers.
void Navigate(IWebBrowser2& browser, const std::string& address) {
  const Bstr target(address);
  const Bstr ownFrame("");
  VARIANT flags, frame, none;
  VariantInit(&flags), VariantInit(&frame), VariantInit(&none);
  V_VT(&flags) = VT_I4;
  V_I4(&flags) = 0;
  V_VT(&frame) = VT_BSTR;
  V_BSTR(&frame) = ownFrame.get();
  browser.Navigate(target.get(), &flags, &frame, &none, &none);
}

// ---- The control

class HtmlViewerControl final : public BrowserHost {
 public:
  HWND window = nullptr;
  ControlIdentity identity;
  HtmlViewerSettings settings;
  ComPtr<BrowserSite> site;
  ComPtr<IWebBrowser2> browser;
  // Set only while a navigation or title notice is being raised.
  std::optional<std::string> navigation, eventTitle;
  std::string title, statusText;

  HWND HostWindow() const override { return window; }
  bool OnNotice(const BrowserNotice& notice) override;

 private:
  // Raises the event; true when the handler answered it with false.
  bool Raise(int32_t event, std::initializer_list<uint32_t> arguments = {});
  bool RaiseWithText(std::optional<std::string>& slot, const std::string& text, int32_t event);
};

HtmlViewerControl* ControlOf(HWND window) {
  return reinterpret_cast<HtmlViewerControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool HtmlViewerControl::Raise(int32_t event, std::initializer_list<uint32_t> arguments) {
  EventRecord record;
  record.window = identity.windowId;
  record.item = identity.controlId;
  record.event = event;
  for (uint32_t argument : arguments) record.arguments[record.argumentCount++] = argument;
  const bool delivered = RaiseEvent(record);
  return delivered && record.answered && record.answer == 0;
}

// The text is readable through a property while its event is raised. The
// handler may destroy the window and with it this control: the site, kept
// alive by the component's call, tells whether this is still there.
bool HtmlViewerControl::RaiseWithText(std::optional<std::string>& slot, const std::string& text, int32_t event) {
  BrowserSite* const hosting = site.get();
  std::optional<std::string> outer = std::exchange(slot, text);
  const bool refused = Raise(event);
  if (hosting->Attached()) slot = std::move(outer);
  return refused;
}

bool HtmlViewerControl::OnNotice(const BrowserNotice& notice) {
  switch (notice.kind) {
    case BrowserNotice::kBeforeNavigate: return RaiseWithText(navigation, notice.text, kBeforeNavigate);
    case BrowserNotice::kNavigateComplete: RaiseWithText(navigation, notice.text, kNavigateComplete); return false;
    case BrowserNotice::kDocumentComplete: RaiseWithText(navigation, notice.text, kDocumentComplete); return false;
    case BrowserNotice::kDownloadBegin: Raise(kDownloadBegin); return false;
    case BrowserNotice::kDownloadComplete: Raise(kDownloadComplete); return false;
    case BrowserNotice::kProgressChange:
      Raise(kProgressChange, {static_cast<uint32_t>(ProgressPercent(notice.progress, notice.progressMax))});
      return false;
    case BrowserNotice::kStatusTextChange:
      statusText = notice.text;
      Raise(kStatusTextChange);
      return false;
    case BrowserNotice::kTitleChange: RaiseWithText(eventTitle, notice.text, kTitleChange); return false;
    case BrowserNotice::kCommandStateChange:
      // Only going forward and back are the program's business.
      if (notice.command == CSC_NAVIGATEFORWARD) Raise(kCommandStateChange, {0, notice.enabled});
      else if (notice.command == CSC_NAVIGATEBACK) Raise(kCommandStateChange, {1, notice.enabled});
      return false;
    case BrowserNotice::kNewWindow: return Raise(kNewWindow);
  }
  return false;
}

// ---- The window

// The window owns its control object from here to WM_NCDESTROY; a creation
// that fails earlier leaves it with Create.
void OnNcCreate(HWND window, const CREATESTRUCTA& create) {
  auto& owner = *static_cast<std::unique_ptr<HtmlViewerControl>*>(create.lpCreateParams);
  owner->window = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner.release()));
}

void OnSize(HtmlViewerControl& control) {
  if (control.site) control.site->Fit();
}

void OnSetFocus(HtmlViewerControl& control) {
  HWND component = control.site ? control.site->ComponentWindow() : nullptr;
  if (component && IsWindow(component)) SetFocus(component);
}

// The component goes with the window; no reference to it or to the site
// is left behind.
void OnDestroy(HtmlViewerControl& control) {
  control.browser.Reset();
  if (control.site) control.site->Close();
  control.site.Reset();
}

void OnNcDestroy(HWND window) {
  std::unique_ptr<HtmlViewerControl> control(ControlOf(window));
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (control) NoteControlDestroyed(control->identity.windowId, control->identity.controlId);
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) OnNcCreate(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
  HtmlViewerControl* control = ControlOf(window);
  if (!control) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_SIZE: OnSize(*control); return 0;
    case WM_SETFOCUS: OnSetFocus(*control); return 0;
    case WM_DESTROY: OnDestroy(*control); return 0;
    case WM_NCDESTROY: OnNcDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

HtmlViewerControl* ViewerOf(HWND window) {
  if (GetClassLongPtrA(window, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(ViewerProc)) return nullptr;
  return ControlOf(window);
}

// Takes the control back from a window that is to go without ever having
// been handed to the shell, so that no destruction notice is sent.
void Abandon(HWND window) {
  std::unique_ptr<HtmlViewerControl> control(ControlOf(window));
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (control && control->site) control->site->Close();
  DestroyWindow(window);
}

}  // namespace

HWND Create(const CreateArguments& args) {
  auto control = std::make_unique<HtmlViewerControl>();
  if (!args.settings.empty()) {
    auto settings = DecodeHtmlViewerSettings(args.settings);
    if (!settings) return nullptr;
    control->settings = std::move(*settings);
  }
  control->identity = {args.windowId, args.controlId};
  if (!RegisterKindClass(kClassName, ViewerProc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)))) return nullptr;
  HWND window = CreateWindowExA(0, kClassName, "", args.style | WS_CHILD | WS_CLIPSIBLINGS, args.left, args.top,
                                args.width, args.height, args.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.childNumber)),
                                GetModuleHandleA(nullptr), &control);
  if (!window) return nullptr;
  HtmlViewerControl& made = *ControlOf(window);
  made.site = BrowserSite::Create(made);
  if (!made.site) {
    Abandon(window);
    return nullptr;
  }
  made.browser = ComPtr<IWebBrowser2>::Share(made.site->Browser());
  // Held here: a handler raised inside a call may close the control.
  const ComPtr<IWebBrowser2> browser = made.browser;
  const HtmlViewerSettings settings = made.settings;
  ApplyOffline(*browser, settings.offline);
  ApplySilent(*browser, settings.silent);
  ApplyTextSize(*browser, ClampLevel(settings.fontSize));  // the stored level stays as read
  if (!settings.url.empty()) Navigate(*browser, settings.url);
  return IsWindow(window) ? window : nullptr;
}

// The control's state is written before the call: a handler raised inside
// it may close the control, and the local reference keeps the component.
bool SetProperty(HWND window, int32_t ownIndex, uint32_t value) {
  HtmlViewerControl* control = ViewerOf(window);
  if (!control || !control->browser) return false;
  const ComPtr<IWebBrowser2> browser = control->browser;
  HtmlViewerSettings& settings = control->settings;
  switch (ownIndex) {
    case kFontSize:
      settings.fontSize = ClampLevel(static_cast<int32_t>(value));
      ApplyTextSize(*browser, settings.fontSize);
      break;
    case kOffline:
      settings.offline = value != 0;
      ApplyOffline(*browser, settings.offline);
      break;
    case kSilent:
      settings.silent = value != 0;
      ApplySilent(*browser, settings.silent);
      break;
    case kUrl:
      // Even the address shown: writing it loads the page again.
      settings.url = TextOfValue(value);
      Navigate(*browser, settings.url);
      break;
    default: break;
  }
  return false;
}

uint32_t GetProperty(HWND window, int32_t ownIndex) {
  HtmlViewerControl* control = ViewerOf(window);
  if (!control || !control->browser) return 0;
  IWebBrowser2& browser = *control->browser;
  VARIANT_BOOL flag = VARIANT_FALSE;
  Bstr text;
  switch (ownIndex) {
    case kFontSize: return static_cast<uint32_t>(control->settings.fontSize);
    case kOffline:
      if (FAILED(browser.get_Offline(&flag))) return control->settings.offline;
      return flag != VARIANT_FALSE;
    case kSilent:
      if (FAILED(browser.get_Silent(&flag))) return control->settings.silent;
      return flag != VARIANT_FALSE;
    case kUrl:
      if (control->navigation) control->settings.url = *control->navigation;
      else if (SUCCEEDED(browser.get_LocationURL(text.Put()))) control->settings.url = text.Text();
      return ValueOf(control->settings.url.c_str());
    case kStatusText: return ValueOf(control->statusText.c_str());
    case kCaption:
      if (control->eventTitle) return ValueOf(control->eventTitle->c_str());
      if (SUCCEEDED(browser.get_LocationName(text.Put()))) control->title = text.Text();
      return ValueOf(control->title.c_str());
    default: return 0;
  }
}

std::vector<uint8_t> SaveSettings(HWND window) {
  HtmlViewerControl* control = ViewerOf(window);
  return EncodeHtmlViewerSettings(control ? control->settings : HtmlViewerSettings{});
}

ComPtr<IWebBrowser2> ComponentOf(HWND window) {
  HtmlViewerControl* control = window ? ViewerOf(window) : nullptr;
  return control ? control->browser : nullptr;
}

}  // namespace html_viewer

namespace {

constexpr KindEntryPoints kHtmlViewerKind{
    kKindHtmlViewer,          "超文本浏览框",           "HtmlViewer",          html_viewer::kProperties,
    false,                    false,                    html_viewer::Create,   html_viewer::SetProperty,
    html_viewer::GetProperty, html_viewer::SaveSettings,
};

}  // namespace

const KindEntryPoints& HtmlViewerKind() { return kHtmlViewerKind; }

bool TranslateForFocusedViewer(HWND root, MSG& message) {
  for (HWND window = GetFocus(); window && window != root; window = GetAncestor(window, GA_PARENT)) {
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return false;
    if (auto* control = html_viewer::ViewerOf(window)) return control->site && control->site->TranslateAccelerator(message);
  }
  return false;
}

}  // namespace vorrik
