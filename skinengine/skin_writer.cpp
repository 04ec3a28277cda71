#include "skinengine/skin_writer.h"

#include "windows/byte_io.h"

namespace vorrik::skin {
namespace {

void WriteChunk(ByteWriter& out, uint32_t tag, std::span<const uint8_t> body) {
  out.U32(tag);
  out.Block(body);
}

template <typename Values>
std::vector<uint8_t> CountedWords(const Values& values) {
  ByteWriter body;
  body.U32(static_cast<uint32_t>(values.size()));
  for (auto value : values) body.U32(static_cast<uint32_t>(value));
  return body.Take();
}

std::vector<uint8_t> ImageBody(const OwnedImage& image) {
  ByteWriter body;
  body.U32(image.role);
  body.U32(image.format);
  body.U32(image.width);
  body.U32(image.height);
  body.Bytes(image.pixels);
  return body.Take();
}

}  // namespace

std::vector<uint8_t> WriteSkin(const Skin& skin) {
  ByteWriter out;
  out.Bytes(kSignature);
  out.U32(kSkinVersion);
  if (!skin.name.empty())
    WriteChunk(out, kTagName, {reinterpret_cast<const uint8_t*>(skin.name.data()), skin.name.size()});
  WriteChunk(out, kTagPalette, CountedWords(skin.colours));
  WriteChunk(out, kTagMetrics, CountedWords(skin.metrics));
  for (const OwnedImage& image : skin.images) WriteChunk(out, kTagImage, ImageBody(image));
  WriteChunk(out, kTagEnd, {});
  return out.Take();
}

Skin SkinFromView(const SkinView& view) {
  Skin skin;
  skin.name = std::string(view.name);
  skin.colours = view.colours;
  skin.metrics = view.metrics;
  for (uint32_t role = kImageNone + 1; role < kImageRoleLimit; ++role) {
    const Image& image = view.images[role];
    if (!image.present()) continue;
    skin.images.push_back({role, image.format, image.width, image.height, {image.pixels.begin(), image.pixels.end()}});
  }
  return skin;
}

}  // namespace vorrik::skin
