#include "windows/kinds/browser_site.h"

#include <ole2.h>
#include <exdispid.h>
#include <olectl.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace vorrik {
namespace {

class SiteObject;
std::vector<SiteObject*> g_liveSites;

// ---- Decoding the arguments the component passes

// Arguments arrive last first; this takes them in declaration order.
const VARIANT* Argument(const DISPPARAMS* params, UINT position) {
  if (!params || position >= params->cArgs) return nullptr;
  return &params->rgvarg[params->cArgs - 1 - position];
}

// Converts through the references the component uses (a VARIANT by
// reference for addresses, plain values elsewhere); empty when it cannot.
bool Convert(const VARIANT* argument, VARTYPE type, VARIANT& out) {
  VariantInit(&out);
  return argument && SUCCEEDED(VariantChangeType(&out, const_cast<VARIANT*>(argument), 0, type));
}

std::string TextArgument(const DISPPARAMS* params, UINT position) {
  VARIANT value;
  if (!Convert(Argument(params, position), VT_BSTR, value)) return {};
  std::string text = SystemText(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
  VariantClear(&value);
  return text;
}

int32_t LongArgument(const DISPPARAMS* params, UINT position) {
  VARIANT value;
  return Convert(Argument(params, position), VT_I4, value) ? V_I4(&value) : 0;
}

bool BoolArgument(const DISPPARAMS* params, UINT position) {
  VARIANT value;
  return Convert(Argument(params, position), VT_BOOL, value) && V_BOOL(&value) != VARIANT_FALSE;
}

// The Cancel flag: a VARIANT_BOOL by reference.
VARIANT_BOOL* CancelArgument(const DISPPARAMS* params, UINT position) {
  const VARIANT* argument = Argument(params, position);
  return argument && V_VT(argument) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(argument) : nullptr;
}

struct NoticeShape {
  DISPID id;
  BrowserNotice::Kind kind;
  int textAt = -1, cancelAt = -1;
};
// Positions in the DWebBrowserEvents2 declarations.
constexpr NoticeShape kShapes[] = {
    {DISPID_BEFORENAVIGATE2, BrowserNotice::kBeforeNavigate, 1, 6},
    {DISPID_NAVIGATECOMPLETE2, BrowserNotice::kNavigateComplete, 1},
    {DISPID_DOWNLOADBEGIN, BrowserNotice::kDownloadBegin},
    {DISPID_PROGRESSCHANGE, BrowserNotice::kProgressChange},
    {DISPID_DOWNLOADCOMPLETE, BrowserNotice::kDownloadComplete},
    {DISPID_DOCUMENTCOMPLETE, BrowserNotice::kDocumentComplete, 1},
    {DISPID_STATUSTEXTCHANGE, BrowserNotice::kStatusTextChange, 0},
    {DISPID_TITLECHANGE, BrowserNotice::kTitleChange, 0},
    {DISPID_COMMANDSTATECHANGE, BrowserNotice::kCommandStateChange},
    {DISPID_NEWWINDOW2, BrowserNotice::kNewWindow, -1, 1},
};

// ---- The site object and its parts

// One interface of the site; identity and lifetime are the site's.
template <class Interface, class Site>
class SitePart : public Interface {
 public:
  explicit SitePart(Site& site) : site_(site) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return site_.QueryInterface(iid, out); }
  ULONG STDMETHODCALLTYPE AddRef() override { return site_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return site_.Release(); }

 protected:
  Site& site_;
};

class ClientSite final : public SitePart<IOleClientSite, SiteObject> {
 public:
  using SitePart::SitePart;
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
};

class InPlaceSite final : public SitePart<IOleInPlaceSite, SiteObject> {
 public:
  using SitePart::SitePart;
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                             RECT* clip, OLEINPLACEFRAMEINFO* info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  // The control decides the component's size: it always fills the control.
  HRESULT STDMETHODCALLTYPE OnPosRectChange(const RECT*) override;
};

// The frame: the control's top-level window. It has no menus, tools or
// status bar to share, and its keys are handled by the message loop.
class InPlaceFrame final : public SitePart<IOleInPlaceFrame, SiteObject> {
 public:
  using SitePart::SitePart;
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBorder(RECT*) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(const BORDERWIDTHS*) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(const BORDERWIDTHS*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, WORD) override { return S_FALSE; }
};

// DWebBrowserEvents2. Also answers the component's ambient property reads
// through the client site's IDispatch: it has none, so defaults apply.
class EventSink final : public SitePart<IDispatch, SiteObject> {
 public:
  using SitePart::SitePart;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override;
};

class SiteObject final : public BrowserSite {
 public:
  explicit SiteObject(BrowserHost& host) : host_(&host) { g_liveSites.push_back(this); }
  ~SiteObject() override { std::erase(g_liveSites, this); }

