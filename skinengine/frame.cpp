#include "skinengine/frame.h"

#include "skinengine/look.h"

// The system's own menu-bar painter: exported by user32 since NT 4 but not
// declared in its header.
extern "C" DWORD WINAPI DrawMenuBarTemp(HWND window, HDC dc, RECT* bar, HMENU menu, HFONT font);

namespace vorrik::engine {
namespace {

constexpr int kButtonGap = 2;
constexpr int kTextGap = 5;
constexpr Colour kCloseHot = 0x2311E8;      // the usual red of a close box under the mouse
constexpr Colour kClosePressed = 0x7A70F1;  // ... and held down
constexpr Colour kWhite = 0xFFFFFF;

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

bool CloseEnabled(HWND window) {
  if (GetClassLongA(window, GCL_STYLE) & CS_NOCLOSE) return false;
  HMENU system = GetSystemMenu(window, FALSE);
  if (!system) return true;
  const UINT state = GetMenuState(system, SC_CLOSE, MF_BYCOMMAND);
  return state == UINT(-1) || !(state & (MF_GRAYED | MF_DISABLED));
}

void MeasureButtons(HWND window, LONG style, LONG exStyle, FrameLayout& l) {
  if (!(style & WS_SYSMENU)) return;
  const Look& look = CurrentLook();
  const int captionHeight = l.caption.bottom - l.caption.top;
  int height = look.metric(skin::kCaptionButtonHeight);
  int width = look.metric(skin::kCaptionButtonWidth);
  if (height > captionHeight - 4) {
    width = width * (captionHeight - 4) / height;
    height = captionHeight - 4;
  }
  if (height < 4 || width < 4) return;
  const int top = l.caption.top + (captionHeight - height) / 2;
  int right = l.caption.right - kButtonGap;
  auto place = [&](CaptionButton which, bool enabled) {
    l.buttons[int(which)] = {right - width, top, right, top + height};
    l.buttonEnabled[int(which)] = enabled;
    right -= width;
  };
  place(CaptionButton::kClose, CloseEnabled(window));
  right -= kButtonGap;
  if ((style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) && !(exStyle & WS_EX_TOOLWINDOW)) {
    place(CaptionButton::kMaximise, (style & WS_MAXIMIZEBOX) != 0);
    place(CaptionButton::kMinimise, (style & WS_MINIMIZEBOX) != 0);
  }
}

HICON SmallIcon(HWND window) {
  DWORD_PTR icon = 0;
  for (WPARAM kind : {WPARAM(ICON_SMALL), WPARAM(ICON_BIG)})
    if (SendMessageTimeoutA(window, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 200, &icon) && icon)
      return reinterpret_cast<HICON>(icon);
  if ((icon = GetClassLongA(window, GCL_HICONSM))) return reinterpret_cast<HICON>(icon);
  return reinterpret_cast<HICON>(GetClassLongA(window, GCL_HICON));
}

Colour CaptionColourAt(const FrameState& state, const FrameLayout& l, int x) {
  const Look& look = CurrentLook();
  const Colour from = look.colour(state.active ? skin::kCaptionActiveFrom : skin::kCaptionInactiveFrom);
  const Colour to = look.colour(state.active ? skin::kCaptionActiveTo : skin::kCaptionInactiveTo);
  const int span = l.caption.right - l.caption.left;
  return span > 0 ? Mix(from, to, uint32_t((x - l.caption.left) * 256 / span)) : from;
}

void PaintCaptionButton(Canvas& c, HWND window, const FrameState& state, const FrameLayout& l, CaptionButton which) {
  const RECT& r = l.buttons[int(which)];
  if (Empty(r)) return;
  const Look& look = CurrentLook();
  const bool enabled = l.buttonEnabled[int(which)];
  const bool down = enabled && state.pressed == which && state.pressedInside;
  const bool hot = enabled && !down && state.hot == which && state.pressed == CaptionButton::kNone;
  const Colour under = CaptionColourAt(state, l, (r.left + r.right) / 2);
  const Colour text = look.colour(state.active ? skin::kCaptionTextActive : skin::kCaptionTextInactive);
  const bool close = which == CaptionButton::kClose;
  Colour glyph = enabled ? text : Mix(under, text, 100);
  if (down) {
    c.FillRounded(r, 2, close ? kClosePressed : Mix(under, text, 88));
    if (close) glyph = kWhite;
  } else if (hot) {
    c.FillRounded(r, 2, close ? kCloseHot : Mix(under, text, 48));
    if (close) glyph = kWhite;
  }

  const KeptImage* glyphs = look.image(skin::kCaptionGlyphs);
  if (!glyphs || glyphs->format != skin::kAlpha8) return;
  const int cell = int(glyphs->height);
  int index = close ? 0 : which == CaptionButton::kMinimise ? 3 : IsZoomed(window) ? 2 : 1;
  if (int(glyphs->width) < cell * (index + 1)) return;
  const int left = r.left + (r.right - r.left - cell) / 2, top = r.top + (r.bottom - r.top - cell) / 2;
  c.BlendMask(left, top, glyphs->pixels + index * cell, int(glyphs->width), cell, cell, glyph);
}

void PaintCaption(Canvas& c, HWND window, const FrameState& state, const FrameLayout& l) {
  const Look& look = CurrentLook();
  c.FillHorizontalGradient(l.caption, CaptionColourAt(state, l, l.caption.left),
                           look.colour(state.active ? skin::kCaptionActiveTo : skin::kCaptionInactiveTo));
  if (const KeptImage* gloss = look.image(skin::kCaptionGloss); gloss && gloss->format == skin::kAlpha8 && gloss->width)
    c.BlendRowGloss(l.caption, gloss->pixels, int(gloss->height));  // one pixel a row

  for (int b = 0; b < int(CaptionButton::kCount); ++b) PaintCaptionButton(c, window, state, l, CaptionButton(b));

  RECT text = l.title;
  if (!Empty(l.icon)) {
    if (state.icon)
      DrawIconEx(c.dc(), l.icon.left, l.icon.top, state.icon, l.icon.right - l.icon.left, l.icon.bottom - l.icon.top,
                 0, nullptr, DI_NORMAL);
    else
      text.left = l.icon.left + 2;  // no icon to show: the title takes its place
  }

  const char* title = state.title;
  const int length = state.titleLength;
  if (length <= 0) return;
  Selected font(c.dc(), look.captionFont());
  SetTextColor(c.dc(), look.colour(state.active ? skin::kCaptionTextActive : skin::kCaptionTextInactive));
  DrawTextA(c.dc(), title, length, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void PaintMenuBar(Canvas& c, HWND window, const FrameState& state, const FrameLayout& l) {
  const Look& look = CurrentLook();
  c.Fill(l.menuBar, look.colour(skin::kMenuBar));
  HMENU menu = GetMenu(window);
  const int count = menu ? GetMenuItemCount(menu) : 0;
  RECT frame;
  GetWindowRect(window, &frame);
  Selected font(c.dc(), look.menuFont());
  for (int i = 0; i < count; ++i) {
    char text[256];
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = sizeof text - 1;
    RECT r;
    if (!GetMenuItemInfoA(menu, i, TRUE, &item) || !GetMenuItemRect(window, menu, i, &r)) continue;
    if (item.fType & (MFT_OWNERDRAW | MFT_BITMAP | MFT_SEPARATOR)) continue;
    r = Offset(r, -frame.left, -frame.top);
    const bool disabled = item.fState & MFS_DISABLED;
    const bool lit = !disabled && (state.openMenuItem == i || (state.openMenuItem < 0 && state.hotMenuItem == i));
    Colour ink = look.colour(skin::kMenuBarText);
    if (lit) {
      c.FillRounded({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, 2, look.colour(skin::kMenuHighlight));
      ink = look.colour(skin::kMenuHighlightText);
    } else if (disabled) {
      ink = Mix(look.colour(skin::kMenuBar), ink, 110);
    }
    SetTextColor(c.dc(), ink);
    DrawTextA(c.dc(), text, int(item.cch), &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
}

// The parts of the window around its client area.
struct Bands {
  RECT band[4];
};

Bands BandsAround(const FrameLayout& l) {
  const int cx = l.window.cx, cy = l.window.cy;
  return {{{0, 0, cx, l.client.top},
           {0, l.client.bottom, cx, cy},
           {0, l.client.top, l.client.left, l.client.bottom},
           {l.client.right, l.client.top, cx, l.client.bottom}}};
}

void PaintBorder(Canvas& c, const FrameState& state, const FrameLayout& l) {
  const Look& look = CurrentLook();
  const Colour frame = look.colour(state.active ? skin::kFrameActive : skin::kFrameInactive);
  const RECT all = {0, 0, l.window.cx, l.window.cy};
  for (const RECT& band : BandsAround(l).band) c.Fill(band, frame);
  // A darker line around the outside gives the window a crisp edge on any
  // background.
  const Colour outline = Mix(frame, 0, 56);
  c.Fill({0, 0, all.right, 1}, outline);
  c.Fill({0, all.bottom - 1, all.right, all.bottom}, outline);
  c.Fill({0, 0, 1, all.bottom}, outline);
  c.Fill({all.right - 1, 0, all.right, all.bottom}, outline);
}

}  // namespace

void ReadFrame(HWND window, FrameState& state) {
  state.read = true;
  state.icon = SmallIcon(window);
  state.titleLength = GetWindowTextA(window, state.title, sizeof state.title);
}

POINT WindowPointFromScreen(HWND window, POINT screen) {
  RECT frame;
  GetWindowRect(window, &frame);
  return {screen.x - frame.left, screen.y - frame.top};
}

void MeasureFrame(HWND window, FrameLayout& l) {
  l = FrameLayout{};
  RECT frame, client;
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  l.window = {frame.right - frame.left, frame.bottom - frame.top};
  l.client = Offset(client, origin.x - frame.left, origin.y - frame.top);

  const LONG style = GetWindowLongA(window, GWL_STYLE), exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  const int edge = (exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0;
  const int border = l.client.left - edge > 0 ? l.client.left - edge : 0;
  int barBottom = l.client.top - edge;

  if (HMENU menu = GetMenu(window); menu && !(style & WS_CHILD)) {
    MENUBARINFO bar = {};
    bar.cbSize = sizeof bar;
    if (GetMenuBarInfo(window, OBJID_MENU, 0, &bar) && !Empty(bar.rcBar)) {
      l.menuBar = Offset(bar.rcBar, -frame.left, -frame.top);
      l.menuBar.left = border;
      l.menuBar.right = l.window.cx - border;
      l.menuBar.bottom = barBottom;
      barBottom = l.menuBar.top;
    }
  }
  if ((style & WS_CAPTION) != WS_CAPTION || barBottom - border < 8) return;
  l.hasCaption = true;
  l.caption = {border, border, l.window.cx - border, barBottom};
  MeasureButtons(window, style, exStyle, l);

  int titleLeft = l.caption.left + kTextGap;
  if ((style & WS_SYSMENU) && !(exStyle & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME))) {
    const int side = GetSystemMetrics(SM_CXSMICON);
    const int top = l.caption.top + (l.caption.bottom - l.caption.top - side) / 2;
    l.icon = {titleLeft - 2, top, titleLeft - 2 + side, top + side};
    titleLeft = l.icon.right + kTextGap;
  }
  int titleRight = l.caption.right - kTextGap;
  for (const RECT& b : l.buttons)
    if (!Empty(b) && b.left - kTextGap < titleRight) titleRight = b.left - kTextGap;
  l.title = {titleLeft, l.caption.top, titleRight, l.caption.bottom};
}

CaptionButton CaptionButtonAt(const FrameLayout& l, POINT point) {
  for (int b = 0; b < int(CaptionButton::kCount); ++b)
    if (PtInRect(&l.buttons[b], point)) return CaptionButton(b);
  return CaptionButton::kNone;
}

int MenuBarItemAt(HWND window, const FrameLayout& l, POINT point) {
  if (!PtInRect(&l.menuBar, point)) return -1;
  HMENU menu = GetMenu(window);
  const int count = menu ? GetMenuItemCount(menu) : 0;
  RECT frame;
  GetWindowRect(window, &frame);
  for (int i = 0; i < count; ++i) {
    RECT r;
    if (GetMenuItemRect(window, menu, i, &r) && PtInRect(&r, {point.x + frame.left, point.y + frame.top})) return i;
  }
  return -1;
}

void PaintFrame(HWND window, const FrameState& state, HDC target) {
  const Look& look = CurrentLook();
  if (!look.ready()) return;
  FrameLayout l;
  MeasureFrame(window, l);
  if (l.window.cx <= 0 || l.window.cy <= 0) return;
  // A band at a time, in a picture the size of the band: the caption and
  // menu bar all lie in the top one.
  Canvas& c = look.canvas();
  const Bands bands = BandsAround(l);
  for (int i = 0; i < 4; ++i) {
    const RECT& band = bands.band[i];
    if (Empty(band) || !c.Reserve(band.right - band.left, band.bottom - band.top)) continue;
    c.SetOrigin(band.left, band.top);
    PaintBorder(c, state, l);
    if (i == 0 && l.hasCaption) PaintCaption(c, window, state, l);
    if (i == 0 && !Empty(l.menuBar)) {
      if (look.skin().flags() & kLeaveMenus)
        DrawMenuBarTemp(window, c.dc(), &l.menuBar, GetMenu(window), nullptr);
      else
        PaintMenuBar(c, window, state, l);
    }
    c.CopyTo(target, band);
  }
}

void RepaintFrame(HWND window, FrameState& state) {
  if (!IsWindowVisible(window) || IsIconic(window)) return;
  if (!state.read) ReadFrame(window, state);
  if (HDC dc = GetWindowDC(window)) {
    PaintFrame(window, state, dc);
    ReleaseDC(window, dc);
  }
}

}  // namespace vorrik::engine
