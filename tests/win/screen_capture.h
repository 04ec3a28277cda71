// Pixels as the screen shows them, for tests that look at what was drawn,
// and the folder where such tests leave their pictures for people.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vorrik::test {

class ScreenCapture {
 public:
  // The part of the screen in screen coordinates.
  explicit ScreenCapture(RECT screen);
  // A window's client area.
  static ScreenCapture Client(HWND window);
  // A whole window, frame and all.
  static ScreenCapture Whole(HWND window);

  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF At(int x, int y) const;
  int Count(RECT area, COLORREF colour) const;
  // Top-down rows of 0x00RRGGBB.
  const std::vector<uint32_t>& pixels() const { return pixels_; }
  bool SaveBmp(const std::string& path) const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;
};

// A file name in build/screenshots/, made when missing.
std::string ScreenshotPath(const char* name);

// Channels of two colours differ by at most the tolerance.
bool Near(COLORREF a, COLORREF b, int tolerance = 2);

}  // namespace vorrik::test
