#include "windows/kinds/label.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "shell/shell.h"
#include "windows/kinds/kind_gdi.h"
#include "windows/kinds/label_settings.h"

namespace vorrik::label {

const std::array<PropertyType, 29> kProperties = {
    kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeText,   kTypeBoolean, kTypeBoolean, kTypePointer,
    kTypeText,    // Title
    kTypeChoice,  // TextEffect
    kTypeChoice,  // BorderStyle
    kTypeInteger,  // FrameWidth
    kTypeColour, kTypeColour, kTypeColour,  // FrameColor1..3
    kTypeFont,
    kTypeColour,      // TextColor
    kTypeBackColour,  // BackColor
    kTypePicture,     // BackPicture
    kTypeChoice,      // PictureMode
    kTypeChoice,      // GradientMode
    kTypeColour, kTypeColour, kTypeColour,  // GradientColor1..3
    kTypeChoice,      // HAlign
    kTypeBoolean,     // WordWrap
    kTypeChoice,      // VAlign
    kTypeDataSource, kTypeDataColumn,
};

namespace {

constexpr char kClassName[] = "VorrikLabel";
constexpr uint32_t kNoClamp = 0xFFFFFFFF;
constexpr uint32_t kSmallestFrameWidth = 5;

// Own properties that are plain numbers, with the highest choice a write
// may store.
struct NumberProperty {
  int32_t index;
  uint32_t LabelSettings::*field;
  uint32_t highest;
};
constexpr NumberProperty kNumbers[] = {
    {kTextEffect, &LabelSettings::textEffect, 3},         {kBorderStyle, &LabelSettings::borderStyle, 6},
    {kFrameWidth, &LabelSettings::frameWidth, kNoClamp},  {kFrameColor1, &LabelSettings::frameColor1, kNoClamp},
    {kFrameColor2, &LabelSettings::frameColor2, kNoClamp}, {kFrameColor3, &LabelSettings::frameColor3, kNoClamp},
    {kTextColor, &LabelSettings::textColor, kNoClamp},    {kBackColor, &LabelSettings::backColor, kNoClamp},
    {kPictureMode, &LabelSettings::pictureMode, 2},       {kGradientMode, &LabelSettings::gradientMode, 8},
    {kGradientColor1, &LabelSettings::gradientColor1, kNoClamp},
    {kGradientColor2, &LabelSettings::gradientColor2, kNoClamp},
    {kGradientColor3, &LabelSettings::gradientColor3, kNoClamp},
    {kHAlign, &LabelSettings::hAlign, 2},                 {kWordWrap, &LabelSettings::wordWrap, kNoClamp},
    {kVAlign, &LabelSettings::vAlign, 2},
};

struct LabelState {
  ControlIdentity identity;
  LabelSettings settings;
  GdiObject<HFONT> font;
  KindPicture picture;
  std::vector<uint8_t> readBlock;  // the block GetProperty last handed out
};

LabelState* StateOf(HWND window) { return reinterpret_cast<LabelState*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// ----- painting -----

COLORREF Colour(uint32_t stored) { return stored == kDefaultColour ? GetSysColor(COLOR_BTNFACE) : stored; }
COLORREF TextColour(uint32_t stored) { return stored == kDefaultColour ? GetSysColor(COLOR_BTNTEXT) : stored; }

// The colours of a gradient in order, those meaning "no colour" left out.
std::vector<COLORREF> PresentColours(std::initializer_list<uint32_t> colours) {
  std::vector<COLORREF> present;
  for (uint32_t c : colours)
    if (c != kDefaultColour) present.push_back(c & 0xFFFFFF);
  return present;
}

// The colour at t (0 to 1) of a gradient through the colours in order.
COLORREF Blend(const std::vector<COLORREF>& colours, double t) {
  t = std::clamp(t, 0.0, 1.0) * static_cast<double>(colours.size() - 1);
  const size_t i = std::min(static_cast<size_t>(t), colours.size() - 2);
  const double f = t - static_cast<double>(i);
  auto channel = [&](int shift) {
    const double a = (colours[i] >> shift) & 0xFF, b = (colours[i + 1] >> shift) & 0xFF;
    return static_cast<COLORREF>(std::lround(a + (b - a) * f)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

// Where a pixel lies in each gradient style, 0 at the first colour and 1 at
// the last; u and v run from 0 to 1 across and down.
double GradientPosition(uint32_t mode, double u, double v) {
  switch (mode) {
    case 1: return u;                                      // left to right
    case 2: return v;                                      // top to bottom
    case 3: return 1 - std::fabs(2 * u - 1);               // sides to the vertical centre line
    case 4: return 1 - std::fabs(2 * v - 1);               // top and bottom to the horizontal centre line
    case 5: return (u + v) / 2;                            // top-left to bottom-right
    case 6: return (1 - u + v) / 2;                        // top-right to bottom-left
    case 7: return 1 - std::max(std::fabs(2 * u - 1), std::fabs(2 * v - 1));  // edges to centre, rectangular
    default: {                                             // corners to centre, elliptical
      const double x = 2 * u - 1, y = 2 * v - 1;
      return 1 - std::sqrt((x * x + y * y) / 2);
    }
  }
}

void FillGradient(HDC dc, const RECT& area, uint32_t mode, const std::vector<COLORREF>& colours) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  GdiObject<HBITMAP> bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return;
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    const double v = height > 1 ? static_cast<double>(y) / (height - 1) : 0;
    for (int x = 0; x < width; ++x) {
      const double u = width > 1 ? static_cast<double>(x) / (width - 1) : 0;
      const COLORREF c = Blend(colours, GradientPosition(mode, u, v));
      pixels[y * width + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);  // DIBs hold BGRX
    }
  }
  MemoryDc memory(dc);
  SelectGuard select(memory.get(), bitmap.get());
  BitBlt(dc, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

// Rings from the outer edge inwards, blending from the first colour to the last.
void PaintGradientFrame(HDC dc, const RECT& client, int width, const std::vector<COLORREF>& colours) {
  for (int ring = 0; ring < width; ++ring) {
    RECT r = client;
    InflateRect(&r, -ring, -ring);
    if (r.right <= r.left || r.bottom <= r.top) return;
    GdiObject<HBRUSH> brush(CreateSolidBrush(Blend(colours, width > 1 ? static_cast<double>(ring) / (width - 1) : 0)));
    FrameRect(dc, &r, brush.get());
  }
}

void DrawTitle(const LabelState& state, HDC dc, const RECT& area) {
  const LabelSettings& s = state.settings;
  if (s.title.empty()) return;
  static const UINT kHorizontal[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  static const UINT kVertical[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
  // No DT_NOPREFIX: "&" underlines the next character. Not clipped to the
  // drawing area, only to the window.
  UINT format = DT_NOCLIP | kHorizontal[std::min<uint32_t>(s.hAlign, 2)];
  format |= s.wordWrap ? DT_WORDBREAK | DT_TOP : DT_SINGLELINE | kVertical[std::min<uint32_t>(s.vAlign, 2)];
  SavedDcState saved(dc);
  SelectGuard font(dc, FontOrDefault(state.font));
  SetBkMode(dc, TRANSPARENT);
  auto draw = [&](COLORREF colour, int shift) {
    RECT r = area;
    OffsetRect(&r, shift, shift);
    SetTextColor(dc, colour);
    DrawTextA(dc, s.title.data(), static_cast<int>(s.title.size()), &r, format);
  };
  const COLORREF text = TextColour(s.textColor);
  switch (s.textEffect) {
    case 1:  // raised
      draw(RGB(255, 255, 255), 1);
      draw(text, 0);
      break;
    case 2:  // sunken
      draw(RGB(255, 255, 255), 0);
      draw(text, 1);
      break;
    case 3:  // shadowed
      draw(RGB(0, 0, 0), 2);
      draw(text, 0);
      break;
    default:
      draw(text, 0);
  }
}

// ----- window -----

std::pair<DWORD, DWORD> EdgeStyles(uint32_t borderStyle) {
  switch (borderStyle) {
    case 1: return {0, WS_EX_CLIENTEDGE};
    case 2: return {0, WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE};
    case 3: return {0, WS_EX_STATICEDGE};
    case 4: return {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE};
    case 5: return {WS_BORDER, 0};
    default: return {0, 0};  // 6 paints its own frame
  }
}

void ApplyEdges(HWND window, uint32_t borderStyle) {
  constexpr DWORD kEdgeStyle = WS_BORDER;
  constexpr DWORD kEdgeExStyle = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE;
  const auto [style, exStyle] = EdgeStyles(borderStyle);
  SetWindowLongA(window, GWL_STYLE, (GetWindowLongA(window, GWL_STYLE) & ~kEdgeStyle) | style);
  SetWindowLongA(window, GWL_EXSTYLE, (GetWindowLongA(window, GWL_EXSTYLE) & ~kEdgeExStyle) | exStyle);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam) {
  auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
  auto* holder = static_cast<std::unique_ptr<LabelState>*>(create->lpCreateParams);
  // From here the window owns its state; WM_NCDESTROY frees it.
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(holder->release()));
  return DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
}

LRESULT OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
  std::unique_ptr<LabelState> state(StateOf(window));
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  NoteControlDestroyed(state->identity.windowId, state->identity.controlId);
  return DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
}

LRESULT OnPaint(HWND window) {
  PaintDc paint(window);
  RECT client;
  GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0) return 0;
  // Drawn off-screen first: the clock label repaints every second without
  // erasing, and must not flicker.
  MemoryDc memory(paint.get());
  GdiObject<HBITMAP> buffer(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
  SelectGuard select(memory.get(), buffer.get());
  Paint(window, memory.get(), client);
  const RECT& dirty = paint.Dirty();
  BitBlt(paint.get(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, memory.get(),
         dirty.left, dirty.top, SRCCOPY);
  return 0;
}

LRESULT OnPrintClient(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  Paint(window, dc, client);
  return 0;
}

LRESULT CopyCaption(const LabelState& state, char* buffer, WPARAM capacity) {
  if (!buffer || capacity == 0) return 0;
  const std::string& title = state.settings.title;
  const size_t count = title.size() < capacity - 1 ? title.size() : capacity - 1;
  std::memcpy(buffer, title.data(), count);
  buffer[count] = '\0';
  return static_cast<LRESULT>(count);
}

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return OnNcCreate(window, wParam, lParam);
  if (!StateOf(window)) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: return OnPaint(window);
    case WM_PRINTCLIENT: return OnPrintClient(window, reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND: return 1;  // painting covers the whole client area
    // The caption is answered from its own bytes: the system's copy went
    // through a conversion that does not keep bytes that are not valid GBK.
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(StateOf(window)->settings.title.size());
    case WM_GETTEXT: return CopyCaption(*StateOf(window), reinterpret_cast<char*>(lParam), wParam);
    case WM_NCDESTROY: return OnNcDestroy(window, wParam, lParam);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}


// Copies a text value; null is the empty text.
}  // namespace

void Paint(HWND control, HDC dc, RECT client) {
  const LabelState* state = StateOf(control);
  if (!state) return;
  const LabelSettings& s = state->settings;
  GdiObject<HBRUSH> back(CreateSolidBrush(Colour(s.backColor)));
  FillRect(dc, &client, back.get());

  RECT area = client;
  if (s.borderStyle == 6 && s.frameWidth > 0) {
    const auto colours = PresentColours({s.frameColor1, s.frameColor2, s.frameColor3});
    if (colours.size() >= 2) {
      const int width = static_cast<int>(std::min<uint32_t>(s.frameWidth, 0x7FFF));
      PaintGradientFrame(dc, client, width, colours);
      InflateRect(&area, -width, -width);
    }
  }
  if (!state->picture.Empty()) {
    // The label knows three placements; a stored value above them centres.
    DrawPlacedPicture(dc, area, state->picture, static_cast<Placement>(std::min<uint32_t>(s.pictureMode, 2)));
  } else if (s.gradientMode >= 1 && s.gradientMode <= 8) {
    const auto colours = PresentColours({s.gradientColor1, s.gradientColor2, s.gradientColor3});
    if (colours.size() >= 2) FillGradient(dc, area, s.gradientMode, colours);
  }
  DrawTitle(*state, dc, area);
}

HWND Create(const CreateArguments& args) {
  auto settings = DecodeLabelSettings(args.settings);
  if (!settings || !RegisterKindClass(kClassName, LabelProc)) return nullptr;
  auto state = std::make_unique<LabelState>();
  state->identity = {args.windowId, args.controlId};
  state->font = CreateKindFont(settings->font);
  state->picture = KindPicture::Decode(settings->backPicture);
  state->settings = std::move(*settings);
  const auto [edgeStyle, edgeExStyle] = EdgeStyles(state->settings.borderStyle);
  const std::string title = state->settings.title;
  return CreateWindowExA(edgeExStyle, kClassName, title.c_str(), WS_CHILD | WS_CLIPSIBLINGS | edgeStyle | args.style,
                         args.left, args.top, args.width, args.height, args.parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.childNumber)), GetModuleHandleA(nullptr),
                         &state);
}

bool SetProperty(HWND control, int32_t ownIndex, uint32_t value) {
  LabelState* state = StateOf(control);
  if (!state) return false;
  LabelSettings& s = state->settings;
  switch (ownIndex) {
    case kTitle:
      s.title = TextOfValue(value);
      SetWindowTextA(control, s.title.c_str());
      break;
    case kFont:
      s.font = FontOfBuffer(static_cast<ConstByteBuffer>(PointerOf(value)));
      state->font = CreateKindFont(s.font);
      break;
    case kBackPicture:
      s.backPicture = BytesOfBuffer(static_cast<ConstByteBuffer>(PointerOf(value)));
      state->picture = KindPicture::Decode(s.backPicture);
      break;
    case kDataSource: s.dataSource = TextOfValue(value); break;
    case kDataColumn: s.dataColumn = TextOfValue(value); break;
    case kFrameWidth:
      s.frameWidth = static_cast<int32_t>(value) < static_cast<int32_t>(kSmallestFrameWidth) ? kSmallestFrameWidth : value;
      break;
    default: {
      auto number = std::find_if(std::begin(kNumbers), std::end(kNumbers),
                                 [&](const NumberProperty& p) { return p.index == ownIndex; });
      if (number == std::end(kNumbers)) return false;
      s.*number->field = number->highest == kNoClamp ? value : ClampChoice(value, number->highest);
      if (ownIndex == kBorderStyle) ApplyEdges(control, s.borderStyle);
    }
  }
  // No erase: the double-buffered paint covers everything, without flicker.
  InvalidateRect(control, nullptr, FALSE);
  return false;
}

uint32_t GetProperty(HWND control, int32_t ownIndex) {
  LabelState* state = StateOf(control);
  if (!state) return 0;
  const LabelSettings& s = state->settings;
  switch (ownIndex) {
    case kTitle: return ValueOf(s.title.c_str());
    case kDataSource: return ValueOf(s.dataSource.c_str());
    case kDataColumn: return ValueOf(s.dataColumn.c_str());
    case kFont:
      state->readBlock = BufferOfFont(s.font);
      return ValueOf(state->readBlock.data());
    case kBackPicture:
      state->readBlock = BufferOfBytes(s.backPicture);
      return ValueOf(state->readBlock.data());
  }
  for (const auto& number : kNumbers)
    if (number.index == ownIndex) return s.*number.field;
  return 0;
}

std::vector<uint8_t> SaveSettings(HWND control) {
  LabelState* state = StateOf(control);
  return state ? EncodeLabelSettings(state->settings) : std::vector<uint8_t>{};
}

}  // namespace vorrik::label
