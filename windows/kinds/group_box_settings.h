// The GroupBox kind's settings block (version 1; 0 is read the same way).
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "windows/kinds/settings_common.h"

namespace vorrik {

constexpr uint32_t kGroupBoxSettingsVersion = 1;

struct GroupBoxSettings {
  uint32_t titleAlign = 0;
  uint32_t textColor = 0;
  uint32_t backColor = kDefaultColour;
  std::optional<LogFont> font;  // none: the default GUI font
  std::string title;
  bool operator==(const GroupBoxSettings&) const = default;
};

std::optional<GroupBoxSettings> DecodeGroupBoxSettings(std::span<const uint8_t> block);
std::vector<uint8_t> EncodeGroupBoxSettings(const GroupBoxSettings& settings);

}  // namespace vorrik
