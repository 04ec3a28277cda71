// Our skin files: the engine reads them, the skin build tool writes them.
// Portable: no system headers, and no allocation on the reading side, so the
// engine can read a skin in place and copy only what it keeps.
//
// Layout (numbers little-endian):
//   ".SHE" 00 03                signature
//   u32 version                 kSkinVersion
//   chunks, each: u32 tag, u32 length, then length bytes
//   the END chunk (length 0)    closes the skin; nothing may follow it
// Chunks of version 1:
//   NAME  the skin's display name, 1 to kMaxNameLength bytes, no NUL; optional
//   PALT  u32 count (>= kColourCount), then count colours 0x00BBGGRR; once
//   METR  u32 count (>= kMetricCount), then count signed values; once
//   IMAG  u32 role, u32 pixel format, u32 width, u32 height, pixels (rows top
//         down, no padding); at most one per role
// A longer palette or metric list, an unknown chunk tag or an unknown image
// role is skipped: later writers may add to version 1 without breaking older
// engines. Anything that changes the meaning of what is here takes a new
// version, which older engines refuse.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vorrik::skin {

constexpr uint8_t kSignature[6] = {'.', 'S', 'H', 'E', 0x00, 0x03};
constexpr uint32_t kSkinVersion = 1;
constexpr size_t kMaxNameLength = 64;

constexpr uint32_t ChunkTag(const char (&four)[5]) {
  return uint32_t(uint8_t(four[0])) | uint32_t(uint8_t(four[1])) << 8 | uint32_t(uint8_t(four[2])) << 16 |
         uint32_t(uint8_t(four[3])) << 24;
}
constexpr uint32_t kTagName = ChunkTag("NAME");
constexpr uint32_t kTagPalette = ChunkTag("PALT");
constexpr uint32_t kTagMetrics = ChunkTag("METR");
constexpr uint32_t kTagImage = ChunkTag("IMAG");
constexpr uint32_t kTagEnd = ChunkTag("END ");

// Palette entries, in stored order.
enum Colour : uint32_t {
  kCaptionActiveFrom,    // caption gradient of the active window, left end
  kCaptionActiveTo,      // ... right end
  kCaptionInactiveFrom,  // caption gradient of an inactive window
  kCaptionInactiveTo,
  kCaptionTextActive,
  kCaptionTextInactive,
  kFrameActive,
  kFrameInactive,
  kFace,        // window and control background
  kEdgeLight,   // raised edges, top and left
  kEdgeShadow,  // raised edges, bottom and right
  kText,
  kButtonNormal,
  kButtonHot,
  kButtonPressed,
  kButtonDisabled,
  kButtonText,
  kButtonTextDisabled,
  kGroupLine,
  kGroupTitle,
  kMenuBar,
  kMenuBarText,
  kMenuFace,  // pop-up menus
  kMenuText,
  kMenuHighlight,  // the item under the mouse, in the bar and in pop-ups
  kMenuHighlightText,
  kColourCount
};

// Metrics, in stored order, in pixels.
enum Metric : uint32_t {
  kCaptionHeight,
  kFrameWidth,
  kCornerRadius,  // of the window's top corners
  kCaptionButtonWidth,
  kCaptionButtonHeight,
  kButtonCornerRadius,
  kMetricCount
};

struct MetricRange {
  int32_t min, max;
};
// What a version 1 reader accepts; the caption buttons must also fit the caption.
constexpr std::array<MetricRange, kMetricCount> kMetricRanges = {{
    {12, 64},  // caption height
    {0, 16},   // frame width
    {0, 16},   // corner radius
    {8, 64},   // caption button width
    {8, 64},   // caption button height
    {0, 12},   // button corner radius
}};

enum ImageRole : uint32_t {
  kImageNone = 0,
  kCaptionGlyphs = 1,  // close, maximise, restore, minimise: four square cells side by side
  kCaptionGloss = 2,   // white over the caption, stretched to its size; alpha only
  kImageRoleLimit
};

enum PixelFormat : uint32_t {
  kAlpha8 = 1,  // one coverage byte a pixel
  kBgra32 = 2,  // blue, green, red, alpha; premultiplied
};
constexpr uint32_t kMaxImageSide = 1024;
constexpr uint32_t kCaptionGlyphCount = 4;

struct Image {
  uint32_t format = 0;
  uint32_t width = 0, height = 0;
  std::span<const uint8_t> pixels;  // into the skin bytes
  bool present() const { return width != 0; }
};

// A read skin. Its name and pixels point into the bytes it was read from.
struct SkinView {
  std::string_view name;
  std::array<uint32_t, kColourCount> colours{};
  std::array<int32_t, kMetricCount> metrics{};
  std::array<Image, kImageRoleLimit> images{};  // by role; kImageNone unused
};

// Why a skin was refused. The engine hands these on as its result codes.
enum class ReadResult : int32_t {
  kOk = 0,
  kBadSignature = 2,
  kUnknownVersion = 3,
  kTruncated = 4,  // ends before its END chunk or inside a chunk
  kMalformed = 5,  // a value or chunk length that version 1 does not allow
};

ReadResult ReadSkin(std::span<const uint8_t> bytes, SkinView& out);

// Bytes a pixel of the format, 0 for an unknown format.
uint32_t BytesPerPixel(uint32_t format);

bool MetricInRange(Metric metric, int32_t value);

}  // namespace vorrik::skin
