// The window kind's settings block. Versions 0 to 6 are read; fields that
// came with a later version keep their defaults in an older block.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "windows/kinds/settings_common.h"

namespace vorrik {

constexpr uint32_t kWindowSettingsVersion = 6;

struct WindowSettings {
  uint32_t borderStyle = 2;
  uint32_t pictureMode = 1;
  uint32_t backColor = kDefaultColour;
  uint32_t maxButton = 0;
  uint32_t minButton = 0;
  uint32_t controlBox = 1;
  uint32_t startPosition = 1;
  uint32_t movable = 1;
  uint32_t musicRepeat = 0;
  uint32_t enterMovesFocus = 0;
  uint32_t escCloses = 1;
  uint32_t f1OpensHelp = 0;
  uint32_t helpContext = 0;
  uint32_t showInTaskbar = 1;    // version 2 on
  uint32_t dragAnywhere = 0;     // version 3 on
  uint32_t shape = 0;            // version 3 on
  uint32_t alwaysOnTop = 0;      // version 4 on
  uint32_t keepTitleActive = 0;  // version 5 on
  std::string className;         // version 6
  std::vector<uint8_t> backPicture;
  std::vector<uint8_t> icon;  // an icon file
  std::vector<uint8_t> backMusic;
  std::string title;
  std::string helpFile;
  bool operator==(const WindowSettings&) const = default;
};

// An empty block gives the defaults; a version above the highest or a block
// that ends inside a field gives nothing.
std::optional<WindowSettings> DecodeWindowSettings(std::span<const uint8_t> block);
// Always at the highest version.
std::vector<uint8_t> EncodeWindowSettings(const WindowSettings& settings);

}  // namespace vorrik
