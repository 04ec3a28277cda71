#include "skinengine/controls.h"

#include "skinengine/look.h"

namespace vorrik::engine {
namespace {

// A button's picture, centred; true when there was one to draw.
bool DrawButtonImage(HWND control, LONG style, HDC dc, const RECT& r, int shift) {
  if (style & BS_ICON) {
    HICON icon = reinterpret_cast<HICON>(SendMessageA(control, BM_GETIMAGE, IMAGE_ICON, 0));
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return false;
    BITMAP size = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof size, &size);
    const int height = info.hbmColor ? size.bmHeight : size.bmHeight / 2;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DrawIconEx(dc, (r.left + r.right - size.bmWidth) / 2 + shift, (r.top + r.bottom - height) / 2 + shift, icon, 0, 0,
               0, nullptr, DI_NORMAL);
    return true;
  }
  if (style & BS_BITMAP) {
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendMessageA(control, BM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof size, &size)) return false;
    HDC source = CreateCompatibleDC(dc);
    if (!source) return false;
    {
      Selected picture(source, bitmap);
      BitBlt(dc, (r.left + r.right - size.bmWidth) / 2 + shift, (r.top + r.bottom - size.bmHeight) / 2 + shift,
             size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    }
    DeleteDC(source);
    return true;
  }
  return false;
}

UINT TextFormat(LONG style) {
  UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  switch (style & (BS_LEFT | BS_RIGHT | BS_CENTER)) {
    case BS_LEFT: format |= DT_LEFT; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    default: format |= DT_CENTER; break;
  }
  return format;
}

// Draws text in r at the vertical place the style asks for.
void DrawAlignedText(HDC dc, const char* text, int length, RECT r, LONG style, UINT format) {
  RECT measured = r;
  DrawTextA(dc, text, length, &measured, format | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  switch (style & (BS_TOP | BS_BOTTOM | BS_VCENTER)) {
    case BS_TOP: break;
    case BS_BOTTOM: r.top = r.bottom - height; break;
    default: r.top += (r.bottom - r.top - height) / 2; break;
  }
  r.bottom = r.top + height;
  DrawTextA(dc, text, length, &r, format);
}

Colour BrushColour(HBRUSH brush, Colour fallback) {
  LOGBRUSH info;
  return GetObjectA(brush, sizeof info, &info) == sizeof info && info.lbStyle == BS_SOLID ? info.lbColor : fallback;
}

// What the parent paints behind the control. A brush of the system's
// button face (one made before the skin came counts too) is the skin's face.
HBRUSH ParentBrush(HWND control, UINT message, HDC dc) {
  HWND parent = GetParent(control);
  const auto brush = reinterpret_cast<HBRUSH>(
      parent ? SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)) : 0);
  if (!brush || BrushColour(brush, CLR_INVALID) == GetSysColor(COLOR_BTNFACE)) return CurrentLook().faceBrush();
  return brush;
}

// Black and the plain text colours are what a program asks for when it has
// no colour of its own in mind: the skin's group title colour then.
bool PlainTextColour(Colour c) {
  return c == 0 || c == GetSysColor(COLOR_BTNTEXT) || c == CurrentLook().colour(skin::kText);
}

void PaintPushButton(HWND control, const ControlState& state, Canvas& c, const RECT& r, RECT&) {
  const Look& look = CurrentLook();
  FillRect(c.dc(), &r, ParentBrush(control, WM_CTLCOLORBTN, c.dc()));

  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const bool enabled = IsWindowEnabled(control);
  const bool pushed = enabled && state.pushed;
  const bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  const Colour fill = look.colour(!enabled ? skin::kButtonDisabled
                                  : pushed ? skin::kButtonPressed
                                  : state.hot ? skin::kButtonHot
                                              : skin::kButtonNormal);
  const Colour shadow = look.colour(skin::kEdgeShadow);
  const Colour border = !enabled ? Mix(look.colour(skin::kFace), shadow, 160)
                        : isDefault ? Mix(shadow, look.colour(skin::kText), 140)
                                    : shadow;
  const int radius = look.metric(skin::kButtonCornerRadius);
  RECT body = r;
  if (isDefault && enabled) {
    c.FillRounded(body, radius, border);  // a second ring marks the default button
    InflateRect(&body, -1, -1);
  }
  c.FillRoundedWithBorder(body, radius, border, fill);
  if (!pushed && enabled)  // a light line under the top edge: raised, not flat
    c.Fill({body.left + radius + 1, body.top + 1, body.right - radius - 1, body.top + 2},
           Mix(fill, look.colour(skin::kEdgeLight), 128));

  const int shift = pushed ? 1 : 0;
  RECT inside = {body.left + 4 + shift, body.top + 2 + shift, body.right - 4 + shift, body.bottom - 2 + shift};
  if (!DrawButtonImage(control, style, c.dc(), inside, shift)) {
    Selected font(c.dc(), state.font);
    SetTextColor(c.dc(), look.colour(enabled ? skin::kButtonText : skin::kButtonTextDisabled));
    if (state.textLength > 0) DrawAlignedText(c.dc(), state.text, state.textLength, inside, style, TextFormat(style));
  }
  if (state.focused && enabled && !state.hideFocus) {
    RECT focus = {body.left + 3, body.top + 3, body.right - 3, body.bottom - 3};
    SetTextColor(c.dc(), look.colour(skin::kButtonText));
    SetBkColor(c.dc(), fill);
    DrawFocusRect(c.dc(), &focus);
  }
}

