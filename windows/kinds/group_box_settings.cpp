#include "windows/kinds/group_box_settings.h"

namespace vorrik {

std::optional<GroupBoxSettings> DecodeGroupBoxSettings(std::span<const uint8_t> block) {
  GroupBoxSettings s;
  if (block.empty()) return s;
  ByteReader in(block);
  if (in.U32() > kGroupBoxSettingsVersion) return std::nullopt;
  s.titleAlign = in.U32();
  s.textColor = in.U32();
  s.backColor = in.U32();
  s.font = ReadFontBlock(in);
  s.title = ReadCountedText(in);
  if (!in.ok()) return std::nullopt;
  return s;
}

std::vector<uint8_t> EncodeGroupBoxSettings(const GroupBoxSettings& s) {
  ByteWriter out;
  out.U32(kGroupBoxSettingsVersion);
  out.U32(s.titleAlign);
  out.U32(s.textColor);
  out.U32(s.backColor);
  WriteFontBlock(out, s.font);
  out.CountedText(s.title);
  return out.Take();
}

}  // namespace vorrik
