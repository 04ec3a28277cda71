// An off-screen 32-bit picture that the engine paints into before one blit
// to the screen, so that nothing is ever seen half drawn. Fills and blends
// write the pixels directly; text goes through the memory DC.
#pragma once
#include <windows.h>

#include <cstdint>

namespace vorrik::engine {

// 0x00BBGGRR, as the skin stores colours.
using Colour = uint32_t;

Colour Mix(Colour from, Colour to, uint32_t toParts256);
// WCAG contrast ratio between two colours, times 100.
uint32_t ContrastTimes100(Colour a, Colour b);

class Canvas {
 public:
  Canvas() = default;
  ~Canvas() { Release(); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Makes the picture at least width x height, its top-left corner at
  // (0, 0); false when GDI refuses.
  bool Reserve(int width, int height);
  // Puts the picture's top-left corner at (x, y): everything drawn after
  // is given in those coordinates, and what falls outside is dropped. A
  // window's frame is painted a band at a time this way, in a picture the
  // size of the band.
  void SetOrigin(int x, int y);
  void Release();

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void Fill(const RECT& r, Colour colour);
  // Left to right from one colour to the other.
  void FillHorizontalGradient(const RECT& r, Colour from, Colour to);
  // Rounded corners with a smoothed edge; the corners outside take nothing.
  void FillRounded(const RECT& r, int radius, Colour colour);
  // Only the one-pixel outline of such a shape.
  void StrokeRounded(const RECT& r, int radius, Colour colour);
  // A one-pixel outline with the same corners, filled inside.
  void FillRoundedWithBorder(const RECT& r, int radius, Colour border, Colour inside);
  // Puts colour over the pixels by a coverage mask (0 to 255 a pixel),
  // scaled by opacity (0 to 256).
  void BlendMask(int left, int top, const uint8_t* mask, int maskStride, int width, int height, Colour colour,
                 uint32_t opacity = 256);
  // White over each row of r, by one coverage value a row, stretched from
  // the given count of rows to r's height.
  void BlendRowGloss(const RECT& r, const uint8_t* rows, int rowCount);
  Colour Pixel(int x, int y) const;

  // Copies the part r of the picture to the same place in the target
  // (both in the picture's coordinates).
  void CopyTo(HDC target, const RECT& r) const;

 private:
  // From the picture's coordinates to its pixel rows, cut to its size.
  void Clip(RECT& r) const;
  void Put(int x, int y, Colour colour, uint32_t coverage256);

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* pixels_ = nullptr;  // top-down, 0x00RRGGBB
  int width_ = 0, height_ = 0;
  int originX_ = 0, originY_ = 0;
};

}  // namespace vorrik::engine
