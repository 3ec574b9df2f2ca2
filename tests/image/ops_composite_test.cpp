// compositeImage's modes, growing the base, layers at and beyond the edges, and differenceImage.
#include <gtest/gtest.h>

#include <string>

#include "image/ops/blend.h"
#include "image/ops/difference.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {

TEST(CompositeImage, CopyModes) {
  OwnedImage base = filledImage(3, 1, 32, 0xFF111111);
  const OwnedImage layer = makeImage(3, 1, 32, [](int x, int) { return x == 1 ? 0x00ABCDEFu : 0x80ABCDEFu; });
  ASSERT_EQ(compositeImage(base.address(), layer.get(), 1, 0, 0, 0), 1);
  EXPECT_EQ(base.at(0, 0), 0x80ABCDEFu);
  EXPECT_EQ(base.at(1, 0), 0xFF111111u);
  ASSERT_EQ(compositeImage(base.address(), layer.get(), 0, 0, 0, 0), 1);
  EXPECT_EQ(base.at(1, 0), 0x00ABCDEFu);
}

TEST(CompositeImage, XorTouchesColourOnly) {
  OwnedImage base = filledImage(2, 1, 32, 0x80F0F0F0);
  const OwnedImage layer = filledImage(2, 1, 32, 0xFF0F0FF0);
  ASSERT_EQ(compositeImage(base.address(), layer.get(), 2, 0, 0, 0), 1);
  EXPECT_EQ(base.at(0, 0), 0x80FFFF00u);
}

TEST(CompositeImage, AlphaModeIsNormalBlendingAtFullOpacity) {
  OwnedImage a = randomImage(16, 16, 32, 30), b = randomImage(16, 16, 32, 30);
  const OwnedImage layer = randomImage(10, 10, 32, 31);
  ASSERT_EQ(compositeImage(a.address(), layer.get(), 4, 3, -2, 0), 1);
  ASSERT_EQ(blendImage(b.address(), layer.get(), 1, 3, -2, 256, 0), 1);
  EXPECT_EQ(a.pixels(), b.pixels());
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(compositeImage(a.address(), layer.get(), 3, 0, 0, 0), 0); }), "-CMP: モードの設定が無効です\n");
}

struct PlacementCase {
  const char* name;
  int x, y;
  bool expand;
  int width, height, left, top;
};

// A 4 x 3 base at (100, 50) and a 2 x 2 layer.
const PlacementCase kPlacements[] = {
    {"InsideKeepsTheBase", 1, 1, true, 4, 3, 100, 50},
    {"ClippedAtTheRightWithoutExpand", 3, 2, false, 4, 3, 100, 50},
    {"GrowsToTheRightAndDown", 3, 2, true, 5, 4, 100, 50},
    {"GrowsToTheLeftAndTop", -10, -10, true, 14, 13, 90, 40},
    {"FarOutsideGrowsToTheUnion", 10, 0, true, 12, 3, 100, 50},
};

class LayerPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(LayerPlacementTest, PlacesTheLayerAndKeepsTheOldPixelsInPlace) {
  const PlacementCase c = GetParam();
  OwnedImage base = makeImage(4, 3, 24, positionPixel);
  base->left = 100;
  base->top = 50;
  const OwnedImage layer = filledImage(2, 2, 32, 0xFFABCDEF);
  ASSERT_EQ(compositeImage(base.address(), layer.get(), 0, c.x, c.y, c.expand), 1);
  ASSERT_EQ(base->width, c.width);
  ASSERT_EQ(base->height, c.height);
  EXPECT_EQ(base->left, c.left);
  EXPECT_EQ(base->top, c.top);
  const int dx = c.left - 100, dy = c.top - 50;  // where the old origin moved
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      const int lx = x + dx - c.x, ly = y + dy - c.y;  // position in the layer
      const int ox = x + dx, oy = y + dy;              // position in the old base
      uint32_t expected = 0;
      if (lx >= 0 && ly >= 0 && lx < 2 && ly < 2) {
        expected = 0xFFABCDEF;
      } else if (ox >= 0 && oy >= 0 && ox < 4 && oy < 3) {
        expected = positionPixel(ox, oy);
      }
      EXPECT_EQ(base.at(x, y), expected) << x << "," << y;
    }
  }
  EXPECT_TRUE(spareRowIsClear(*base));
}

INSTANTIATE_TEST_SUITE_P(Placements, LayerPlacementTest, ::testing::ValuesIn(kPlacements),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CompositeImage, ExpandingMakesTheBase32Bit) {
  OwnedImage base = filledImage(2, 2, 24, 0xFF000000);
  const OwnedImage layer = filledImage(1, 1, 24, 0xFFFFFFFF);
  ASSERT_EQ(blendImage(base.address(), layer.get(), 1, -1, 0, 256, 1), 1);
  EXPECT_EQ(base->bitsPerPixel, 32);
  EXPECT_EQ(base.at(0, 1), 0u);
}

