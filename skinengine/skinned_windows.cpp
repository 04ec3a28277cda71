#include "skinengine/skinned_windows.h"

#include <commctrl.h>

#include <new>

#include "skinengine/controls.h"
#include "skinengine/look.h"
#include "skinengine/program_imports.h"

namespace vorrik::engine {
namespace {

constexpr UINT_PTR kSubclassId = 0x53484531;  // "SHE1"

struct Skinned {
  FrameState frame;
  ControlKind kind = ControlKind::kNone;
  ControlState control;
};

HHOOK g_hook = nullptr;
DWORD g_thread = 0;
const char* g_excluded = "";
bool g_leaveButtons = false;

LRESULT CALLBACK FrameProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

Skinned* StateOf(HWND window, SUBCLASSPROC procedure) {
  DWORD_PTR state = 0;
  return GetWindowSubclass(window, procedure, kSubclassId, &state) ? reinterpret_cast<Skinned*>(state) : nullptr;
}

// After a call into the program the window may be gone, its state with it.
bool StillOurs(HWND window, SUBCLASSPROC procedure, const Skinned* state) {
  return IsWindow(window) && StateOf(window, procedure) == state;
}

bool Excluded(const char* className) {
  const char* start = g_excluded;
  while (*start) {
    const char* end = start;
    while (*end && *end != ';') ++end;
    const int length = int(end - start);
    if (length > 0 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, start, length, className, -1) == CSTR_EQUAL)
      return true;
    start = *end ? end + 1 : end;
  }
  return false;
}

bool SystemPopupClass(const char* className) {
  return className[0] == '#' ? lstrcmpA(className, "#32770") != 0 : lstrcmpiA(className, TOOLTIPS_CLASSA) == 0;
}

// Frames painted by the desktop compositor ignore WM_NCPAINT: ask it to
// leave this window's frame to us. Not there before Vista, nor under every
// compatibility layer, so it is looked up, not imported.
void LeaveFrameToUs(HWND window) {
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static SetAttribute set = [] {
    HMODULE dwm = GetModuleHandleA("dwmapi.dll");
    if (!dwm) dwm = LoadLibraryA("dwmapi.dll");
    return dwm ? reinterpret_cast<SetAttribute>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")))
               : nullptr;
  }();
  constexpr DWORD kNonClientRenderingPolicy = 2, kDisabled = 1;
  if (set) set(window, kNonClientRenderingPolicy, &kDisabled, sizeof kDisabled);
}

// A window taken as it is being created is read on WM_CREATE; one that
// already exists is read at once.
void Take(HWND window, LONG style, bool creating = false) {
  char className[64] = "";
  GetClassNameA(window, className, sizeof className);
  if (Excluded(className)) return;
  SUBCLASSPROC procedure = nullptr;
  ControlKind kind = ControlKind::kNone;
  if (!(style & WS_CHILD)) {
    // Pop-up menus and tips draw themselves; a window with no frame at all
    // (the program's hidden helpers among them) has nothing to skin.
    if (SystemPopupClass(className) || !(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_DLGFRAME))) return;
    procedure = FrameProc;
  } else {
    kind = KindOfControl(className, style);
    if (kind == ControlKind::kNone || (g_leaveButtons && kind == ControlKind::kPushButton)) return;
    procedure = ControlProc;
  }
  if (StateOf(window, procedure)) return;
  void* memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Skinned));
  if (!memory) return;  // drawn plain, nothing lost
  Skinned* state = new (memory) Skinned;
  state->kind = kind;
  state->frame.active = GetActiveWindow() == window;
  if (!SetWindowSubclass(window, procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(state))) {
    HeapFree(GetProcessHeap(), 0, memory);
    return;
  }
  if (procedure == FrameProc) LeaveFrameToUs(window);
  else if (!creating) ReadControl(window, state->control);
}

void Let(HWND window, SUBCLASSPROC procedure) {
  if (Skinned* state = StateOf(window, procedure)) {
    RemoveWindowSubclass(window, procedure, kSubclassId);
    HeapFree(GetProcessHeap(), 0, state);
  }
}

BOOL CALLBACK TakeChild(HWND child, LPARAM) {
  Take(child, GetWindowLongA(child, GWL_STYLE));
  return TRUE;
}

BOOL CALLBACK TakeTopLevel(HWND window, LPARAM) {
  Take(window, GetWindowLongA(window, GWL_STYLE));
  EnumChildWindows(window, TakeChild, 0);
  return TRUE;
}

BOOL CALLBACK LetChild(HWND child, LPARAM) {
  Let(child, ControlProc);
  return TRUE;
}

