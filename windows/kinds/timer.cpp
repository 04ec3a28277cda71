#include "windows/kinds/timer.h"

#include <memory>

#include "shell/shell.h"
#include "windows/description.h"
#include "windows/kinds/timer_settings.h"

namespace vorrik {
namespace {

constexpr char kClassName[] = "VorrikTimer";
constexpr UINT_PTR kTimerId = 1;
constexpr int32_t kIntervalOwnIndex = 0;

constexpr PropertyType kProperties[] = {
    kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeText,
    kTypeBoolean, kTypeBoolean, kTypePointer,
    kTypeInteger,  // 8: Interval
};

struct TimerControl {
  HWND window = nullptr;
  ControlIdentity identity;
  int32_t interval = 0;
  bool running = false;

  // WM_TIMER is synthesised while the queue is otherwise empty and at most
  // one is ever pending, so a slow handler lowers the rate instead of
  // building a backlog.
  void Start() {
    if (interval > 0) running = SetTimer(window, kTimerId, static_cast<UINT>(interval), nullptr) != 0;
  }
  void Stop() {
    if (running) KillTimer(window, kTimerId);
    running = false;
  }
};

TimerControl* ControlOf(HWND window) {
  return reinterpret_cast<TimerControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The window owns its control object from here to WM_NCDESTROY; a creation
// that fails earlier leaves it with Create.
void OnNcCreate(HWND window, const CREATESTRUCTA& create) {
  auto& owner = *static_cast<std::unique_ptr<TimerControl>*>(create.lpCreateParams);
  owner->window = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner.release()));
}

void OnTimer(TimerControl& control, UINT_PTR id) {
  if (id != kTimerId) return;
  EventRecord record;
  record.window = control.identity.windowId;
  record.item = control.identity.controlId;
  record.event = kEventTimerTick;
  RaiseEvent(record);
}

// The control object goes with its window; the shell hears of it last.
void OnNcDestroy(HWND window) {
  std::unique_ptr<TimerControl> control(ControlOf(window));
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (control) NoteControlDestroyed(control->identity.windowId, control->identity.controlId);
}

LRESULT CALLBACK TimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) OnNcCreate(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
  TimerControl* control = ControlOf(window);
  switch (message) {
    case WM_TIMER:
      if (control) OnTimer(*control, wParam);
      return 0;
    case WM_DESTROY:
      if (control) control->Stop();
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool RegisterTimerClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TimerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
  }();
  return registered;
}

HWND Create(const CreateArguments& args) {
  auto settings = DecodeTimerSettings(args.settings);
  if (!settings || !RegisterTimerClass()) return nullptr;
  auto control = std::make_unique<TimerControl>();
  control->identity = {args.windowId, args.controlId};
  control->interval = settings->interval > 0 ? settings->interval : 0;
  // Never WS_VISIBLE: the timer has nothing to show.
  HWND window = CreateWindowExA(0, kClassName, "", WS_CHILD | args.style, args.left, args.top, args.width,
                                args.height, args.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.childNumber)),
                                GetModuleHandleA(nullptr), &control);
  if (!window) return nullptr;
  ControlOf(window)->Start();
  return window;
}

// A new interval restarts the period, so the next tick is a full period
// after the write; the same interval leaves the running period alone.
bool SetProperty(HWND window, int32_t ownIndex, uint32_t value) {
  TimerControl* control = ControlOf(window);
  if (!control || ownIndex != kIntervalOwnIndex) return false;
  const int32_t interval = static_cast<int32_t>(value) > 0 ? static_cast<int32_t>(value) : 0;
  if (interval == control->interval) return false;
  control->Stop();
  control->interval = interval;
  control->Start();
  return false;
}

uint32_t GetProperty(HWND window, int32_t ownIndex) {
  TimerControl* control = ControlOf(window);
  return control && ownIndex == kIntervalOwnIndex ? static_cast<uint32_t>(control->interval) : 0;
}

std::vector<uint8_t> SaveSettings(HWND window) {
  TimerControl* control = ControlOf(window);
  return EncodeTimerSettings({control ? control->interval : 0});
}

constexpr KindEntryPoints kTimerKind{
    kKindTimer, "时钟", "Timer", kProperties, true, false, Create, SetProperty, GetProperty, SaveSettings,
};

}  // namespace

const KindEntryPoints& TimerKind() { return kTimerKind; }

}  // namespace vorrik