  HRESULT QueryInterface(REFIID iid, void** out);
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Host();
  IWebBrowser2* Browser() const override { return browser_.get(); }
  HWND ComponentWindow() const override { return componentWindow_; }
  void Fit() override;
  bool TranslateAccelerator(MSG& message) override;
  void Close() override;
  bool Attached() const override { return host_ != nullptr; }

  HWND HostWindow() const { return host_ ? host_->HostWindow() : nullptr; }
  RECT HostClient() const;
  void SetActiveObject(IOleInPlaceActiveObject* object) { activeObject_ = ComPtr<IOleInPlaceActiveObject>::Share(object); }
  HRESULT Notify(DISPID id, DISPPARAMS* params);

 private:
  void AdviseEvents();

  ULONG references_ = 1;
  BrowserHost* host_;
  ClientSite client_{*this};
  InPlaceSite inPlaceSite_{*this};
  InPlaceFrame frame_{*this};
  EventSink sink_{*this};

  ComPtr<IOleObject> object_;
  ComPtr<IOleInPlaceObject> inPlaceObject_;
  ComPtr<IWebBrowser2> browser_;
  ComPtr<IConnectionPoint> events_;
  DWORD eventsCookie_ = 0;
  HWND componentWindow_ = nullptr;
  // The object the component names when it activates its user interface.
  ComPtr<IOleInPlaceActiveObject> activeObject_;
  // Notices being delivered; a close inside one keeps the component until
  // the component's own call has returned.
  int deliveries_ = 0;
  ComPtr<IOleObject> closedInDelivery_;
};

HRESULT SiteObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) *out = static_cast<IOleClientSite*>(&client_);
  else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
    *out = static_cast<IOleInPlaceSite*>(&inPlaceSite_);
  else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
    *out = static_cast<IOleInPlaceFrame*>(&frame_);
  else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, DIID_DWebBrowserEvents2))
    *out = static_cast<IDispatch*>(&sink_);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

RECT SiteObject::HostClient() const {
  RECT client{};
  if (HWND window = HostWindow()) GetClientRect(window, &client);
  return client;
}

// Client site first (the component makes its window as the site's child),
// events next so that none is missed, then in-place activation.
HRESULT SiteObject::Host() {
  HRESULT hr = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.PutVoid());
  if (FAILED(hr)) return hr;
  hr = object_->SetClientSite(&client_);
  if (FAILED(hr)) return hr;
  AdviseEvents();
  RECT client = HostClient();
  hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &client_, 0, HostWindow(), &client);
  if (FAILED(hr)) return hr;
  inPlaceObject_ = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  if (!inPlaceObject_) return E_NOINTERFACE;
  if (FAILED(inPlaceObject_->GetWindow(&componentWindow_))) componentWindow_ = nullptr;
  Fit();
  browser_ = object_.As<IWebBrowser2>(IID_IWebBrowser2);
  return browser_ ? S_OK : E_NOINTERFACE;
}

// Without events the control still shows pages; only its events stay silent.
void SiteObject::AdviseEvents() {
  auto container = object_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  if (!container) return;
  ComPtr<IConnectionPoint> point;
  if (FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put()))) return;
  if (FAILED(point->Advise(static_cast<IDispatch*>(&sink_), &eventsCookie_))) return;
  events_ = point;
}

