#include "windows/kinds/group_box.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "shell/shell.h"
#include "windows/kinds/group_box_settings.h"
#include "windows/kinds/kind_gdi.h"

namespace vorrik::group_box {

const std::array<PropertyType, 13> kProperties = {
    kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeText, kTypeBoolean, kTypeBoolean, kTypePointer,
    kTypeText,        // Title
    kTypeChoice,      // TitleAlign
    kTypeColour,      // TextColor
    kTypeBackColour,  // BackColor
    kTypeFont,
};

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr DWORD kAlignStyles = BS_LEFT | BS_CENTER | BS_RIGHT;

struct GroupBoxState {
  ControlIdentity identity;
  GroupBoxSettings settings;
  GdiObject<HFONT> font;
  GdiObject<HBRUSH> back;
  std::vector<uint8_t> readBlock;  // the block GetProperty last handed out
};

LRESULT CALLBACK GroupBoxProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

GroupBoxState* StateOf(HWND control) {
  DWORD_PTR state = 0;
  return GetWindowSubclass(control, GroupBoxProc, kSubclassId, &state) ? reinterpret_cast<GroupBoxState*>(state)
                                                                       : nullptr;
}

COLORREF BackColour(uint32_t stored) { return stored == kDefaultColour ? GetSysColor(COLOR_BTNFACE) : stored; }
COLORREF TextColour(uint32_t stored) { return stored == kDefaultColour ? GetSysColor(COLOR_BTNTEXT) : stored; }

DWORD AlignStyle(uint32_t titleAlign) {
  static const DWORD kAlign[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
  return kAlign[std::min<uint32_t>(titleAlign, 2)];
}

// The frame's own drawing leaves its inside alone: fill it first, then let
// the button draw the frame and title over it.
void Paint(HWND control, const GroupBoxState& state, HDC dc, RECT client) {
  FillRect(dc, &client, state.back.get());
  DefSubclassProc(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
}

LRESULT OnPaint(HWND control, const GroupBoxState& state) {
  PaintDc paint(control);
  RECT client;
  GetClientRect(control, &client);
  Paint(control, state, paint.get(), client);
  return 0;
}

LRESULT OnPrintClient(HWND control, const GroupBoxState& state, HDC dc) {
  RECT client;
  GetClientRect(control, &client);
  Paint(control, state, dc, client);
  return 0;
}

LRESULT OnReflectedColour(const GroupBoxState& state, HDC dc) {
  SetTextColor(dc, TextColour(state.settings.textColor));
  SetBkColor(dc, BackColour(state.settings.backColor));
  return reinterpret_cast<LRESULT>(state.back.get());
}

// A BUTTON keeps its children's notifications to itself; the window
// reflects them to the controls, so they go to the window.
LRESULT OnChildNotification(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = GetAncestor(control, GA_ROOT);
  if (!window || window == control) return DefSubclassProc(control, message, wParam, lParam);
  return SendMessageA(window, message, wParam, lParam);
}

LRESULT OnNcDestroy(HWND control, WPARAM wParam, LPARAM lParam, GroupBoxState* state) {
  std::unique_ptr<GroupBoxState> owned(state);
  RemoveWindowSubclass(control, GroupBoxProc, kSubclassId);
  NoteControlDestroyed(owned->identity.windowId, owned->identity.controlId);
  return DefSubclassProc(control, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK GroupBoxProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* state = reinterpret_cast<GroupBoxState*>(data);
  switch (message) {
    case WM_PAINT: return OnPaint(control, *state);
    case WM_PRINTCLIENT: return OnPrintClient(control, *state, reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND: return 1;  // painting fills the background
    case kReflectedColour: return OnReflectedColour(*state, reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return OnChildNotification(control, message, wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(control, wParam, lParam, state);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

HWND Create(const CreateArguments& args) {
  auto settings = DecodeGroupBoxSettings(args.settings);
  if (!settings) return nullptr;
  auto state = std::make_unique<GroupBoxState>();
  state->identity = {args.windowId, args.controlId};
  state->font = CreateKindFont(settings->font);
  state->back = GdiObject<HBRUSH>(CreateSolidBrush(BackColour(settings->backColor)));
  state->settings = std::move(*settings);
  // Clips its children so that the frame never paints over them; a control
  // parent so that dialog-style navigation enters it.
  HWND control = CreateWindowExA(WS_EX_CONTROLPARENT, "BUTTON", state->settings.title.c_str(),
                                 WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX |
                                     AlignStyle(state->settings.titleAlign) | args.style,
                                 args.left, args.top, args.width, args.height, args.parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.childNumber)),
                                 GetModuleHandleA(nullptr), nullptr);
  if (!control) return nullptr;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(state->font)), FALSE);
  if (!SetWindowSubclass(control, GroupBoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state.get()))) {
    DestroyWindow(control);
    return nullptr;
  }
  state.release();  // freed at WM_NCDESTROY
  return control;
}

bool SetProperty(HWND control, int32_t ownIndex, uint32_t value) {
  GroupBoxState* state = StateOf(control);
  if (!state) return false;
  GroupBoxSettings& s = state->settings;
  switch (ownIndex) {
    case kTitle:
      s.title = TextOfValue(value);
      SetWindowTextA(control, s.title.c_str());
      break;
    case kTitleAlign:
      s.titleAlign = ClampChoice(value, 2);
      SetWindowLongA(control, GWL_STYLE,
                     (GetWindowLongA(control, GWL_STYLE) & ~kAlignStyles) | AlignStyle(s.titleAlign));
      break;
    case kTextColor: s.textColor = value; break;
    case kBackColor:
      s.backColor = value;
      state->back = GdiObject<HBRUSH>(CreateSolidBrush(BackColour(value)));
      break;
    case kFont: {
      s.font = FontOfBuffer(static_cast<ConstByteBuffer>(PointerOf(value)));
      GdiObject<HFONT> old = std::move(state->font);  // in use until the frame has the new one
      state->font = CreateKindFont(s.font);
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(state->font)), FALSE);
      break;
    }
    default: return false;
  }
  InvalidateRect(control, nullptr, TRUE);
  return false;
}

uint32_t GetProperty(HWND control, int32_t ownIndex) {
  GroupBoxState* state = StateOf(control);
  if (!state) return 0;
  const GroupBoxSettings& s = state->settings;
  switch (ownIndex) {
    case kTitle: return ValueOf(s.title.c_str());
    case kTitleAlign: return s.titleAlign;
    case kTextColor: return s.textColor;
    case kBackColor: return s.backColor;
    case kFont:
      state->readBlock = BufferOfFont(s.font);
      return ValueOf(state->readBlock.data());
  }
  return 0;
}

std::vector<uint8_t> SaveSettings(HWND control) {
  GroupBoxState* state = StateOf(control);
  return state ? EncodeGroupBoxSettings(state->settings) : std::vector<uint8_t>{};
}

}  // namespace vorrik::group_box
