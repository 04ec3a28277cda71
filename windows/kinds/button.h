// The Button kind: a standard push button that raises Clicked when it
// reports a click, and the focus events.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "windows/kinds/kind.h"

namespace vorrik::button {

enum OwnIndex : int32_t {
  kPicture = 0,
  kIsDefault = 1,
  kTitle = 2,
  kHAlign = 3,
  kVAlign = 4,
  kFont = 5,
};

extern const std::array<PropertyType, 14> kProperties;

HWND Create(const CreateArguments& args);
// Texts are ConstText and blocks ByteBuffer values; what GetProperty hands
// out for them stays the button's, valid until its next read or write.
bool SetProperty(HWND control, int32_t ownIndex, uint32_t value);
uint32_t GetProperty(HWND control, int32_t ownIndex);
std::vector<uint8_t> SaveSettings(HWND control);

}  // namespace vorrik::button
