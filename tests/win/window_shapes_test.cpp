// Window outlines: every shape keeps the window's centre, shapes from 1 on
// cut away at least one corner, and the choice is clamped to the last shape.
#include <gtest/gtest.h>

#include "windows/kinds/window_shapes.h"

namespace vorrik {
namespace {

TEST(WindowShapes, EveryShapeKeepsTheCentreAndCutsACorner) {
  constexpr int w = 300, h = 200;
  EXPECT_EQ(CreateShapeRegion(0, w, h), nullptr);
  EXPECT_EQ(CreateShapeRegion(kHighestShape + 1, w, h), nullptr);
  for (uint32_t shape = 1; shape <= kHighestShape; ++shape) {
    HRGN region = CreateShapeRegion(shape, w, h);
    ASSERT_TRUE(region) << shape;
    EXPECT_TRUE(PtInRegion(region, w / 2, h / 2)) << "centre of shape " << shape;
    const bool cornerCut = !PtInRegion(region, 0, 0) || !PtInRegion(region, w - 1, 0) ||
                           !PtInRegion(region, 0, h - 1) || !PtInRegion(region, w - 1, h - 1);
    EXPECT_TRUE(cornerCut) << "shape " << shape << " is the plain rectangle";
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, w + 1);
    EXPECT_LE(box.bottom, h + 1);
    DeleteObject(region);
  }
}

TEST(WindowShapes, ShapesDifferFromEachOther) {
  constexpr int w = 240, h = 180;
  for (uint32_t a = 1; a <= kHighestShape; ++a) {
    for (uint32_t b = a + 1; b <= kHighestShape; ++b) {
      HRGN first = CreateShapeRegion(a, w, h), second = CreateShapeRegion(b, w, h);
      EXPECT_FALSE(EqualRgn(first, second)) << a << " and " << b;
      DeleteObject(first);
      DeleteObject(second);
    }
  }
}

}  // namespace
}  // namespace vorrik