TEST(CompositeImage, ColourOnAGreyPictureMakesItAColourOne) {
  OwnedImage base = filledImage(2, 2, 8, 0xFF808080);
  const OwnedImage grey = filledImage(1, 1, 8, 0xFF404040);
  ASSERT_EQ(blendImage(base.address(), grey.get(), 1, 0, 0, 256, 0), 1);
  EXPECT_EQ(base->bitsPerPixel, 8);
  const OwnedImage red = filledImage(1, 1, 24, 0xFFFF0000);
  ASSERT_EQ(blendImage(base.address(), red.get(), 1, 0, 0, 256, 0), 1);
  EXPECT_EQ(base->bitsPerPixel, 24);
}

TEST(CompositeImage, ALayerOutsideTheBaseFailsWithTheRangeReport) {
  OwnedImage base = filledImage(4, 4, 32, 0xFF000000);
  const OwnedImage layer = filledImage(2, 2, 32, 0xFFFFFFFF);
  for (auto [x, y] : {std::pair{4, 0}, std::pair{0, -2}, std::pair{-2000000000, 5}}) {
    EXPECT_EQ(printedBy([&] { EXPECT_EQ(compositeImage(base.address(), layer.get(), 4, x, y, 0), 0); }), "-CMP: 範囲の設定が無効です\n");
    EXPECT_EQ(printedBy([&] { EXPECT_EQ(blendImage(base.address(), layer.get(), 1, x, y, 256, 0), 0); }), "-BLD: 範囲の設定が無効です\n");
  }
}

TEST(CompositeImage, ExpandSizesAreSixtyFourBit) {
  // The union would be over two billion pixels wide; it is refused, not wrapped into a small one.
  OwnedImage base = filledImage(4, 4, 32, 0xFF000000);
  Image* const before = base.get();
  const OwnedImage layer = filledImage(2, 2, 32, 0xFFFFFFFF);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(blendImage(base.address(), layer.get(), 1, 2147483600, 0, 256, 1), 0); }),
            "-BLD: メモリを確保出来ませんでした\n");
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(compositeImage(base.address(), layer.get(), 0, -2147483647, -2147483647, 1), 0); }),
            "-CMP: メモリを確保出来ませんでした\n");
  EXPECT_EQ(base.get(), before);
}

TEST(CompositeImage, ALayerMayBeTheBaseItself) {
  OwnedImage base = makeImage(4, 1, 32, positionPixel);
  ASSERT_EQ(compositeImage(base.address(), base.get(), 0, 1, 0, 0), 1);
  EXPECT_EQ(base.at(0, 0), positionPixel(0, 0));
  EXPECT_EQ(base.at(1, 0), positionPixel(0, 0));
  EXPECT_EQ(base.at(3, 0), positionPixel(2, 0));
}

TEST(DifferenceImage, ClipsToTheChangedRectangle) {
  OwnedImage base = makeImage(6, 5, 32, positionPixel);
  OwnedImage other = makeImage(6, 5, 32, positionPixel);
  other.at(2, 1) ^= 0x10;
  other.at(4, 3) ^= 0x01000000;
  ASSERT_EQ(differenceImage(base.address(), other.get(), 0, 0), 1);
  EXPECT_EQ(base->width, 3);
  EXPECT_EQ(base->height, 3);
  EXPECT_EQ(base->left, 2);
  EXPECT_EQ(base->top, 1);
  EXPECT_EQ(base.at(0, 0), positionPixel(2, 1));
}

TEST(DifferenceImage, ComparisonsToleranceAndClearing) {
  const OwnedImage other = makeImage(6, 5, 32, positionPixel);
  auto changed = [] {
    OwnedImage base = makeImage(6, 5, 32, positionPixel);
    base.at(1, 1) ^= 0x02;        // colour, by 2
    base.at(4, 4) ^= 0x10000000;  // alpha
    return base;
  };
  OwnedImage colourOnly = changed();
  ASSERT_EQ(differenceImage(colourOnly.address(), other.get(), 1, 0), 1);
  EXPECT_EQ(colourOnly->width, 1);
  OwnedImage alphaOnly = changed();
  ASSERT_EQ(differenceImage(alphaOnly.address(), other.get(), 2, 0), 1);
  EXPECT_EQ(alphaOnly->left, 4);
  OwnedImage tolerant = changed();
  ASSERT_EQ(differenceImage(tolerant.address(), other.get(), 1, 2), 1);
  EXPECT_EQ(tolerant->width, 1);  // nothing left: one transparent pixel
  EXPECT_EQ(tolerant.at(0, 0), 0u);
  OwnedImage cleared = changed();
  ASSERT_EQ(differenceImage(cleared.address(), other.get(), 4, 0), 1);
  EXPECT_EQ(cleared->width, 4);
  EXPECT_EQ(cleared.at(0, 0), positionPixel(1, 1) ^ 0x02);
  EXPECT_EQ(cleared.at(1, 0), 0u);
  EXPECT_EQ(cleared.at(3, 3), positionPixel(4, 4) ^ 0x10000000);
}

TEST(DifferenceImage, PicturesOfDifferentSizesAreRefused) {
  OwnedImage base = filledImage(4, 4, 32, 0);
  const OwnedImage other = filledImage(4, 5, 32, 0);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(differenceImage(base.address(), other.get(), 0, 0), 0); }),
            "-DIF: 二つの画像のサイズが違います\n");
}

}  // namespace
}  // namespace vellum::ops_test
