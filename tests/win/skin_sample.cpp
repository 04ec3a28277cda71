#include "tests/win/skin_sample.h"

#include "skin/skin_table.h"
#include "tests/win/property_test_kinds.h"
#include "tests/win/skin_test_support.h"

namespace vorrik::test {
namespace {

constexpr char kSampleClass[] = "VorrikSkinSample";

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, RECT r) {
  HWND child = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

HMENU SampleMenu() {
  HMENU bar = CreateMenu();
  for (const char* title : {"文件(&F)", "视图(&V)", "帮助(&H)"}) {
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 100, "打开(&O)");
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), title);
  }
  return bar;
}

void SendMouse(const MouseStep& step) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  switch (step.kind) {
    case MouseStep::kMove:
      input.mi.dx = MulDiv(step.at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
      input.mi.dy = MulDiv(step.at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
      input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
      break;
    case MouseStep::kPress: input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN; break;
    case MouseStep::kRelease: input.mi.dwFlags = MOUSEEVENTF_LEFTUP; break;
  }
  SendInput(1, &input, sizeof input);
}

DWORD WINAPI GiveMouseSteps(void* parameter) {
  for (const MouseStep& step : *static_cast<std::vector<MouseStep>*>(parameter)) {
    SendMouse(step);
    Sleep(120);
  }
  return 0;
}

}  // namespace

LoadedEngine::LoadedEngine() {
  library_ = LoadLibraryA(BuiltEngineFile().c_str());
  if (library_) attach_ = Export<engine::AttachFunction>(library_, "SkinH_AttachRes");
}

int32_t LoadedEngine::Attach(int32_t n) { return AttachBytes(BuiltinSkinBytes(n)); }

int32_t LoadedEngine::AttachBytes(std::vector<uint8_t> bytes) {
  if (!attach_) return -1;
  const int32_t result = attach_(bytes.data(), uint32_t(bytes.size()), "", 0, 0, 0);
  Settle();
  return result;
}

void LoadedEngine::Unload() {
  if (library_) FreeLibrary(library_);
  library_ = nullptr;
  attach_ = nullptr;
}

std::vector<uint8_t> BuiltinSkinBytes(int32_t n) {
  const std::span<const uint8_t> skin = BuiltinSkinData(n);
  return {skin.begin(), skin.end()};
}

skin::SkinView SkinColours(int32_t n, std::vector<uint8_t>& keep) {
  keep = BuiltinSkinBytes(n);
  skin::SkinView view;
  skin::ReadSkin(keep, view);
  return view;
}

SampleWindow::SampleWindow(int x, int y, const char* title) {
  WNDCLASSA c{};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = Procedure;
  c.hInstance = GetModuleHandleA(nullptr);
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.lpszClassName = kSampleClass;
  RegisterClassA(&c);  // fails harmlessly once registered
  window_ = CreateWindowExA(0, kSampleClass, title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                            360, 250, nullptr, SampleMenu(), GetModuleHandleA(nullptr), this);
  ok_ = Child(window_, "BUTTON", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, {16, 16, 100, 44});
  cancel_ = Child(window_, "BUTTON", "取消", BS_PUSHBUTTON | WS_TABSTOP, {116, 16, 200, 44});
  pressed_ = Child(window_, "BUTTON", "按下", BS_PUSHBUTTON, {216, 16, 300, 44});
  disabled_ = Child(window_, "BUTTON", "停用", BS_PUSHBUTTON | WS_DISABLED, {16, 56, 100, 84});
  Child(window_, "BUTTON", "分组框", BS_GROUPBOX, {16, 96, 330, 170});
  Child(window_, "STATIC", "标签：正文的颜色", SS_LEFT, {32, 124, 300, 150});
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetFocus(ok_);
  SendMessageA(pressed_, BM_SETSTATE, TRUE, 0);
  Settle();
}

SampleWindow::~SampleWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
  Settle(50);
}

LRESULT CALLBACK SampleWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<SampleWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_CLOSE && self) {
    ++self->closeRequests_;
    if (self->refuseClose_) return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Settle(DWORD milliseconds) { PumpMessagesFor(milliseconds); }

void RunMouse(std::initializer_list<MouseStep> steps) {
  std::vector<MouseStep> list(steps);
  HANDLE helper = CreateThread(nullptr, 0, GiveMouseSteps, &list, 0, nullptr);
  if (!helper) return;
  while (MsgWaitForMultipleObjects(1, &helper, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  CloseHandle(helper);
  Settle(150);
}

void ClickAt(POINT screen) { RunMouse({MoveTo(screen), Press(), Release()}); }

}  // namespace vorrik::test
