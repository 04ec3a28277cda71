#include "windows/kinds/window_shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vorrik {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct UnitPoint {
  double x, y;  // 0..1 across the window
};

HRGN Polygon(const std::vector<UnitPoint>& points, int width, int height) {
  std::vector<POINT> scaled;
  for (const auto& p : points)
    scaled.push_back({static_cast<LONG>(std::lround(p.x * width)), static_cast<LONG>(std::lround(p.y * height))});
  return CreatePolygonRgn(scaled.data(), static_cast<int>(scaled.size()), WINDING);
}

// Stretches points so that they touch every side of the unit square: a
// regular polygon inscribed in a circle would leave uneven margins (a
// pentagon's base sits well above the bottom), cutting away window area
// for nothing.
std::vector<UnitPoint> FillUnitSquare(std::vector<UnitPoint> points) {
  double left = 1, top = 1, right = 0, bottom = 0;
  for (const auto& p : points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  for (auto& p : points) p = {(p.x - left) / (right - left), (p.y - top) / (bottom - top)};
  return points;
}

// A regular polygon, or a star when inner is below 1, filling the unit square.
std::vector<UnitPoint> Regular(int corners, double inner = 1.0, double turn = -kPi / 2) {
  std::vector<UnitPoint> points;
  const int steps = inner < 1.0 ? corners * 2 : corners;
  for (int i = 0; i < steps; ++i) {
    const double radius = (inner < 1.0 && i % 2) ? inner * 0.5 : 0.5;
    const double angle = turn + 2 * kPi * i / steps;
    points.push_back({0.5 + radius * std::cos(angle), 0.5 + radius * std::sin(angle)});
  }
  return FillUnitSquare(std::move(points));
}

HRGN RoundRect(int width, int height, double share) {
  const int smaller = width < height ? width : height;
  const int round = static_cast<int>(smaller * share);
  return CreateRoundRectRgn(0, 0, width + 1, height + 1, round, round);
}

// Rounded top corners only, like a tab.
HRGN TabShape(int width, int height) {
  const int round = (width < height ? width : height) / 4;
  HRGN top = CreateRoundRectRgn(0, 0, width + 1, height / 2 + round, round, round);
  HRGN bottom = CreateRectRgn(0, height / 2, width, height);
  CombineRgn(top, top, bottom, RGN_OR);
  DeleteObject(bottom);
  return top;
}

// A rounded body with a small tail at the bottom left.
HRGN SpeechBubble(int width, int height) {
  const int body = height * 4 / 5;
  const int round = (width < body ? width : body) / 4;
  HRGN bubble = CreateRoundRectRgn(0, 0, width + 1, body + 1, round, round);
  POINT tail[] = {{width / 6, body - 1}, {width / 6, height}, {width / 3, body - 1}};
  HRGN point = CreatePolygonRgn(tail, 3, WINDING);
  CombineRgn(bubble, bubble, point, RGN_OR);
  DeleteObject(point);
  return bubble;
}

}  // namespace

HRGN CreateShapeRegion(uint32_t shape, int w, int h) {
  switch (shape) {
    case 1: return CreateEllipticRgn(0, 0, w, h);
    case 2: return RoundRect(w, h, 1.0 / 5);
    case 3: return Polygon({{0.5, 0}, {1, 1}, {0, 1}}, w, h);                               // triangle up
    case 4: return Polygon({{0, 0}, {1, 0}, {0.5, 1}}, w, h);                               // triangle down
    case 5: return Polygon({{0, 0.5}, {1, 0}, {1, 1}}, w, h);                               // triangle left
    case 6: return Polygon({{0, 0}, {1, 0.5}, {0, 1}}, w, h);                               // triangle right
    case 7: return Polygon({{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}}, w, h);                 // diamond
    case 8: return Polygon(Regular(5), w, h);                                               // pentagon
    case 9: return Polygon(Regular(6, 1.0, 0), w, h);                                       // hexagon
    case 10: return Polygon(Regular(8, 1.0, kPi / 8), w, h);                               // octagon
    case 11: return Polygon(Regular(5, 0.45), w, h);                                        // five-point star
    case 12: return Polygon(Regular(6, 0.6), w, h);                                         // six-point star
    case 13: return Polygon(Regular(8, 0.65), w, h);                                        // eight-point star
    case 14: return Polygon({{0.33, 0}, {0.67, 0}, {0.67, 0.33}, {1, 0.33}, {1, 0.67}, {0.67, 0.67}, {0.67, 1},
                             {0.33, 1}, {0.33, 0.67}, {0, 0.67}, {0, 0.33}, {0.33, 0.33}}, w, h);  // cross
    case 15: return Polygon({{0.1, 0}, {0.9, 0}, {1, 0.1}, {1, 0.9}, {0.9, 1}, {0.1, 1}, {0, 0.9}, {0, 0.1}}, w,
                            h);                                                             // cut corners
    case 16: return RoundRect(w, h, 1.0);                                                   // capsule
    case 17: return RoundRect(w, h, 1.0 / 10);                                              // soft corners
    case 18: return RoundRect(w, h, 1.0 / 3);                                               // round corners
    case 19: return Polygon({{0.15, 0}, {0.85, 0}, {1, 1}, {0, 1}}, w, h);                  // trapezoid
    case 20: return Polygon({{0, 0}, {1, 0}, {0.85, 1}, {0.15, 1}}, w, h);                  // trapezoid upside down
    case 21: return Polygon({{0.15, 0}, {1, 0}, {0.85, 1}, {0, 1}}, w, h);                  // parallelogram
    case 22: return Polygon({{0, 0}, {0.85, 0}, {1, 1}, {0.15, 1}}, w, h);                  // parallelogram mirrored
    case 23: return Polygon({{0, 0.2}, {0.7, 0.2}, {0.7, 0}, {1, 0.5}, {0.7, 1}, {0.7, 0.8}, {0, 0.8}}, w,
                            h);                                                             // arrow right
    case 24: return Polygon({{1, 0.2}, {0.3, 0.2}, {0.3, 0}, {0, 0.5}, {0.3, 1}, {0.3, 0.8}, {1, 0.8}}, w,
                            h);                                                             // arrow left
    case 25: return SpeechBubble(w, h);
    case 26: return Polygon(Regular(7), w, h);                                              // heptagon
    case 27: return Polygon(Regular(10), w, h);                                             // decagon
    case 28: return Polygon(Regular(12, 0.85), w, h);                                       // seal
    case 29: return TabShape(w, h);
    default: return nullptr;
  }
}

}  // namespace vorrik
