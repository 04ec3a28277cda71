#include "windows/kinds/button.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "shell/shell.h"
#include "windows/kinds/button_settings.h"
#include "windows/kinds/kind_gdi.h"

namespace vorrik::button {

const std::array<PropertyType, 14> kProperties = {
    kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeText, kTypeBoolean, kTypeBoolean, kTypePointer,
    kTypePicture,  // Picture
    kTypeBoolean,  // IsDefault
    kTypeText,     // Title
    kTypeChoice,   // HAlign
    kTypeChoice,   // VAlign
    kTypeFont,
};

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr DWORD kOwnStyles = BS_TYPEMASK | BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP | BS_BOTTOM | BS_VCENTER |
                             BS_ICON | BS_BITMAP | BS_MULTILINE;

struct ButtonState {
  ControlIdentity identity;
  ButtonSettings settings;
  GdiObject<HFONT> font;
  KindPicture picture;
  std::vector<uint8_t> readBlock;  // the block GetProperty last handed out
};

LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

ButtonState* StateOf(HWND control) {
  DWORD_PTR state = 0;
  return GetWindowSubclass(control, ButtonProc, kSubclassId, &state) ? reinterpret_cast<ButtonState*>(state)
                                                                     : nullptr;
}

DWORD ButtonStyles(const ButtonSettings& s, const KindPicture& picture) {
  static const DWORD kHorizontal[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
  static const DWORD kVertical[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
  DWORD style = (s.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE;
  style |= kHorizontal[std::min<uint32_t>(s.hAlign, 2)] | kVertical[std::min<uint32_t>(s.vAlign, 2)];
  if (picture.Icon()) style |= BS_ICON;
  else if (picture.Bitmap()) style |= BS_BITMAP;
  return style;
}

void ApplyStyles(HWND control, const ButtonState& state) {
  const DWORD style = ButtonStyles(state.settings, state.picture);
  SetWindowLongA(control, GWL_STYLE, (GetWindowLongA(control, GWL_STYLE) & ~kOwnStyles) | style);
  // Tells the button its type changed and redraws it.
  SendMessageA(control, BM_SETSTYLE, style & BS_TYPEMASK, TRUE);
}

void ApplyPicture(HWND control, const ButtonState& state) {
  if (state.picture.Icon()) SendMessageA(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(state.picture.Icon()));
  else SendMessageA(control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(state.picture.Bitmap()));
}

void Raise(const ButtonState& state, int32_t event) {
  EventRecord record;
  record.window = state.identity.windowId;
  record.item = state.identity.controlId;
  record.event = event;
  RaiseEvent(record);
}

LRESULT OnReflectedCommand(const ButtonState& state, WPARAM wParam) {
  if (HIWORD(wParam) == BN_CLICKED) Raise(state, kEventClicked);
  return 0;
}

LRESULT OnFocusChange(HWND control, UINT message, WPARAM wParam, LPARAM lParam, const ButtonState& state) {
  const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
  Raise(state, message == WM_SETFOCUS ? kEventFocusGained : kEventFocusLost);
  return result;
}

LRESULT OnNcDestroy(HWND control, WPARAM wParam, LPARAM lParam, ButtonState* state) {
  std::unique_ptr<ButtonState> owned(state);
  RemoveWindowSubclass(control, ButtonProc, kSubclassId);
  NoteControlDestroyed(owned->identity.windowId, owned->identity.controlId);
  // The button still refers to the picture and font until it is gone.
  const LRESULT result = DefSubclassProc(control, WM_NCDESTROY, wParam, lParam);
  return result;
}

LRESULT CALLBACK ButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* state = reinterpret_cast<ButtonState*>(data);
  switch (message) {
    case kReflectedCommand: return OnReflectedCommand(*state, wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return OnFocusChange(control, message, wParam, lParam, *state);
    case WM_NCDESTROY: return OnNcDestroy(control, wParam, lParam, state);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

HWND Create(const CreateArguments& args) {
  auto settings = DecodeButtonSettings(args.settings);
  if (!settings) return nullptr;
  auto state = std::make_unique<ButtonState>();
  state->identity = {args.windowId, args.controlId};
  state->font = CreateKindFont(settings->font);
  state->picture = KindPicture::Decode(settings->picture);
  state->settings = std::move(*settings);
  HWND control = CreateWindowExA(0, "BUTTON", state->settings.title.c_str(),
                                 WS_CHILD | WS_CLIPSIBLINGS | ButtonStyles(state->settings, state->picture) | args.style,
                                 args.left, args.top, args.width, args.height, args.parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.childNumber)),
                                 GetModuleHandleA(nullptr), nullptr);
  if (!control) return nullptr;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(state->font)), FALSE);
  if (!state->picture.Empty()) ApplyPicture(control, *state);
  if (!SetWindowSubclass(control, ButtonProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state.get()))) {
    DestroyWindow(control);
    return nullptr;
  }
  state.release();  // freed at WM_NCDESTROY
  return control;
}

bool SetProperty(HWND control, int32_t ownIndex, uint32_t value) {
  ButtonState* state = StateOf(control);
  if (!state) return false;
  ButtonSettings& s = state->settings;
  switch (ownIndex) {
    case kPicture:
      s.picture = BytesOfBuffer(static_cast<ConstByteBuffer>(PointerOf(value)));
      state->picture = KindPicture::Decode(s.picture);
      ApplyStyles(control, *state);
      ApplyPicture(control, *state);
      break;
    case kIsDefault: s.isDefault = ClampChoice(value, 1); ApplyStyles(control, *state); break;
    case kHAlign: s.hAlign = ClampChoice(value, 2); ApplyStyles(control, *state); break;
    case kVAlign: s.vAlign = ClampChoice(value, 2); ApplyStyles(control, *state); break;
    case kTitle:
      s.title = TextOfValue(value);
      SetWindowTextA(control, s.title.c_str());
      break;
    case kFont: {
      s.font = FontOfBuffer(static_cast<ConstByteBuffer>(PointerOf(value)));
      // The old font stays selected until the button has the new one.
      GdiObject<HFONT> old = std::move(state->font);
      state->font = CreateKindFont(s.font);
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(state->font)), TRUE);
      break;
    }
    default: return false;
  }
  InvalidateRect(control, nullptr, TRUE);
  return false;
}

uint32_t GetProperty(HWND control, int32_t ownIndex) {
  ButtonState* state = StateOf(control);
  if (!state) return 0;
  const ButtonSettings& s = state->settings;
  switch (ownIndex) {
    case kPicture:
      state->readBlock = BufferOfBytes(s.picture);
      return ValueOf(state->readBlock.data());
    case kIsDefault: return s.isDefault;
    case kTitle: return ValueOf(s.title.c_str());
    case kHAlign: return s.hAlign;
    case kVAlign: return s.vAlign;
    case kFont:
      state->readBlock = BufferOfFont(s.font);
      return ValueOf(state->readBlock.data());
  }
  return 0;
}

std::vector<uint8_t> SaveSettings(HWND control) {
  ButtonState* state = StateOf(control);
  return state ? EncodeButtonSettings(state->settings) : std::vector<uint8_t>{};
}

}  // namespace vorrik::button
