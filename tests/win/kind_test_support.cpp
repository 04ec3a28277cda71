#include "tests/win/kind_test_support.h"

#include <cstdio>
#include <cstring>

namespace vorrik::test {
namespace {

constexpr char kClassName[] = "VorrikReflectingTestWindow";

LRESULT CALLBACK ReflectingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) return SendMessageA(reinterpret_cast<HWND>(lParam), kReflectedCommand, wParam, lParam);
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (LRESULT brush = SendMessageA(reinterpret_cast<HWND>(lParam), kReflectedColour, wParam, message))
        return brush;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

ReflectingWindow::ReflectingWindow(int width, int height) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ReflectingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  window_ = CreateWindowExA(WS_EX_TOPMOST, kClassName, "kinds", WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | WS_VISIBLE,
                            0, 0, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  PumpMessages();
}

ReflectingWindow::~ReflectingWindow() {
  DestroyWindow(window_);
  PumpMessages();
}

CreateArguments ArgumentsFor(std::span<const uint8_t> settings, HWND parent, RECT place, uint32_t windowId,
                             uint32_t controlId) {
  CreateArguments args;
  args.settings = settings;
  args.parent = parent;
  args.childNumber = 100;
  args.left = place.left;
  args.top = place.top;
  args.width = place.right - place.left;
  args.height = place.bottom - place.top;
  args.windowId = windowId;
  args.controlId = controlId;
  return args;
}

std::vector<uint8_t> BytesOfValue(uint32_t value) {
  auto* block = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(value));
  if (!block) return {};
  uint32_t length = 0;
  std::memcpy(&length, block + 4, 4);
  return std::vector<uint8_t>(block + 8, block + 8 + length);
}

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageBytes) {
  PutLe(out, 40, 4);
  PutLe(out, static_cast<uint32_t>(width), 4);
  PutLe(out, static_cast<uint32_t>(height), 4);
  PutLe(out, 1, 2);
  PutLe(out, static_cast<uint32_t>(bits), 2);
  PutLe(out, BI_RGB, 4);
  PutLe(out, imageBytes, 4);
  PutLe(out, 0, 16);  // resolution and palette counts
}

}  // namespace

std::vector<uint8_t> BmpFile(int width, int height, const std::function<COLORREF(int x, int y)>& colourAt) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = stride * static_cast<uint32_t>(height);
  std::vector<uint8_t> out{'B', 'M'};
  PutLe(out, 54 + imageBytes, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutInfoHeader(out, width, height, 24, imageBytes);
  for (int y = height - 1; y >= 0; --y) {  // bottom-up
    const size_t rowStart = out.size();
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colourAt(x, y);
      out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
    }
    out.resize(rowStart + stride, 0);
  }
  return out;
}

std::vector<uint8_t> IconFile(int size, COLORREF colour, int opaqueWidth) {
  const uint32_t colourBytes = static_cast<uint32_t>(size * size * 4);
  const uint32_t maskStride = (static_cast<uint32_t>(size) + 31) / 32 * 4;
  const uint32_t maskBytes = maskStride * static_cast<uint32_t>(size);
  std::vector<uint8_t> out;
  PutLe(out, 0, 2);  // reserved
  PutLe(out, 1, 2);  // an icon
  PutLe(out, 1, 2);  // one image
  out.insert(out.end(), {static_cast<uint8_t>(size), static_cast<uint8_t>(size), 0, 0});
  PutLe(out, 1, 2);   // planes
  PutLe(out, 32, 2);  // bits
  PutLe(out, 40 + colourBytes + maskBytes, 4);
  PutLe(out, 22, 4);
  PutInfoHeader(out, size, size * 2, 32, colourBytes + maskBytes);  // colour and mask, stacked
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool opaque = x < opaqueWidth;
      const COLORREF c = opaque ? colour : 0;
      out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c), static_cast<uint8_t>(opaque ? 255 : 0)});
    }
  }
  for (int y = 0; y < size; ++y) {  // mask bits set where the image is clear
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = opaqueWidth; x < size; ++x) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

void PumpMessages() {
  // Bounded: a window left behind by another test may keep asking to paint.
  MSG message;
  for (int taken = 0; taken < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++taken) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

PrintedControl::PrintedControl(HWND control) {
  RECT client;
  GetClientRect(control, &client);
  width_ = client.right;
  height_ = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  previous_ = SelectObject(dc_, bitmap_);
  pixels_ = static_cast<const uint32_t*>(bits);
  SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
  GdiFlush();
}

PrintedControl::~PrintedControl() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF PrintedControl::At(int x, int y) const {
  const uint32_t bgrx = pixels_[y * width_ + x];
  return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
}

int PrintedControl::Count(COLORREF colour) const {
  int count = 0;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) count += At(x, y) == colour;
  return count;
}

}  // namespace vorrik::test
