// The Label kind's settings block. Versions 0 to 2 are read; the data
// source fields came with version 2.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "windows/kinds/settings_common.h"

namespace vorrik {

constexpr uint32_t kLabelSettingsVersion = 2;

struct LabelSettings {
  uint32_t textEffect = 0;
  uint32_t frameWidth = 8;
  uint32_t borderStyle = 0;
  uint32_t frameColor1 = 0x808080;
  uint32_t frameColor2 = 0xFFFFFF;
  uint32_t frameColor3 = 0x808080;
  uint32_t textColor = 0;
  uint32_t backColor = kDefaultColour;
  uint32_t pictureMode = 1;
  uint32_t gradientMode = 0;
  uint32_t gradientColor1 = 0x808080;
  uint32_t gradientColor2 = 0xFFFFFF;
  uint32_t gradientColor3 = 0x808080;
  uint32_t hAlign = 0;
  uint32_t vAlign = 1;
  uint32_t wordWrap = 0;
  std::optional<LogFont> font;  // none: the default GUI font
  std::vector<uint8_t> backPicture;
  std::string title = "标签";
  std::string dataSource;  // version 2
  std::string dataColumn;  // version 2
  bool operator==(const LabelSettings&) const = default;
};

std::optional<LabelSettings> DecodeLabelSettings(std::span<const uint8_t> block);
std::vector<uint8_t> EncodeLabelSettings(const LabelSettings& settings);

}  // namespace vorrik
