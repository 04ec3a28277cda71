// Build tool: draws the program's icon and writes it as an .ico file with
// one 64 x 64 image of 32 bits per pixel (BGRA with alpha, plus the AND mask
// that older readers want).
//
//   make_icon OUT.ico
//
// The picture: a rounded badge with a bold "V" and a small play button.
// Shapes are sampled 8 x 8 times per pixel for smooth edges.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int kSide = 64;
constexpr int kSamples = 8;

struct Colour {
  float r, g, b, a;  // straight alpha, 0..1
};

struct Point {
  float x, y;
};

Colour Mix(Colour from, Colour to, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
          from.a + (to.a - from.a) * t};
}

Colour Rgb(int r, int g, int b, float a = 1) { return {r / 255.0f, g / 255.0f, b / 255.0f, a}; }

// Signed distance to a rounded rectangle; negative inside.
float RoundedRectDistance(Point p, float left, float top, float right, float bottom, float radius) {
  float cx = (left + right) / 2, cy = (top + bottom) / 2;
  float qx = std::fabs(p.x - cx) - ((right - left) / 2 - radius);
  float qy = std::fabs(p.y - cy) - ((bottom - top) / 2 - radius);
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

bool InPolygon(Point p, const std::vector<Point>& polygon) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point a = polygon[i], b = polygon[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

// Fraction of the pixel at (x, y) that a shape covers.
template <class Inside>
float Coverage(int x, int y, Inside inside) {
  int hits = 0;
  for (int sy = 0; sy < kSamples; ++sy)
    for (int sx = 0; sx < kSamples; ++sx) hits += inside(Point{x + (sx + 0.5f) / kSamples, y + (sy + 0.5f) / kSamples});
  return float(hits) / (kSamples * kSamples);
}

class Canvas {
 public:
  Canvas() : pixels_(kSide * kSide, Colour{0, 0, 0, 0}) {}

  // Source-over with the source's alpha scaled by the coverage.
  void Blend(int x, int y, Colour source, float coverage) {
    Colour& d = pixels_[y * kSide + x];
    const float sa = source.a * coverage, da = d.a * (1 - sa), a = sa + da;
    if (a <= 0) return;
    d = {(source.r * sa + d.r * da) / a, (source.g * sa + d.g * da) / a, (source.b * sa + d.b * da) / a, a};
  }
  Colour At(int x, int y) const { return pixels_[y * kSide + x]; }

 private:
  std::vector<Colour> pixels_;
};

// The picture's geometry.
constexpr float kBadgeLeft = 2, kBadgeTop = 1.5f, kBadgeRight = 62, kBadgeBottom = 61.5f, kBadgeRadius = 13;
constexpr Point kPlayCentre{47.5f, 47.5f};
constexpr float kPlayRadius = 11.5f, kPlayRing = 2.2f;

// A "V" whose inner edges run parallel to its outer ones.
std::vector<Point> VShape(float cx, float top, float bottom, float halfWidth, float arm, float foot) {
  const float apex = top + (bottom - top) * (halfWidth - arm) / (halfWidth - foot / 2);
  return {{cx - halfWidth, top},       {cx - halfWidth + arm, top}, {cx, apex},
          {cx + halfWidth - arm, top}, {cx + halfWidth, top},       {cx + foot / 2, bottom},
          {cx - foot / 2, bottom}};
}

float Badge(Point p) { return RoundedRectDistance(p, kBadgeLeft, kBadgeTop, kBadgeRight, kBadgeBottom, kBadgeRadius); }

void DrawBadge(Canvas& canvas, int x, int y) {
  const Point centre{x + 0.5f, y + 0.5f};
  // A soft shadow below the badge.
  const float shadowDistance = Badge({centre.x, centre.y - 1.2f});
  canvas.Blend(x, y, Rgb(20, 16, 60, 0.28f), std::clamp(1 - shadowDistance / 2.5f, 0.0f, 1.0f));
  const float t = (centre.x * 0.35f + centre.y) / (kSide * 1.35f);
  const Colour fill = Mix(Rgb(44, 196, 226), Rgb(92, 64, 214), t);
  canvas.Blend(x, y, fill, Coverage(x, y, [](Point p) { return Badge(p) < 0; }));
  // Light on the upper half, a darker rim all round: the badge reads at 16 px.
  canvas.Blend(x, y, Rgb(255, 255, 255, 0.14f),
               Coverage(x, y, [](Point p) { return Badge(p) < 0 && std::hypot((p.x - 32) / 46, (p.y + 8) / 36) < 1; }));
  canvas.Blend(x, y, Mix(fill, Rgb(20, 16, 70), 0.55f), Coverage(x, y, [](Point p) {
                 float d = Badge(p);
                 return d < 0 && d > -1.4f;
               }));
}

void DrawLetter(Canvas& canvas, int x, int y, const std::vector<Point>& v) {
  canvas.Blend(x, y, Rgb(16, 12, 64, 0.30f), Coverage(x, y, [&](Point p) {
                 return InPolygon({p.x - 0.8f, p.y - 1.6f}, v);
               }));
  const Colour white = Mix(Rgb(255, 255, 255), Rgb(226, 234, 255), (y - 12) / 40.0f);
  canvas.Blend(x, y, white, Coverage(x, y, [&](Point p) { return InPolygon(p, v); }));
}

void DrawPlayButton(Canvas& canvas, int x, int y) {
  auto within = [](float radius) {
    return [radius](Point p) { return std::hypot(p.x - kPlayCentre.x, p.y - kPlayCentre.y) < radius; };
  };
  canvas.Blend(x, y, Rgb(40, 26, 110), Coverage(x, y, within(kPlayRadius + kPlayRing)));
  const Colour amber =
      Mix(Rgb(255, 196, 40), Rgb(255, 118, 34), (y + 0.5f - (kPlayCentre.y - kPlayRadius)) / (2 * kPlayRadius));
  canvas.Blend(x, y, amber, Coverage(x, y, within(kPlayRadius)));
  const std::vector<Point> triangle = {{kPlayCentre.x - 4.0f, kPlayCentre.y - 6.4f},
                                       {kPlayCentre.x - 4.0f, kPlayCentre.y + 6.4f},
                                       {kPlayCentre.x + 6.8f, kPlayCentre.y}};
  canvas.Blend(x, y, Rgb(255, 255, 255), Coverage(x, y, [&](Point p) { return InPolygon(p, triangle); }));
}

Canvas Draw() {
  Canvas canvas;
  const auto v = VShape(27.5f, 12, 49, 19, 12.5f, 12);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      DrawBadge(canvas, x, y);
      DrawLetter(canvas, x, y, v);
      DrawPlayButton(canvas, x, y);
    }
  return canvas;
}

// ---- The .ico file

class LittleEndian {
 public:
  void U8(unsigned value) { bytes_.push_back(static_cast<uint8_t>(value)); }
  void U16(unsigned value) { U8(value & 0xFF), U8(value >> 8); }
  void U32(uint32_t value) { U16(value & 0xFFFF), U16(value >> 16); }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

constexpr uint32_t kDirectorySize = 6, kEntrySize = 16, kInfoHeaderSize = 40;
constexpr uint32_t kColourBytes = kSide * kSide * 4;
constexpr uint32_t kMaskRowBytes = (kSide + 31) / 32 * 4;  // rows padded to 32 bits
constexpr uint32_t kMaskBytes = kMaskRowBytes * kSide;
constexpr uint32_t kImageBytes = kInfoHeaderSize + kColourBytes + kMaskBytes;

void WriteHeaders(LittleEndian& out) {
  out.U16(0), out.U16(1), out.U16(1);  // reserved, icon, one image
  out.U8(kSide), out.U8(kSide), out.U8(0), out.U8(0);
  out.U16(1), out.U16(32), out.U32(kImageBytes), out.U32(kDirectorySize + kEntrySize);
  // The bitmap's height counts the colour rows and the mask rows.
  out.U32(kInfoHeaderSize), out.U32(kSide), out.U32(2 * kSide), out.U16(1), out.U16(32);
  out.U32(0), out.U32(kColourBytes + kMaskBytes), out.U32(0), out.U32(0), out.U32(0), out.U32(0);
}

uint8_t Channel(float value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255)); }

std::vector<uint8_t> IconFile(const Canvas& canvas) {
  LittleEndian out;
  WriteHeaders(out);
  for (int y = kSide - 1; y >= 0; --y)  // bottom-up
    for (int x = 0; x < kSide; ++x) {
      const Colour c = canvas.At(x, y);
      out.U8(Channel(c.b)), out.U8(Channel(c.g)), out.U8(Channel(c.r)), out.U8(Channel(c.a));
    }
  for (int y = kSide - 1; y >= 0; --y) {
    std::array<uint8_t, kMaskRowBytes> row{};
    for (int x = 0; x < kSide; ++x)
      if (Channel(canvas.At(x, y).a) == 0) row[x / 8] |= uint8_t(0x80 >> (x % 8));  // 1: transparent
    for (uint8_t byte : row) out.U8(byte);
  }
  return std::move(out.Bytes());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUT.ico\n");
    return 2;
  }
  const std::vector<uint8_t> file = IconFile(Draw());
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
