// Writing our skin files (see skin_format.h). Used by the skin build tool and
// the tests; the engine only reads.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "skinengine/skin_format.h"

namespace vorrik::skin {

struct OwnedImage {
  uint32_t role = kImageNone;
  uint32_t format = kAlpha8;
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> pixels;
  bool operator==(const OwnedImage&) const = default;
};

struct Skin {
  std::string name;
  std::array<uint32_t, kColourCount> colours{};
  std::array<int32_t, kMetricCount> metrics{};
  std::vector<OwnedImage> images;  // written in this order
  bool operator==(const Skin&) const = default;
};

// Version 1 bytes: name (when not empty), palette, metrics, images, end.
std::vector<uint8_t> WriteSkin(const Skin& skin);

// An owning copy of a read skin, its images in role order.
Skin SkinFromView(const SkinView& view);

}  // namespace vorrik::skin
