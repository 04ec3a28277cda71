// The GroupBox kind: a standard group-box frame that holds other controls
// and passes their notifications on to the window.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "windows/kinds/kind.h"

namespace vorrik::group_box {

enum OwnIndex : int32_t {
  kTitle = 0,
  kTitleAlign = 1,
  kTextColor = 2,
  kBackColor = 3,
  kFont = 4,
};

extern const std::array<PropertyType, 13> kProperties;

HWND Create(const CreateArguments& args);
// Texts are ConstText and blocks ByteBuffer values; what GetProperty hands
// out for them stays the group box's, valid until its next read or write.
bool SetProperty(HWND control, int32_t ownIndex, uint32_t value);
uint32_t GetProperty(HWND control, int32_t ownIndex);
std::vector<uint8_t> SaveSettings(HWND control);

}  // namespace vorrik::group_box
