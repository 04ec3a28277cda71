#include "skinengine/skin_format.h"

#include <cstring>

#include "windows/byte_io.h"

namespace vorrik::skin {
namespace {

// A refusal that is not about the skin's end: a chunk that does not add up.
constexpr ReadResult kMalformed = ReadResult::kMalformed;

// A short skin that agrees with the signature as far as it goes was cut
// short; anything else is not ours.
ReadResult CheckSignature(std::span<const uint8_t> bytes) {
  const size_t have = bytes.size() < sizeof kSignature ? bytes.size() : sizeof kSignature;
  if (have == 0) return ReadResult::kTruncated;
  if (std::memcmp(bytes.data(), kSignature, have) != 0) return ReadResult::kBadSignature;
  return have < sizeof kSignature ? ReadResult::kTruncated : ReadResult::kOk;
}

// Chunk bodies must be used up exactly: a length that disagrees with the
// counts inside is refused, not guessed at.
bool UsedUp(const ByteReader& body) { return body.ok() && body.Remaining() == 0; }

bool SkipWords(ByteReader& body, uint32_t count) {
  if (count > body.Remaining() / 4) return false;
  body.Bytes(size_t(count) * 4);
  return true;
}

ReadResult ReadName(std::span<const uint8_t> bytes, SkinView& out) {
  if (!out.name.empty() || bytes.empty() || bytes.size() > kMaxNameLength) return kMalformed;
  if (std::memchr(bytes.data(), 0, bytes.size())) return kMalformed;
  out.name = {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
  return ReadResult::kOk;
}

ReadResult ReadPalette(std::span<const uint8_t> bytes, SkinView& out) {
  ByteReader body(bytes);
  const uint32_t count = body.U32();
  if (count < kColourCount) return kMalformed;
  for (uint32_t& colour : out.colours) {
    colour = body.U32();
    if (colour > 0x00FFFFFF) return kMalformed;  // no "default" marker in a skin
  }
  if (!SkipWords(body, count - kColourCount)) return kMalformed;
  return UsedUp(body) ? ReadResult::kOk : kMalformed;
}

ReadResult ReadMetrics(std::span<const uint8_t> bytes, SkinView& out) {
  ByteReader body(bytes);
  const uint32_t count = body.U32();
  if (count < kMetricCount) return kMalformed;
  for (uint32_t i = 0; i < kMetricCount; ++i) {
    out.metrics[i] = body.I32();
    if (!MetricInRange(Metric(i), out.metrics[i])) return kMalformed;
  }
  if (!SkipWords(body, count - kMetricCount)) return kMalformed;
  if (!UsedUp(body)) return kMalformed;
  const bool buttonsFit = out.metrics[kCaptionButtonHeight] <= out.metrics[kCaptionHeight];
  return buttonsFit ? ReadResult::kOk : kMalformed;
}

ReadResult ReadImage(std::span<const uint8_t> bytes, SkinView& out) {
  ByteReader body(bytes);
  const uint32_t role = body.U32();
  Image image;
  image.format = body.U32();
  image.width = body.U32();
  image.height = body.U32();
  const uint32_t pixelSize = BytesPerPixel(image.format);
  if (!body.ok() || pixelSize == 0) return kMalformed;
  if (image.width == 0 || image.height == 0 || image.width > kMaxImageSide || image.height > kMaxImageSide)
    return kMalformed;
  image.pixels = body.Bytes(size_t(image.width) * image.height * pixelSize);
  if (!UsedUp(body)) return kMalformed;
  if (role == kImageNone || role >= kImageRoleLimit) return ReadResult::kOk;  // a later role
  if (out.images[role].present()) return kMalformed;
  if (role == kCaptionGlyphs && image.width != image.height * kCaptionGlyphCount) return kMalformed;
  out.images[role] = image;
  return ReadResult::kOk;
}

ReadResult ReadChunk(uint32_t tag, std::span<const uint8_t> body, SkinView& out, bool& palette, bool& metrics) {
  switch (tag) {
    case kTagName:
      return ReadName(body, out);
    case kTagPalette:
      if (palette) return kMalformed;
      palette = true;
      return ReadPalette(body, out);
    case kTagMetrics:
      if (metrics) return kMalformed;
      metrics = true;
      return ReadMetrics(body, out);
    case kTagImage:
      return ReadImage(body, out);
    default:
      return ReadResult::kOk;  // a chunk of a later writer
  }
}

}  // namespace

uint32_t BytesPerPixel(uint32_t format) {
  switch (format) {
    case kAlpha8:
      return 1;
    case kBgra32:
      return 4;
    default:
      return 0;
  }
}

bool MetricInRange(Metric metric, int32_t value) {
  return metric < kMetricCount && value >= kMetricRanges[metric].min && value <= kMetricRanges[metric].max;
}

ReadResult ReadSkin(std::span<const uint8_t> bytes, SkinView& out) {
  out = SkinView{};
  if (ReadResult signature = CheckSignature(bytes); signature != ReadResult::kOk) return signature;
  ByteReader reader(bytes.subspan(sizeof kSignature));
  const uint32_t version = reader.U32();
  if (!reader.ok()) return ReadResult::kTruncated;
  if (version != kSkinVersion) return ReadResult::kUnknownVersion;

  bool palette = false, metrics = false;
  for (;;) {
    const uint32_t tag = reader.U32();
    const uint32_t length = reader.U32();
    const std::span<const uint8_t> body = reader.Bytes(length);
    if (!reader.ok()) return ReadResult::kTruncated;
    if (tag == kTagEnd) {
      if (length != 0) return kMalformed;
      break;
    }
    if (ReadResult chunk = ReadChunk(tag, body, out, palette, metrics); chunk != ReadResult::kOk) return chunk;
  }
  if (reader.Remaining() != 0 || !palette || !metrics) return kMalformed;
  return ReadResult::kOk;
}

}  // namespace vorrik::skin
