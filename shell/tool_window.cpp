// The shell's hidden tool window: it receives the shell's own requests and
// owns the windows that must have no taskbar button.
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_lifecycle.h"

namespace vorrik {
namespace {

constexpr char kToolWindowClass[] = "VorrikShellTool";

LRESULT CALLBACK ToolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kShellDestroyRequest:
      CarryOutDestroyRequest(static_cast<uint32_t>(wParam));
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateShellToolWindow(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ToolWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kToolWindowClass;
  RegisterClassA(&windowClass);
  return CreateWindowExA(WS_EX_TOOLWINDOW, kToolWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                         nullptr);
}

}  // namespace vorrik
