#include "windows/kinds/button_settings.h"

namespace vorrik {

std::optional<ButtonSettings> DecodeButtonSettings(std::span<const uint8_t> block) {
  ButtonSettings s;
  if (block.empty()) return s;
  ByteReader in(block);
  if (in.U32() > kButtonSettingsVersion) return std::nullopt;
  s.isDefault = in.U32();
  s.hAlign = in.U32();
  s.vAlign = in.U32();
  s.picture = ReadByteBlock(in);
  s.font = ReadFontBlock(in);
  s.title = ReadCountedText(in);
  if (!in.ok()) return std::nullopt;
  return s;
}

std::vector<uint8_t> EncodeButtonSettings(const ButtonSettings& s) {
  ByteWriter out;
  out.U32(kButtonSettingsVersion);
  out.U32(s.isDefault);
  out.U32(s.hAlign);
  out.U32(s.vAlign);
  out.Block(s.picture);
  WriteFontBlock(out, s.font);
  out.CountedText(s.title);
  return out.Take();
}

}  // namespace vorrik
