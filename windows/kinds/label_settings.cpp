#include "windows/kinds/label_settings.h"

namespace vorrik {
namespace {

uint32_t LabelSettings::*const kWords[] = {
    &LabelSettings::textEffect,     &LabelSettings::frameWidth,     &LabelSettings::borderStyle,
    &LabelSettings::frameColor1,    &LabelSettings::frameColor2,    &LabelSettings::frameColor3,
    &LabelSettings::textColor,      &LabelSettings::backColor,      &LabelSettings::pictureMode,
    &LabelSettings::gradientMode,   &LabelSettings::gradientColor1, &LabelSettings::gradientColor2,
    &LabelSettings::gradientColor3, &LabelSettings::hAlign,         &LabelSettings::vAlign,
    &LabelSettings::wordWrap,
};

}  // namespace

std::optional<LabelSettings> DecodeLabelSettings(std::span<const uint8_t> block) {
  LabelSettings s;
  if (block.empty()) return s;
  ByteReader in(block);
  const uint32_t version = in.U32();
  if (version > kLabelSettingsVersion) return std::nullopt;
  for (auto field : kWords) s.*field = in.U32();
  s.font = ReadFontBlock(in);
  s.backPicture = ReadByteBlock(in);
  s.title = ReadCountedText(in);
  if (version >= 2) {
    s.dataSource = ReadCountedText(in);
    s.dataColumn = ReadCountedText(in);
  }
  if (!in.ok()) return std::nullopt;
  return s;
}

std::vector<uint8_t> EncodeLabelSettings(const LabelSettings& s) {
  ByteWriter out;
  out.U32(kLabelSettingsVersion);
  for (auto field : kWords) out.U32(s.*field);
  WriteFontBlock(out, s.font);
  out.Block(s.backPicture);
  out.CountedText(s.title);
  out.CountedText(s.dataSource);
  out.CountedText(s.dataColumn);
  return out.Take();
}

}  // namespace vorrik
