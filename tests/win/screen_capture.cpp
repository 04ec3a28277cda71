#include "tests/win/screen_capture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vorrik::test {
namespace {

BITMAPINFO Info(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  return info;
}

}  // namespace

ScreenCapture::ScreenCapture(RECT screen) {
  width_ = screen.right - screen.left;
  height_ = screen.bottom - screen.top;
  if (width_ <= 0 || height_ <= 0) {
    width_ = height_ = 0;
    return;
  }
  pixels_.resize(static_cast<size_t>(width_) * height_);
  HDC desktop = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(desktop);
  BITMAPINFO info = Info(width_, height_);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, desktop, screen.left, screen.top, SRCCOPY);
  GdiFlush();
  std::memcpy(pixels_.data(), bits, pixels_.size() * 4);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, desktop);
}

ScreenCapture ScreenCapture::Client(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return ScreenCapture(client);
}

ScreenCapture ScreenCapture::Whole(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  return ScreenCapture(frame);
}

COLORREF ScreenCapture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const uint32_t bgrx = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
}

int ScreenCapture::Count(RECT area, COLORREF colour) const {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) count += At(x, y) == colour;
  return count;
}

bool ScreenCapture::SaveBmp(const std::string& path) const {
  BITMAPINFO info = Info(width_, height_);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels_.size() * 4);
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
  std::fwrite(pixels_.data(), 4, pixels_.size(), out);
  return std::fclose(out) == 0;
}

std::string ScreenshotPath(const char* name) {
  std::string dir = VORRIK_WIN_SCREENSHOT_DIR;
  if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;  // a Unix path, through Wine's root drive
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "/" + name;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

}  // namespace vorrik::test
