#include "tests/win/property_test_kinds.h"

#include <memory>

#include "shell/shell.h"
#include "windows/byte_io.h"
#include "windows/description.h"

namespace vorrik::test {
namespace {

constexpr char kWindowClass[] = "VorrikTestWindow";
constexpr char kControlClass[] = "VorrikTestControl";

struct TestObject {
  ControlIdentity identity;
  uint32_t shape = 0;
};

TestObject* ObjectOf(HWND window) { return reinterpret_cast<TestObject*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

LRESULT CALLBACK TestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == WM_NCDESTROY) {
    std::unique_ptr<TestObject> object(ObjectOf(window));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (object) NoteControlDestroyed(object->identity.windowId, object->identity.controlId);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    wc.lpszClassName = kControlClass;
    RegisterClassA(&wc);
    return true;
  }();
  (void)registered;
}

HWND CreateTestWindow(const CreateArguments& args) {
  RegisterClasses();
  auto object = std::make_unique<TestObject>();
  object->identity = {args.windowId, 0};
  HWND window = CreateWindowExA(0, kWindowClass, "test window", WS_OVERLAPPEDWINDOW | args.style, args.left,
                                args.top, args.width, args.height, args.owner, args.menu,
                                GetModuleHandleA(nullptr), object.get());
  if (window) object.release();
  return window;
}

// Raises its event 0 while it is being made: a build or rebuild must drop it.
HWND CreateTestControl(const CreateArguments& args) {
  RegisterClasses();
  ByteReader in(args.settings);
  auto object = std::make_unique<TestObject>();
  object->identity = {args.windowId, args.controlId};
  object->shape = args.settings.empty() ? 0 : in.U32();
  const std::string caption(args.settings.empty() ? std::string_view() : in.CountedText());
  TestControlCreations().push_back(std::to_string(object->shape) + ":" + caption);
  HWND control = CreateWindowExA(0, kControlClass, caption.c_str(), WS_CHILD | args.style, args.left, args.top,
                                 args.width, args.height, args.parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.childNumber)),
                                 GetModuleHandleA(nullptr), object.get());
  if (!control) return nullptr;
  object.release();
  EventRecord record;
  record.window = args.windowId;
  record.item = args.controlId;
  RaiseEvent(record);
  return control;
}

bool SetControlProperty(HWND control, int32_t ownIndex, uint32_t value) {
  if (ownIndex == 0) {
    SetWindowTextA(control, reinterpret_cast<const char*>(static_cast<uintptr_t>(value)));
    return false;
  }
  if (ownIndex == 1) {
    ObjectOf(control)->shape = value;
    return true;
  }
  return false;
}

uint32_t GetControlProperty(HWND control, int32_t ownIndex) { return ownIndex == 1 ? ObjectOf(control)->shape : 0; }

std::vector<uint8_t> SaveControlSettings(HWND control) {
  char caption[256] = {};
  GetWindowTextA(control, caption, sizeof caption);
  return TestControlSettings(ObjectOf(control)->shape, caption);
}

// The window kind's own properties are never rebuilt, even when asked.
bool SetWindowProperty(HWND, int32_t, uint32_t) { return true; }

constexpr PropertyType kControlProperties[] = {kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeText,
                                               kTypeBoolean, kTypeBoolean, kTypePointer, kTypeText,  kTypeInteger};

constexpr KindEntryPoints kWindowKind{kKindWindow, "窗口", "window", {}, false, false, CreateTestWindow,
                                      SetWindowProperty};
constexpr KindEntryPoints kControlKind{kKindLabel,         "标签",          "label",           kControlProperties,
                                       false,              false,           CreateTestControl, SetControlProperty,
                                       GetControlProperty, SaveControlSettings};

}  // namespace

std::vector<uint8_t> TestControlSettings(uint32_t shape, const std::string& caption) {
  ByteWriter out;
  out.U32(shape);
  out.CountedText(caption);
  return out.Take();
}

std::vector<std::string>& TestControlCreations() {
  static std::vector<std::string> creations;
  return creations;
}

const KindEntryPoints& TestWindowKind() { return kWindowKind; }
const KindEntryPoints& TestControlKind() { return kControlKind; }

void PumpMessagesFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(1);
  }
}

}  // namespace vorrik::test
