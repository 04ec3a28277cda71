#include "skin/skin_artwork.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace vorrik::skin {
namespace {

struct Point {
  double x, y;
};
struct Segment {
  Point from, to;
};

double DistanceToSegment(Point p, Segment s) {
  const double dx = s.to.x - s.from.x, dy = s.to.y - s.from.y;
  const double lengthSquared = dx * dx + dy * dy;
  double t = lengthSquared > 0 ? ((p.x - s.from.x) * dx + (p.y - s.from.y) * dy) / lengthSquared : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (s.from.x + t * dx), p.y - (s.from.y + t * dy));
}

std::vector<Segment> Outline(Point topLeft, Point bottomRight) {
  const Point topRight{bottomRight.x, topLeft.y}, bottomLeft{topLeft.x, bottomRight.y};
  return {{topLeft, topRight}, {topRight, bottomRight}, {bottomRight, bottomLeft}, {bottomLeft, topLeft}};
}

bool OnStroke(Point p, const std::vector<Segment>& segments, double halfWidth) {
  return std::any_of(segments.begin(), segments.end(),
                     [&](const Segment& s) { return DistanceToSegment(p, s) <= halfWidth; });
}

bool Inside(Point p, Point topLeft, Point bottomRight) {
  return p.x > topLeft.x && p.x < bottomRight.x && p.y > topLeft.y && p.y < bottomRight.y;
}

// Coverage of one cell by a shape, sampled 4 x 4 a pixel.
void Rasterise(OwnedImage& image, int cellIndex, int cell, const std::function<bool(Point)>& covers) {
  constexpr int kSamples = 4;
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
          hits += covers({x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples});
      image.pixels[size_t(y) * image.width + cellIndex * cell + x] =
          static_cast<uint8_t>(hits * 255 / (kSamples * kSamples));
    }
}

}  // namespace

OwnedImage DrawCaptionGlyphs(GlyphStyle style, int buttonWidth, int buttonHeight) {
  const int cell = std::max(7, std::min(buttonWidth, buttonHeight) * 2 / 3);
  const double stroke = style == GlyphStyle::kBold ? 2.0 : 1.0;
  const double half = stroke / 2;
  // Stroke centres: a full pixel (or two) lies on each edge line, so the
  // straight strokes come out crisp.
  const double margin = std::round(cell * 0.2);
  const double a = margin + half, b = cell - margin - half;

  OwnedImage image{kCaptionGlyphs, kAlpha8, uint32_t(cell * kCaptionGlyphCount), uint32_t(cell), {}};
  image.pixels.assign(size_t(image.width) * image.height, 0);

  const std::vector<Segment> close = {{{a, a}, {b, b}}, {{b, a}, {a, b}}};
  Rasterise(image, 0, cell, [&](Point p) { return OnStroke(p, close, half); });

  std::vector<Segment> maximise = Outline({a, a}, {b, b});
  maximise.push_back({{a, a + stroke}, {b, a + stroke}});  // the window's title bar
  Rasterise(image, 1, cell, [&](Point p) { return OnStroke(p, maximise, half); });

  // Restore: a window in front of another, which shows only where the front
  // one does not cover it.
  const double shift = std::round((b - a) / 3);
  const Point frontTopLeft{a, a + shift}, frontBottomRight{b - shift, b};
  const std::vector<Segment> back = Outline({a + shift, a}, {b, b - shift});
  const std::vector<Segment> front = Outline(frontTopLeft, frontBottomRight);
  Rasterise(image, 2, cell, [&](Point p) {
    const bool hiddenBack = Inside(p, {frontTopLeft.x - half, frontTopLeft.y - half},
                                   {frontBottomRight.x + half, frontBottomRight.y + half});
    return OnStroke(p, front, half) || (!hiddenBack && OnStroke(p, back, half));
  });

  const std::vector<Segment> minimise = {{{a, b}, {b, b}}};
  Rasterise(image, 3, cell, [&](Point p) { return OnStroke(p, minimise, half); });
  return image;
}

OwnedImage DrawCaptionGloss(int percent, int captionHeight) {
  OwnedImage image{kCaptionGloss, kAlpha8, 1, uint32_t(captionHeight), {}};
  const double top = percent * 255 / 100;
  const double fadeRows = captionHeight / 2.0;
  for (int y = 0; y < captionHeight; ++y) {
    const double alpha = y < fadeRows ? top * (1.0 - 0.5 * y / fadeRows) : 0.0;
    image.pixels.push_back(static_cast<uint8_t>(alpha));
  }
  return image;
}

}  // namespace vorrik::skin