// A group box that holds its controls as children, or keeps out of its
// siblings, owns its inside and is painted whole. Otherwise (the usual
// dialog) the controls in it are siblings painted in any order, and only the
// frame band is drawn: the inside is left alone.
bool OwnsInside(HWND control) {
  return (GetWindowLongA(control, GWL_STYLE) & WS_CLIPSIBLINGS) || GetWindow(control, GW_CHILD);
}

void PaintGroupBox(HWND control, const ControlState& state, Canvas& c, const RECT& r, RECT& leaveAlone) {
  const Look& look = CurrentLook();
  HBRUSH back = ParentBrush(control, WM_CTLCOLORSTATIC, c.dc());
  // What the owner asked for on the DC: its own title colour, if any.
  const Colour asked = GetTextColor(c.dc());
  const Colour backColour = BrushColour(back, look.colour(skin::kFace));
  FillRect(c.dc(), &r, back);

  Selected font(c.dc(), state.font);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(c.dc(), &metrics);
  const int lineTop = metrics.tmHeight / 2;
  if (!OwnsInside(control)) leaveAlone = {r.left + 2, r.top + metrics.tmHeight + 1, r.right - 2, r.bottom - 2};
  c.StrokeRounded({r.left, r.top + lineTop, r.right, r.bottom}, 3, look.colour(skin::kGroupLine));

  const char* text = state.text;
  const int length = state.textLength;
  if (length <= 0) return;
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  RECT title = {0, 0, r.right - 16, metrics.tmHeight};
  DrawTextA(c.dc(), text, length, &title, DT_SINGLELINE | DT_CALCRECT);
  const int width = title.right - title.left + 6;
  int left = 7;
  if ((style & (BS_LEFT | BS_RIGHT | BS_CENTER)) == BS_CENTER) left = (r.right - width) / 2;
  else if ((style & (BS_LEFT | BS_RIGHT | BS_CENTER)) == BS_RIGHT) left = r.right - 7 - width;
  title = {left, r.top, left + width, r.top + metrics.tmHeight};
  c.Fill(title, backColour);
  SetTextColor(c.dc(), PlainTextColour(asked) ? look.colour(skin::kGroupTitle) : asked);
  DrawTextA(c.dc(), text, length, &title, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

// Each paints the whole control into the canvas, and may name a part of it
// to be left as it is on the screen.
using PaintFunction = void (*)(HWND, const ControlState&, Canvas&, const RECT&, RECT& leaveAlone);
constexpr PaintFunction kPainters[int(ControlKind::kCount)] = {PaintPushButton, PaintGroupBox};

}  // namespace

void ReadControl(HWND control, ControlState& state) {
  const LRESULT buttonState = SendMessageA(control, BM_GETSTATE, 0, 0);
  state.pushed = buttonState & BST_PUSHED;
  state.focused = GetFocus() == control;
  state.hideFocus = SendMessageA(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS;
  state.font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  state.textLength = GetWindowTextA(control, state.text, sizeof state.text);
}

ControlKind KindOfControl(const char* className, LONG style) {
  if (lstrcmpiA(className, "Button") != 0) return ControlKind::kNone;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: return ControlKind::kPushButton;
    case BS_GROUPBOX: return ControlKind::kGroupBox;
    default: return ControlKind::kNone;
  }
}

void PaintControl(HWND control, ControlKind kind, const ControlState& state, HDC target) {
  const Look& look = CurrentLook();
  if (!look.ready() || kind == ControlKind::kNone) return;
  RECT r;
  GetClientRect(control, &r);
  Canvas& c = look.canvas();
  if (r.right <= 0 || r.bottom <= 0 || !c.Reserve(r.right, r.bottom)) return;
  // The canvas DC is shared: start each control from the same DC state.
  const int saved = SaveDC(c.dc());
  RECT leaveAlone = {};
  kPainters[int(kind)](control, state, c, r, leaveAlone);
  RestoreDC(c.dc(), saved);
  if (IsRectEmpty(&leaveAlone)) {
    c.CopyTo(target, r);
    return;
  }
  // The bands around the part left alone.
  const RECT bands[] = {{r.left, r.top, r.right, leaveAlone.top},
                        {r.left, leaveAlone.bottom, r.right, r.bottom},
                        {r.left, leaveAlone.top, leaveAlone.left, leaveAlone.bottom},
                        {leaveAlone.right, leaveAlone.top, r.right, leaveAlone.bottom}};
  for (const RECT& band : bands)
    if (!IsRectEmpty(&band)) c.CopyTo(target, band);
}

void RepaintControl(HWND control, ControlKind kind, const ControlState& state) {
  if (!IsWindowVisible(control)) return;
  if (HDC dc = GetDC(control)) {
    PaintControl(control, kind, state, dc);
    ReleaseDC(control, dc);
  }
}

}  // namespace vorrik::engine