BOOL CALLBACK LetTopLevel(HWND window, LPARAM) {
  Let(window, FrameProc);
  EnumChildWindows(window, LetChild, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return TRUE;
}

BOOL CALLBACK RepaintTopLevel(HWND window, LPARAM) {
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return TRUE;
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND)
    Take(reinterpret_cast<HWND>(wParam), reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->style, true);
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// ---- Top-level windows -------------------------------------------------

CaptionButton ButtonOfHit(WPARAM hit) {
  switch (hit) {
    case HTCLOSE: return CaptionButton::kClose;
    case HTMAXBUTTON: return CaptionButton::kMaximise;
    case HTMINBUTTON: return CaptionButton::kMinimise;
    default: return CaptionButton::kNone;
  }
}

LRESULT HitOfButton(CaptionButton button) {
  switch (button) {
    case CaptionButton::kClose: return HTCLOSE;
    case CaptionButton::kMaximise: return HTMAXBUTTON;
    case CaptionButton::kMinimise: return HTMINBUTTON;
    default: return HTCAPTION;
  }
}

POINT ScreenPoint(LPARAM lParam) { return {short(LOWORD(lParam)), short(HIWORD(lParam))}; }

bool Frameless(HWND window) { return IsIconic(window) || !CurrentLook().ready(); }

LRESULT OnNcPaint(HWND window, Skinned& s, WPARAM wParam) {
  if (Frameless(window)) return DefSubclassProc(window, WM_NCPAINT, wParam, 0);
  RepaintFrame(window, s.frame);
  return 0;
}

LRESULT OnNcActivate(HWND window, Skinned* s, WPARAM wParam) {
  s->frame.active = wParam != 0;  // the program may still say otherwise, see SkinnedDefWindowProc
  const LRESULT result = DefSubclassProc(window, WM_NCACTIVATE, wParam, -1);
  if (StillOurs(window, FrameProc, s) && !Frameless(window)) RepaintFrame(window, s->frame);
  return result;
}

LRESULT OnNcHitTest(HWND window, LPARAM lParam) {
  const LRESULT hit = DefSubclassProc(window, WM_NCHITTEST, 0, lParam);
  if (Frameless(window)) return hit;
  switch (hit) {
    case HTCAPTION: case HTCLOSE: case HTMAXBUTTON: case HTMINBUTTON: case HTSYSMENU: case HTTOP: break;
    default: return hit;
  }
  FrameLayout layout;
  MeasureFrame(window, layout);
  const CaptionButton button = CaptionButtonAt(layout, WindowPointFromScreen(window, ScreenPoint(lParam)));
  if (button != CaptionButton::kNone) return HitOfButton(button);
  return ButtonOfHit(hit) != CaptionButton::kNone ? HTCAPTION : hit;
}

void TrackLeave(HWND window, bool& tracking, DWORD flags) {
  if (tracking) return;
  TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE | flags, window, 0};
  tracking = TrackMouseEvent(&track) != FALSE;
}

LRESULT OnNcMouseMove(HWND window, Skinned& s, WPARAM hit, LPARAM lParam) {
  if (!Frameless(window)) {
    const CaptionButton hot = ButtonOfHit(hit);
    int item = -1;
    if (hit == HTMENU) {
      FrameLayout layout;
      MeasureFrame(window, layout);
      item = MenuBarItemAt(window, layout, WindowPointFromScreen(window, ScreenPoint(lParam)));
    }
    if (hot != s.frame.hot || item != s.frame.hotMenuItem) {
      s.frame.hot = hot;
      s.frame.hotMenuItem = item;
      RepaintFrame(window, s.frame);
    }
    TrackLeave(window, s.frame.trackingLeave, TME_NONCLIENT);
  }
  return DefSubclassProc(window, WM_NCMOUSEMOVE, hit, lParam);
}

LRESULT OnNcMouseLeave(HWND window, Skinned& s) {
  s.frame.trackingLeave = false;
  if (s.frame.hot != CaptionButton::kNone || s.frame.hotMenuItem >= 0) {
    s.frame.hot = CaptionButton::kNone;
    s.frame.hotMenuItem = -1;
    if (!Frameless(window)) RepaintFrame(window, s.frame);
  }
  return DefSubclassProc(window, WM_NCMOUSELEAVE, 0, 0);
}

// A caption button is pressed, held and released like a push button: the
// command goes only when the mouse is let go over it.
bool OnCaptionButtonDown(HWND window, Skinned& s, WPARAM hit) {
  const CaptionButton button = ButtonOfHit(hit);
  if (button == CaptionButton::kNone || Frameless(window)) return false;
  FrameLayout layout;
  MeasureFrame(window, layout);
  if (!layout.buttonEnabled[int(button)]) return true;
  s.frame.pressed = button;
  s.frame.pressedInside = true;
  SetCapture(window);
  RepaintFrame(window, s.frame);
  return true;
}

