// The Label kind: a window of its own class that draws its frame, gradient,
// picture and caption itself, double-buffered.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "windows/kinds/kind.h"

namespace vorrik::label {

enum OwnIndex : int32_t {
  kTitle = 0,
  kTextEffect = 1,
  kBorderStyle = 2,
  kFrameWidth = 3,
  kFrameColor1 = 4,
  kFrameColor2 = 5,
  kFrameColor3 = 6,
  kFont = 7,
  kTextColor = 8,
  kBackColor = 9,
  kBackPicture = 10,
  kPictureMode = 11,
  kGradientMode = 12,
  kGradientColor1 = 13,
  kGradientColor2 = 14,
  kGradientColor3 = 15,
  kHAlign = 16,
  kWordWrap = 17,
  kVAlign = 18,
  kDataSource = 19,
  kDataColumn = 20,
};

extern const std::array<PropertyType, 29> kProperties;

HWND Create(const CreateArguments& args);
// Texts are ConstText and blocks ByteBuffer values; what GetProperty hands
// out for them stays the label's, valid until its next read or write.
bool SetProperty(HWND control, int32_t ownIndex, uint32_t value);
uint32_t GetProperty(HWND control, int32_t ownIndex);
std::vector<uint8_t> SaveSettings(HWND control);

// Draws the whole label into dc; serves WM_PAINT and WM_PRINTCLIENT.
void Paint(HWND control, HDC dc, RECT client);

}  // namespace vorrik::label
