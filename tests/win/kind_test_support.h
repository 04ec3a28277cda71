// Pieces the control kinds' tests share: a top-level window standing in for
// the window kind, and property values as the shell hands them over.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "windows/kinds/kind.h"

namespace vorrik::test {

// A plain window that reflects its children's WM_COMMAND and colour
// queries back to them, as the window kind does. Shown, so that controls
// paint and take the focus.
class ReflectingWindow {
 public:
  ReflectingWindow(int width = 480, int height = 360);
  ~ReflectingWindow();
  ReflectingWindow(const ReflectingWindow&) = delete;
  ReflectingWindow& operator=(const ReflectingWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

CreateArguments ArgumentsFor(std::span<const uint8_t> settings, HWND parent, RECT place, uint32_t windowId = 0,
                             uint32_t controlId = 0);

// A Text or ByteBuffer value as SetProperty takes it, and back.
inline uint32_t TextValue(const char* text) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)); }
inline std::string TextOfValue(uint32_t value) {
  auto* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(value));
  return text ? text : "<null>";
}
inline uint32_t BlockValue(const std::vector<uint8_t>& block) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block.data()));
}
std::vector<uint8_t> BytesOfValue(uint32_t value);

// Picture files as a stored block holds them: a 24-bit BMP whose pixel
// (x, y) has the colour given, and an icon file with one 32-bit image of
// one colour, opaque in its columns left of opaqueWidth and clear after.
std::vector<uint8_t> BmpFile(int width, int height, const std::function<COLORREF(int x, int y)>& colourAt);
std::vector<uint8_t> IconFile(int size, COLORREF colour, int opaqueWidth);

// Takes the queued messages.
void PumpMessages();

// The pixel at (x, y) of what the control paints for WM_PRINTCLIENT.
class PrintedControl {
 public:
  explicit PrintedControl(HWND control);
  ~PrintedControl();
  PrintedControl(const PrintedControl&) = delete;
  PrintedControl& operator=(const PrintedControl&) = delete;
  COLORREF At(int x, int y) const;
  int width() const { return width_; }
  int height() const { return height_; }
  int Count(COLORREF colour) const;

 private:
  int width_ = 0, height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  const uint32_t* pixels_ = nullptr;
};

}  // namespace vorrik::test