bool OnCaptionButtonDrag(HWND window, Skinned& s, LPARAM lParam) {
  if (s.frame.pressed == CaptionButton::kNone) return false;
  POINT point = {short(LOWORD(lParam)), short(HIWORD(lParam))};
  ClientToScreen(window, &point);
  FrameLayout layout;
  MeasureFrame(window, layout);
  const bool inside = CaptionButtonAt(layout, WindowPointFromScreen(window, point)) == s.frame.pressed;
  if (inside != s.frame.pressedInside) {
    s.frame.pressedInside = inside;
    RepaintFrame(window, s.frame);
  }
  return true;
}

bool OnCaptionButtonUp(HWND window, Skinned& s) {
  const CaptionButton button = s.frame.pressed;
  if (button == CaptionButton::kNone) return false;
  const bool inside = s.frame.pressedInside;
  s.frame.pressed = CaptionButton::kNone;
  s.frame.pressedInside = false;
  ReleaseCapture();
  RepaintFrame(window, s.frame);
  if (!inside) return true;
  POINT cursor;
  GetCursorPos(&cursor);
  const WPARAM command = button == CaptionButton::kClose      ? SC_CLOSE
                         : button == CaptionButton::kMinimise ? SC_MINIMIZE
                         : IsZoomed(window)                   ? SC_RESTORE
                                                              : SC_MAXIMIZE;
  SendMessageA(window, WM_SYSCOMMAND, command, MAKELPARAM(cursor.x, cursor.y));
  return true;
}

void OnCaptureChanged(HWND window, Skinned& s) {
  if (s.frame.pressed == CaptionButton::kNone) return;
  s.frame.pressed = CaptionButton::kNone;
  s.frame.pressedInside = false;
  RepaintFrame(window, s.frame);
}

// The bar item a WM_MENUSELECT names: pop-ups by position, commands by id.
int BarItemOf(HWND window, WPARAM wParam, LPARAM lParam) {
  HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (HIWORD(wParam) == 0xFFFF && !menu) return -1;  // the menu closed
  if (!menu || menu != GetMenu(window)) return -2;      // inside a pop-up: unchanged
  if (HIWORD(wParam) & MF_POPUP) return LOWORD(wParam);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (GetMenuItemID(menu, i) == LOWORD(wParam)) return i;
  return -1;
}

LRESULT OnMenuSelect(HWND window, Skinned* s, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefSubclassProc(window, WM_MENUSELECT, wParam, lParam);
  if (!StillOurs(window, FrameProc, s) || Frameless(window)) return result;
  const int item = BarItemOf(window, wParam, lParam);
  if (item != -2 && item != s->frame.openMenuItem) {
    s->frame.openMenuItem = item;
    RepaintFrame(window, s->frame);
  }
  return result;
}

// Dialogs of the thread (message boxes among them) ask for their colours.
LRESULT OnControlColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT brush = DefSubclassProc(window, message, wParam, lParam);
  const Look& look = CurrentLook();
  if (!look.ready() || brush != reinterpret_cast<LRESULT>(SystemColourBrush(COLOR_BTNFACE))) return brush;
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetBkColor(dc, look.colour(skin::kFace));
  SetTextColor(dc, look.colour(skin::kText));
  return reinterpret_cast<LRESULT>(look.faceBrush());
}

LRESULT OnPrint(HWND window, Skinned& s, WPARAM wParam, LPARAM lParam) {
  if (!(lParam & PRF_NONCLIENT) || Frameless(window)) return DefSubclassProc(window, WM_PRINT, wParam, lParam);
  HDC dc = reinterpret_cast<HDC>(wParam);
  if ((lParam & PRF_CHECKVISIBLE) && !IsWindowVisible(window)) return 0;
  if (!s.frame.read) ReadFrame(window, s.frame);
  PaintFrame(window, s.frame, dc);
  FrameLayout layout;
  MeasureFrame(window, layout);
  POINT origin;
  OffsetViewportOrgEx(dc, layout.client.left, layout.client.top, &origin);
  const LRESULT result = DefSubclassProc(window, WM_PRINT, wParam, lParam & ~PRF_NONCLIENT);
  SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  return result;
}

LRESULT OnRepaintingChange(HWND window, Skinned* s, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (!StillOurs(window, FrameProc, s)) return result;
  if (message == WM_SETTEXT || message == WM_SETICON) ReadFrame(window, s->frame);
  if (!Frameless(window)) RepaintFrame(window, s->frame);
  return result;
}

