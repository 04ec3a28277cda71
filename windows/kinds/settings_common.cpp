#include "windows/kinds/settings_common.h"

#include <algorithm>
#include <cstring>

namespace vorrik {

std::string_view LogFont::Face() const {
  const char* end = static_cast<const char*>(std::memchr(faceName.data(), 0, faceName.size()));
  return {faceName.data(), end ? size_t(end - faceName.data()) : faceName.size()};
}

bool LogFont::SetFace(std::string_view face) {
  if (face.size() >= faceName.size()) return false;
  faceName.fill(0);
  std::copy(face.begin(), face.end(), faceName.begin());
  return true;
}

std::array<uint8_t, kLogFontSize> EncodeLogFont(const LogFont& font) {
  ByteWriter out;
  for (int32_t value : {font.height, font.width, font.escapement, font.orientation, font.weight}) out.I32(value);
  out.Bytes(std::array<uint8_t, 8>{font.italic, font.underline, font.strikeOut, font.charSet, font.outPrecision,
                                   font.clipPrecision, font.quality, font.pitchAndFamily});
  out.Bytes({reinterpret_cast<const uint8_t*>(font.faceName.data()), font.faceName.size()});
  std::array<uint8_t, kLogFontSize> bytes;
  std::copy(out.Data().begin(), out.Data().end(), bytes.begin());
  return bytes;
}

LogFont DecodeLogFont(std::span<const uint8_t, kLogFontSize> bytes) {
  ByteReader in(bytes);
  LogFont font;
  for (int32_t* field : {&font.height, &font.width, &font.escapement, &font.orientation, &font.weight})
    *field = in.I32();
  auto flags = in.Bytes(8);
  uint8_t* fields[] = {&font.italic,       &font.underline,     &font.strikeOut, &font.charSet,
                       &font.outPrecision, &font.clipPrecision, &font.quality,   &font.pitchAndFamily};
  for (size_t i = 0; i < flags.size(); ++i) *fields[i] = flags[i];
  auto face = in.Bytes(font.faceName.size());
  std::copy(face.begin(), face.end(), font.faceName.begin());
  return font;
}

std::optional<LogFont> ReadFontBlock(ByteReader& in) {
  auto block = in.Block();
  if (block.size() != kLogFontSize) return std::nullopt;
  return DecodeLogFont(block.first<kLogFontSize>());
}

void WriteFontBlock(ByteWriter& out, const std::optional<LogFont>& font) {
  if (!font) {
    out.U32(0);
    return;
  }
  out.Block(EncodeLogFont(*font));
}

std::vector<uint8_t> ReadByteBlock(ByteReader& in) {
  auto block = in.Block();
  return {block.begin(), block.end()};
}

std::string ReadCountedText(ByteReader& in) { return std::string(in.CountedText()); }

}  // namespace vorrik
