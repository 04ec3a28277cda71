// Our skin format: the 33 built-in skins as the program carries them, and
// what the reader refuses.
#include "skinengine/skin_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/skin_table.h"
#include "skinengine/skin_writer.h"
#include "windows/byte_io.h"

namespace vorrik::skin {
namespace {

std::span<const uint8_t> SkinBytes(int32_t n) {
  ConstByteBuffer buffer = BuiltinSkin(n);
  return {buffer + 8, LoadU32(buffer + 4)};
}

TEST(SkinTable, HoldsEachSkinAsAByteBufferOneAfterAnother) {
  uint32_t expectedOffset = 0;
  for (int32_t n = 1; n <= kBuiltinSkinCount; ++n) {
    SCOPED_TRACE("skin " + std::to_string(n));
    ConstByteBuffer buffer = BuiltinSkin(n);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer, kSkinTableBytes + expectedOffset);
    EXPECT_EQ(LoadU32(buffer), 1u);  // dimension word
    const uint32_t length = LoadU32(buffer + 4);
    EXPECT_EQ(std::memcmp(buffer + 8, kSignature, sizeof kSignature), 0);
    expectedOffset += (8 + length + 3) / 4 * 4;
  }
  for (int32_t outside : {0, -1, kBuiltinSkinCount + 1}) EXPECT_EQ(BuiltinSkin(outside), nullptr) << outside;
}

TEST(SkinTable, EverySkinReadsAndWritesBackToTheSameBytes) {
  for (int32_t n = 1; n <= kBuiltinSkinCount; ++n) {
    SCOPED_TRACE("skin " + std::to_string(n));
    const auto bytes = SkinBytes(n);
    SkinView view;
    ASSERT_EQ(ReadSkin(bytes, view), ReadResult::kOk);
    EXPECT_FALSE(view.name.empty());
    const std::vector<uint8_t> written = WriteSkin(SkinFromView(view));
    EXPECT_EQ(written, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  }
}

// Run under the sanitizers: a read past a shortened skin shows there.
TEST(SkinTable, EveryShortenedSkinIsRefusedAsTruncated) {
  for (int32_t n = 1; n <= kBuiltinSkinCount; ++n) {
    const auto bytes = SkinBytes(n);
    for (size_t length = 0; length < bytes.size(); ++length) {
      // A copy of exactly that length, so that a read beyond it is caught.
      const std::vector<uint8_t> shortened(bytes.begin(), bytes.begin() + length);
      SkinView view;
      ASSERT_EQ(ReadSkin(shortened, view), ReadResult::kTruncated) << "skin " << n << " cut to " << length;
    }
  }
}

// Hand-made skins for the reader's refusals.
struct Chunk {
  uint32_t tag;
  std::vector<uint8_t> body;
};

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  ByteWriter out;
  for (uint32_t word : words) out.U32(word);
  return out.Take();
}

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<uint8_t> PaletteBody(uint32_t count, uint32_t colour = 0x00336699) {
  ByteWriter out;
  out.U32(count);
  for (uint32_t i = 0; i < count; ++i) out.U32(colour);
  return out.Take();
}

// caption 24, frame 4, corner 6, buttons 22 x 18, button corner 3
std::vector<int32_t> GoodMetrics() { return {24, 4, 6, 22, 18, 3}; }

std::vector<uint8_t> MetricsBody(std::vector<int32_t> values) {
  ByteWriter out;
  out.U32(static_cast<uint32_t>(values.size()));
  for (int32_t value : values) out.I32(value);
  return out.Take();
}

std::vector<uint8_t> ImageBody(uint32_t role, uint32_t format, uint32_t width, uint32_t height, size_t pixelBytes) {
  return Join(Words({role, format, width, height}), std::vector<uint8_t>(pixelBytes, 0x80));
}

Chunk Palette() { return {kTagPalette, PaletteBody(kColourCount)}; }
Chunk Metrics() { return {kTagMetrics, MetricsBody(GoodMetrics())}; }

std::vector<uint8_t> Assemble(const std::vector<Chunk>& chunks, uint32_t version = kSkinVersion) {
  ByteWriter out;
  out.Bytes(kSignature);
  out.U32(version);
  for (const Chunk& chunk : chunks) {
    out.U32(chunk.tag);
    out.Block(chunk.body);
  }
  return out.Take();
}

const Chunk kEnd{kTagEnd, {}};

TEST(SkinFormat, HandMadeSkinWithImagesReads) {
  const auto bytes = Assemble({{kTagName, {'T', 'e', 's', 't'}},
                               Palette(),
                               Metrics(),
                               {kTagImage, ImageBody(kCaptionGlyphs, kAlpha8, 40, 10, 400)},
                               {kTagImage, ImageBody(kCaptionGloss, kBgra32, 2, 3, 24)},
                               kEnd});
  SkinView view;
  ASSERT_EQ(ReadSkin(bytes, view), ReadResult::kOk);
  EXPECT_EQ(view.name, "Test");
  EXPECT_EQ(view.colours[kMenuHighlightText], 0x00336699u);
  EXPECT_EQ(view.metrics[kCaptionButtonHeight], 18);
  const Image& gloss = view.images[kCaptionGloss];
  EXPECT_EQ(gloss.format, uint32_t(kBgra32));
  EXPECT_EQ(gloss.pixels.size(), 24u);
  // The view points into the bytes it was read from; nothing is copied.
  EXPECT_EQ(gloss.pixels.data() + gloss.pixels.size(), bytes.data() + bytes.size() - 8);
  EXPECT_EQ(WriteSkin(SkinFromView(view)), bytes);
}

TEST(SkinFormat, AdditionsOfLaterWritersAreSkipped) {
  std::vector<int32_t> longer = GoodMetrics();
  longer.push_back(99);
  const auto bytes = Assemble({{ChunkTag("XTRA"), {1, 2, 3}},
                               {kTagPalette, PaletteBody(kColourCount + 2)},
                               {kTagMetrics, MetricsBody(longer)},
                               {kTagImage, ImageBody(7, kAlpha8, 1, 1, 1)},
                               kEnd});
  SkinView view;
  ASSERT_EQ(ReadSkin(bytes, view), ReadResult::kOk);
  EXPECT_EQ(view.metrics[kButtonCornerRadius], 3);
  for (const Image& image : view.images) EXPECT_FALSE(image.present());
}

TEST(SkinFormat, RefusesWhatVersionOneDoesNotAllow) {
  const auto metricsWith = [](Metric metric, int32_t value) {
    std::vector<int32_t> values = GoodMetrics();
    values[metric] = value;
    return Chunk{kTagMetrics, MetricsBody(values)};
  };
  std::vector<uint8_t> badColour = PaletteBody(kColourCount);
  badColour[4 + 4 * kFace + 3] = 0xFF;  // the "default colour" marker
  const std::vector<uint8_t> paletteShortOfItsCount =
      Join(Words({kColourCount}), std::vector<uint8_t>(4 * (kColourCount - 1), 0x11));
  std::vector<uint8_t> hugeCount = PaletteBody(kColourCount);
  hugeCount[0] = hugeCount[1] = hugeCount[2] = hugeCount[3] = 0xFF;
  std::vector<uint8_t> paletteWithSpare = Join(PaletteBody(kColourCount), {0});
  std::vector<uint8_t> badSignature = Assemble({Palette(), Metrics(), kEnd});
  badSignature[3] = 'F';
  std::vector<uint8_t> trailing = Join(Assemble({Palette(), Metrics(), kEnd}), {0});

  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    ReadResult expected;
  } cases[] = {
      {"another signature", badSignature, ReadResult::kBadSignature},
      {"not a skin at all", {'M', 'Z', 0x90, 0, 3, 0, 0, 0, 4, 0}, ReadResult::kBadSignature},
      {"version 2", Assemble({Palette(), Metrics(), kEnd}, 2), ReadResult::kUnknownVersion},
      {"version 0", Assemble({Palette(), Metrics(), kEnd}, 0), ReadResult::kUnknownVersion},
      {"no end chunk", Assemble({Palette(), Metrics()}), ReadResult::kTruncated},
      {"a chunk longer than the skin", Join(Assemble({Palette(), Metrics()}), Words({kTagEnd, 0xFFFFFFFF})),
       ReadResult::kTruncated},
      {"bytes after the end", trailing, ReadResult::kMalformed},
      {"an end chunk with a body", Assemble({Palette(), Metrics(), {kTagEnd, {0}}}), ReadResult::kMalformed},
      {"no palette", Assemble({Metrics(), kEnd}), ReadResult::kMalformed},
      {"no metrics", Assemble({Palette(), kEnd}), ReadResult::kMalformed},
      {"two palettes", Assemble({Palette(), Palette(), Metrics(), kEnd}), ReadResult::kMalformed},
      {"two metric lists", Assemble({Palette(), Metrics(), Metrics(), kEnd}), ReadResult::kMalformed},
      {"a short palette", Assemble({{kTagPalette, PaletteBody(kColourCount - 1)}, Metrics(), kEnd}),
       ReadResult::kMalformed},
      {"a palette shorter than its count", Assemble({{kTagPalette, paletteShortOfItsCount}, Metrics(), kEnd}),
       ReadResult::kMalformed},
      {"a palette with a spare byte", Assemble({{kTagPalette, paletteWithSpare}, Metrics(), kEnd}),
       ReadResult::kMalformed},
      {"a palette count near 2^32", Assemble({{kTagPalette, hugeCount}, Metrics(), kEnd}), ReadResult::kMalformed},
      {"a colour with a top byte", Assemble({{kTagPalette, badColour}, Metrics(), kEnd}), ReadResult::kMalformed},
      {"a short metric list", Assemble({Palette(), {kTagMetrics, MetricsBody({24, 4, 6})}, kEnd}),
       ReadResult::kMalformed},
      {"a caption 11 high", Assemble({Palette(), metricsWith(kCaptionHeight, 11), kEnd}), ReadResult::kMalformed},
      {"a negative frame", Assemble({Palette(), metricsWith(kFrameWidth, -1), kEnd}), ReadResult::kMalformed},
      {"buttons taller than the caption", Assemble({Palette(), metricsWith(kCaptionButtonHeight, 30), kEnd}),
       ReadResult::kMalformed},
      {"an empty name", Assemble({{kTagName, {}}, Palette(), Metrics(), kEnd}), ReadResult::kMalformed},
      {"a NUL in the name", Assemble({{kTagName, {'a', 0, 'b'}}, Palette(), Metrics(), kEnd}),
       ReadResult::kMalformed},
      {"a name of 65 bytes", Assemble({{kTagName, std::vector<uint8_t>(65, 'n')}, Palette(), Metrics(), kEnd}),
       ReadResult::kMalformed},
      {"two names", Assemble({{kTagName, {'a'}}, {kTagName, {'b'}}, Palette(), Metrics(), kEnd}),
       ReadResult::kMalformed},
      {"an image with no width",
       Assemble({Palette(), Metrics(), {kTagImage, ImageBody(kCaptionGloss, kAlpha8, 0, 4, 0)}, kEnd}),
       ReadResult::kMalformed},
      {"an image too wide",
       Assemble({Palette(), Metrics(), {kTagImage, ImageBody(kCaptionGloss, kAlpha8, 1025, 1, 1025)}, kEnd}),
       ReadResult::kMalformed},
      {"an image of an unknown pixel format",
       Assemble({Palette(), Metrics(), {kTagImage, ImageBody(kCaptionGloss, 3, 1, 1, 1)}, kEnd}),
       ReadResult::kMalformed},
      {"an image short of its pixels",
       Assemble({Palette(), Metrics(), {kTagImage, ImageBody(kCaptionGloss, kBgra32, 1024, 1024, 16)}, kEnd}),
       ReadResult::kMalformed},
      {"an image with a spare byte",
       Assemble({Palette(), Metrics(), {kTagImage, ImageBody(kCaptionGloss, kAlpha8, 2, 2, 5)}, kEnd}),
       ReadResult::kMalformed},
      {"glyphs that are not four squares",
       Assemble({Palette(), Metrics(), {kTagImage, ImageBody(kCaptionGlyphs, kAlpha8, 30, 10, 300)}, kEnd}),
       ReadResult::kMalformed},
      {"two images of one role",
       Assemble({Palette(), Metrics(), {kTagImage, ImageBody(kCaptionGloss, kAlpha8, 1, 2, 2)},
                 {kTagImage, ImageBody(kCaptionGloss, kAlpha8, 1, 2, 2)}, kEnd}),
       ReadResult::kMalformed},
  };
  for (const auto& c : cases) {
    SkinView view;
    EXPECT_EQ(ReadSkin(c.bytes, view), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace vorrik::skin