LRESULT OnNcDestroy(HWND window, SUBCLASSPROC procedure, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefSubclassProc(window, WM_NCDESTROY, wParam, lParam);
  Let(window, procedure);
  return result;
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  Skinned* s = reinterpret_cast<Skinned*>(data);
  switch (message) {
    case WM_NCPAINT: return OnNcPaint(window, *s, wParam);
    case WM_NCACTIVATE: return OnNcActivate(window, s, wParam);
    case WM_NCHITTEST: return OnNcHitTest(window, lParam);
    case WM_NCMOUSEMOVE: return OnNcMouseMove(window, *s, wParam, lParam);
    case WM_NCMOUSELEAVE: return OnNcMouseLeave(window, *s);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (OnCaptionButtonDown(window, *s, wParam)) return 0;
      break;
    case WM_MOUSEMOVE:
      if (OnCaptionButtonDrag(window, *s, lParam)) return 0;
      break;
    case WM_LBUTTONUP:
      if (OnCaptionButtonUp(window, *s)) return 0;
      break;
    case WM_CAPTURECHANGED: OnCaptureChanged(window, *s); break;
    case WM_MENUSELECT: return OnMenuSelect(window, s, wParam, lParam);
    case WM_EXITMENULOOP:
      s->frame.openMenuItem = s->frame.hotMenuItem = -1;
      return OnRepaintingChange(window, s, message, wParam, lParam);
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_STYLECHANGED:
    case WM_ENABLE: return OnRepaintingChange(window, s, message, wParam, lParam);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return OnControlColour(window, message, wParam, lParam);
    case WM_PRINT: return OnPrint(window, *s, wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(window, FrameProc, wParam, lParam);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// ---- Push buttons and group boxes ---------------------------------------

LRESULT OnControlPaint(HWND control, const Skinned& s) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(control, &paint);
  if (dc) PaintControl(control, s.kind, s.control, dc);
  EndPaint(control, &paint);
  return 0;
}

// The system's control draws itself straight away on these; the skin's
// look goes over it before anything reaches the screen.
bool RedrawnBySystem(UINT message) {
  switch (message) {
    case BM_SETSTATE: case BM_SETSTYLE: case BM_SETCHECK: case BM_SETIMAGE: case BM_CLICK:
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: case WM_SETTEXT: case WM_SETFONT:
    case WM_UPDATEUISTATE: case WM_CREATE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN: case WM_KEYUP: case WM_CAPTURECHANGED:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  Skinned* s = reinterpret_cast<Skinned*>(data);
  if (!CurrentLook().ready()) return DefSubclassProc(control, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: return OnControlPaint(control, *s);
    case WM_PRINTCLIENT:
      PaintControl(control, s->kind, s->control, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      if (s->kind == ControlKind::kPushButton) return 1;  // painted whole, with the parent's background
      break;
    case WM_MOUSEMOVE:
      if (!s->control.hot) {
        s->control.hot = true;
        TrackLeave(control, s->control.trackingLeave, 0);
        RepaintControl(control, s->kind, s->control);
      }
      break;
    case WM_MOUSELEAVE:
      s->control.trackingLeave = false;
      s->control.hot = false;
      RepaintControl(control, s->kind, s->control);
      break;
    case WM_NCDESTROY: return OnNcDestroy(control, ControlProc, wParam, lParam);
  }
  const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
  if (RedrawnBySystem(message) && StillOurs(control, ControlProc, s)) {
    ReadControl(control, s->control);
    RepaintControl(control, s->kind, s->control);
  }
  return result;
}

}  // namespace

bool SkinThreadWindows(const char* excludedClasses, bool leaveButtons) {
  g_thread = GetCurrentThreadId();
  g_excluded = excludedClasses ? excludedClasses : "";
  g_leaveButtons = leaveButtons;
  if (!g_hook) g_hook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, g_thread);
  if (!g_hook) return false;
  EnumThreadWindows(g_thread, TakeTopLevel, 0);
  return true;
}

void ReleaseThreadWindows() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  if (g_thread) EnumThreadWindows(g_thread, LetTopLevel, 0);
  g_thread = 0;
  g_excluded = "";
}

void RepaintThreadWindows() {
  if (g_thread) EnumThreadWindows(g_thread, RepaintTopLevel, 0);
}

FrameState* FrameStateOf(HWND window) {
  Skinned* state = StateOf(window, FrameProc);
  return state ? &state->frame : nullptr;
}

}  // namespace vorrik::engine
