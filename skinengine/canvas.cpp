#include "skinengine/canvas.h"

#include <math.h>

namespace vorrik::engine {
namespace {

uint32_t ToPixel(Colour c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
Colour FromPixel(uint32_t p) { return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF); }

uint32_t MixChannel(uint32_t a, uint32_t b, uint32_t parts) { return (a * (256 - parts) + b * parts) >> 8; }

// Linear light of an sRGB channel, times 10000, from a table made once.
uint32_t Linear(uint32_t channel) {
  static uint16_t table[256];
  static bool ready = false;
  if (!ready) {
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      const double linear = c <= 0.04045 ? c / 12.92 : pow((c + 0.055) / 1.055, 2.4);
      table[i] = static_cast<uint16_t>(linear * 10000 + 0.5);
    }
    ready = true;
  }
  return table[channel];
}

uint32_t Luminance(Colour c) {
  return (2126 * Linear(c & 0xFF) + 7152 * Linear(c >> 8 & 0xFF) + 722 * Linear(c >> 16 & 0xFF)) / 10000;
}

}  // namespace

Colour Mix(Colour from, Colour to, uint32_t parts) {
  return MixChannel(from & 0xFF, to & 0xFF, parts) | MixChannel(from >> 8 & 0xFF, to >> 8 & 0xFF, parts) << 8 |
         MixChannel(from >> 16 & 0xFF, to >> 16 & 0xFF, parts) << 16;
}

uint32_t ContrastTimes100(Colour a, Colour b) {
  uint32_t la = Luminance(a) + 500, lb = Luminance(b) + 500;
  if (la < lb) {
    const uint32_t t = la;
    la = lb;
    lb = t;
  }
  return la * 100 / lb;
}

bool Canvas::Reserve(int width, int height) {
  SetOrigin(0, 0);
  if (width <= width_ && height <= height_ && dc_) return true;
  if (width < width_) width = width_;
  if (height < height_) height = height_;
  Release();
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = dc_ ? CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (!bitmap_) {
    Release();
    return false;
  }
  previous_ = SelectObject(dc_, bitmap_);
  pixels_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  SetBkMode(dc_, TRANSPARENT);
  return true;
}

void Canvas::SetOrigin(int x, int y) {
  originX_ = x;
  originY_ = y;
  if (dc_) SetViewportOrgEx(dc_, -x, -y, nullptr);
}

void Canvas::Release() {
  if (dc_ && previous_) SelectObject(dc_, previous_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  previous_ = nullptr;
  pixels_ = nullptr;
  width_ = height_ = 0;
  originX_ = originY_ = 0;
}

void Canvas::Clip(RECT& r) const {
  OffsetRect(&r, -originX_, -originY_);
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  if (r.right > width_) r.right = width_;
  if (r.bottom > height_) r.bottom = height_;
}

void Canvas::Put(int x, int y, Colour colour, uint32_t coverage) {
  x -= originX_;
  y -= originY_;
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage == 0) return;
  uint32_t& p = pixels_[y * width_ + x];
  p = coverage >= 256 ? ToPixel(colour) : ToPixel(Mix(FromPixel(p), colour, coverage));
}

void Canvas::Fill(const RECT& area, Colour colour) {
  RECT r = area;
  Clip(r);
  GdiFlush();
  const uint32_t p = ToPixel(colour);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels_[y * width_ + x] = p;
}

void Canvas::FillHorizontalGradient(const RECT& area, Colour from, Colour to) {
  RECT r = area;
  const int span = area.right - area.left;
  Clip(r);
  if (span <= 0) return;
  GdiFlush();
  for (int x = r.left; x < r.right; ++x) {
    const uint32_t p = ToPixel(Mix(from, to, uint32_t((x + originX_ - area.left) * 256 / span)));
    for (int y = r.top; y < r.bottom; ++y) pixels_[y * width_ + x] = p;
  }
}

