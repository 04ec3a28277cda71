// The Button kind's settings block (version 1; 0 is read the same way).
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "windows/kinds/settings_common.h"

namespace vorrik {

constexpr uint32_t kButtonSettingsVersion = 1;

struct ButtonSettings {
  uint32_t isDefault = 0;
  uint32_t hAlign = 1;
  uint32_t vAlign = 1;
  std::vector<uint8_t> picture;
  std::optional<LogFont> font;  // none: the default GUI font
  std::string title = "按钮";
  bool operator==(const ButtonSettings&) const = default;
};

std::optional<ButtonSettings> DecodeButtonSettings(std::span<const uint8_t> block);
std::vector<uint8_t> EncodeButtonSettings(const ButtonSettings& settings);

}  // namespace vorrik
