// Window outlines: 0 the plain rectangle, 1 an ellipse, 2 a rounded
// rectangle, 3 to 29 our own set of polygons and rounded forms.
#pragma once
#include <windows.h>

#include <cstdint>

namespace vorrik {

constexpr uint32_t kHighestShape = 29;

// The outline of a window of the given size, or null for the plain rectangle.
HRGN CreateShapeRegion(uint32_t shape, int width, int height);

}  // namespace vorrik
