// Rotating small known pictures: exact quarter turns, free angles and the scale step.
#include <gtest/gtest.h>

#include <string>

#include "image/ops/rotate.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {

struct QuarterCase {
  double degrees;
  int turns;  // counter-clockwise quarter turns it amounts to
};

const QuarterCase kQuarterCases[] = {{0, 0}, {90, 1}, {180, 2}, {270, 3}, {-90, 3}, {-180, 2}, {-270, 1}, {360, 0}, {450, 1}, {-720, 0}};

class QuarterTurns : public ::testing::TestWithParam<QuarterCase> {};

// Where source pixel (x, y) of a w x h picture lands after n counter-clockwise quarter turns.
void landing(int x, int y, int w, int h, int turns, int& tx, int& ty) {
  switch (turns) {
    case 0: tx = x, ty = y; break;
    case 1: tx = y, ty = w - 1 - x; break;
    case 2: tx = w - 1 - x, ty = h - 1 - y; break;
    default: tx = h - 1 - y, ty = x; break;
  }
}

TEST_P(QuarterTurns, MoveEveryPixelExactly) {
  const QuarterCase c = GetParam();
  OwnedImage source = makeImage(3, 2, 24, positionPixel);
  OwnedImage out;
  ASSERT_EQ(rotateImage(out.address(), source.get(), c.degrees, 0, 1), 1);
  ASSERT_EQ(out->width, c.turns % 2 ? 2 : 3);
  ASSERT_EQ(out->height, c.turns % 2 ? 3 : 2);
  EXPECT_EQ(out->bitsPerPixel, 24);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      int tx, ty;
      landing(x, y, 3, 2, c.turns, tx, ty);
      EXPECT_EQ(out.at(tx, ty), positionPixel(x, y)) << c.degrees << ": " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Angles, QuarterTurns, ::testing::ValuesIn(kQuarterCases), [](const auto& info) {
  const int degrees = static_cast<int>(info.param.degrees);
  return (degrees < 0 ? "Minus" + std::to_string(-degrees) : std::to_string(degrees)) + "Degrees";
});

TEST(RotateImage, NinetyDegreesTurnsTheRightEdgeToTheTop) {
  // Counter-clockwise on screen: the right column becomes the top row.
  const OwnedImage source = makeImage(2, 1, 24, [](int x, int) { return x == 1 ? 0xFFFF0000u : 0xFF0000FFu; });
  OwnedImage out;
  ASSERT_EQ(rotateImage(out.address(), source.get(), 90, 0, 0), 1);
  EXPECT_EQ(out.at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(out.at(0, 1), 0xFF0000FFu);
}

TEST(RotateImage, FreeAngleFillsTheBoundingBoxAndLeavesCornersTransparent) {
  const OwnedImage source = filledImage(20, 10, 24, 0xFF336699);
  for (int filter : {0, 1}) {
    OwnedImage out;
    ASSERT_EQ(rotateImage(out.address(), source.get(), 45, 0, filter), 1);
    // 20 cos 45 + 10 sin 45 = 21.2 -> 22 on both sides.
    EXPECT_EQ(out->width, 22);
    EXPECT_EQ(out->height, 22);
    EXPECT_EQ(out->bitsPerPixel, 32);
    EXPECT_EQ(out.at(11, 11), 0xFF336699u) << filter;
    EXPECT_EQ(out.at(0, 0), 0u) << filter;
    EXPECT_EQ(out.at(21, 21), 0u) << filter;
  }
}

TEST(RotateImage, BilinearEdgesFadeOutInsteadOfDarkening) {
  const OwnedImage source = filledImage(16, 16, 24, 0xFFFFFFFF);
  OwnedImage out;
  ASSERT_EQ(rotateImage(out.address(), source.get(), 30, 0, 1), 1);
  for (uint32_t p : out.pixels()) {
    if (p >> 24) {
      EXPECT_EQ(p & 0xFFFFFF, 0xFFFFFFu);
    }
  }
}

TEST(RotateImage, AScaleResizesAfterTurning) {
  const OwnedImage source = makeImage(4, 2, 24, positionPixel);
  OwnedImage out;
  ASSERT_EQ(rotateImage(out.address(), source.get(), 90, 2, 1), 1);
  EXPECT_EQ(out->width, 4);
  EXPECT_EQ(out->height, 8);
  ASSERT_EQ(rotateImage(out.address(), source.get(), 0, 1, 1), 1);
  EXPECT_EQ(out.pixels(), source.pixels());
}

TEST(RotateImage, RefusesUnknownFiltersAndNegativeScales) {
  const OwnedImage source = makeImage(4, 2, 24, positionPixel);
  OwnedImage out;
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(rotateImage(out.address(), source.get(), 10, 0, 2), 0); }), "-ROT: モードの設定が無効です\n");
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(rotateImage(out.address(), source.get(), 10, -1, 1), 0); }), "-ROT: 幅値の設定が無効です\n");
  EXPECT_EQ(out.get(), nullptr);
}

}  // namespace
}  // namespace vellum::ops_test