void SiteObject::Fit() {
  const RECT client = HostClient();
  if (inPlaceObject_) inPlaceObject_->SetObjectRects(&client, &client);
  if (componentWindow_ && IsWindow(componentWindow_))
    SetWindowPos(componentWindow_, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The object named by the component when it took the focus, else the
// component itself.
bool SiteObject::TranslateAccelerator(MSG& message) {
  if (!host_) return false;
  auto active = activeObject_ ? activeObject_ : object_.As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
  return active && active->TranslateAccelerator(&message) == S_OK;
}

// Unadvised first: the steps below make the component announce changes.
void SiteObject::Close() {
  host_ = nullptr;
  ComPtr<BrowserSite> keep = ComPtr<BrowserSite>::Share(this);
  if (events_) events_->Unadvise(eventsCookie_);
  events_.Reset();
  if (browser_) browser_->Stop();
  if (inPlaceObject_) inPlaceObject_->InPlaceDeactivate();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  if (componentWindow_ && IsWindow(componentWindow_)) DestroyWindow(componentWindow_);
  componentWindow_ = nullptr;
  activeObject_.Reset();
  inPlaceObject_.Reset();
  browser_.Reset();
  if (deliveries_ > 0) closedInDelivery_ = std::move(object_);
  object_.Reset();
}

HRESULT SiteObject::Notify(DISPID id, DISPPARAMS* params) {
  const NoticeShape* shape = nullptr;
  for (const auto& s : kShapes)
    if (s.id == id) shape = &s;
  if (!shape || !host_) return S_OK;  // PropertyChange, OnQuit, OnVisible and the rest: nothing to do

  BrowserNotice notice;
  notice.kind = shape->kind;
  if (shape->textAt >= 0) notice.text = TextArgument(params, shape->textAt);
  if (id == DISPID_PROGRESSCHANGE) notice.progress = LongArgument(params, 0), notice.progressMax = LongArgument(params, 1);
  if (id == DISPID_COMMANDSTATECHANGE) notice.command = LongArgument(params, 0), notice.enabled = BoolArgument(params, 1);
  VARIANT_BOOL* cancel = shape->cancelAt >= 0 ? CancelArgument(params, shape->cancelAt) : nullptr;

  // The handler may close the control: the site stays until this returns.
  ComPtr<BrowserSite> keep = ComPtr<BrowserSite>::Share(this);
  ++deliveries_;
  const bool refuse = host_->OnNotice(notice);
  if (refuse && cancel) *cancel = VARIANT_TRUE;
  if (--deliveries_ == 0) closedInDelivery_.Reset();
  return S_OK;
}

// ---- The parts' methods that need the site

HRESULT InPlaceSite::GetWindow(HWND* window) {
  *window = site_.HostWindow();
  return *window ? S_OK : E_FAIL;
}

HRESULT InPlaceSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                      RECT* clip, OLEINPLACEFRAMEINFO* info) {
  site_.QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(frame));
  *document = nullptr;  // the frame is the document window too
  *position = *clip = site_.HostClient();
  HWND host = site_.HostWindow();
  info->fMDIApp = FALSE;
  info->hwndFrame = host ? GetAncestor(host, GA_ROOT) : nullptr;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT InPlaceSite::OnPosRectChange(const RECT*) {
  site_.Fit();
  return S_OK;
}

HRESULT InPlaceFrame::GetWindow(HWND* window) {
  HWND host = site_.HostWindow();
  *window = host ? GetAncestor(host, GA_ROOT) : nullptr;
  return *window ? S_OK : E_FAIL;
}

HRESULT InPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  site_.SetActiveObject(object);
  return S_OK;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  return site_.Notify(id, params);
}

}  // namespace

std::string SystemText(const wchar_t* text, UINT length) {
  if (!text || length == 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), result.data(), size, nullptr, nullptr);
  return result;
}

ComPtr<BrowserSite> BrowserSite::Create(BrowserHost& host) {
  auto site = ComPtr<SiteObject>::Adopt(new SiteObject(host));
  if (FAILED(site->Host())) {
    site->Close();
    return nullptr;
  }
  return ComPtr<BrowserSite>::Share(site.get());
}

int BrowserSite::LiveCount() { return static_cast<int>(g_liveSites.size()); }

void BrowserSite::CloseAll() {
  const std::vector<SiteObject*> sites = g_liveSites;  // closing may free some
  std::vector<ComPtr<BrowserSite>> kept;
  for (SiteObject* site : sites) kept.push_back(ComPtr<BrowserSite>::Share(site));
  for (auto& site : kept) site->Close();
}

}  // namespace vorrik