void Canvas::FillRounded(const RECT& r, int radius, Colour colour) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  if (radius * 2 > w) radius = w / 2;
  if (radius * 2 > h) radius = h / 2;
  if (radius <= 0) return Fill(r, colour);
  // The straight middle at once; only the four corner squares pixel by pixel.
  Fill({r.left, r.top + radius, r.right, r.bottom - radius}, colour);
  Fill({r.left + radius, r.top, r.right - radius, r.top + radius}, colour);
  Fill({r.left + radius, r.bottom - radius, r.right - radius, r.bottom}, colour);
  for (int dy = 0; dy < radius; ++dy)
    for (int dx = 0; dx < radius; ++dx) {
      // Distance of the pixel's centre from the corner circle's centre.
      const float fx = radius - dx - 0.5f, fy = radius - dy - 0.5f;
      const float inside = radius - __builtin_sqrtf(fx * fx + fy * fy) + 0.5f;
      if (inside <= 0) continue;
      const uint32_t coverage = inside >= 1 ? 256 : uint32_t(inside * 256);
      Put(r.left + dx, r.top + dy, colour, coverage);
      Put(r.right - 1 - dx, r.top + dy, colour, coverage);
      Put(r.left + dx, r.bottom - 1 - dy, colour, coverage);
      Put(r.right - 1 - dx, r.bottom - 1 - dy, colour, coverage);
    }
}

void Canvas::StrokeRounded(const RECT& r, int radius, Colour colour) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  if (radius * 2 > w) radius = w / 2;
  if (radius * 2 > h) radius = h / 2;
  Fill({r.left + radius, r.top, r.right - radius, r.top + 1}, colour);
  Fill({r.left + radius, r.bottom - 1, r.right - radius, r.bottom}, colour);
  Fill({r.left, r.top + radius, r.left + 1, r.bottom - radius}, colour);
  Fill({r.right - 1, r.top + radius, r.right, r.bottom - radius}, colour);
  for (int dy = 0; dy < radius; ++dy)
    for (int dx = 0; dx < radius; ++dx) {
      // How near the pixel's centre lies to the arc through the edge pixels' centres.
      const float fx = radius - dx - 0.5f, fy = radius - dy - 0.5f;
      const float off = __builtin_sqrtf(fx * fx + fy * fy) - (radius - 0.5f);
      const float closeness = 1 - (off < 0 ? -off : off);
      if (closeness <= 0) continue;
      const uint32_t coverage = uint32_t(closeness * 256);
      Put(r.left + dx, r.top + dy, colour, coverage);
      Put(r.right - 1 - dx, r.top + dy, colour, coverage);
      Put(r.left + dx, r.bottom - 1 - dy, colour, coverage);
      Put(r.right - 1 - dx, r.bottom - 1 - dy, colour, coverage);
    }
}

void Canvas::FillRoundedWithBorder(const RECT& r, int radius, Colour border, Colour inside) {
  FillRounded(r, radius, border);
  const RECT inner = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  FillRounded(inner, radius > 1 ? radius - 1 : 0, inside);
}

void Canvas::BlendMask(int left, int top, const uint8_t* mask, int stride, int width, int height, Colour colour,
                       uint32_t opacity) {
  GdiFlush();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t coverage = mask[y * stride + x] * opacity / 255;
      Put(left + x, top + y, colour, coverage);
    }
}

void Canvas::BlendRowGloss(const RECT& area, const uint8_t* rows, int rowCount) {
  RECT r = area;
  const int h = area.bottom - area.top;
  Clip(r);
  if (h <= 0 || rowCount <= 0) return;
  GdiFlush();
  for (int y = r.top; y < r.bottom; ++y) {
    const uint32_t coverage = rows[(y + originY_ - area.top) * rowCount / h];
    for (int x = r.left; x < r.right; ++x) Put(x + originX_, y + originY_, 0xFFFFFF, coverage);
  }
}

Colour Canvas::Pixel(int x, int y) const {
  x -= originX_;
  y -= originY_;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return FromPixel(pixels_[y * width_ + x]);
}

void Canvas::CopyTo(HDC target, const RECT& r) const {
  BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, dc_, r.left, r.top, SRCCOPY);
}

}  // namespace vorrik::engine
