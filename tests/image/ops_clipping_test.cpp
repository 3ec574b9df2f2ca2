// Clipping, erasing, trimming, copying and flipping, at and beyond the picture's edges.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/ops/clipping.h"
#include "image/ops/flip.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {

struct ClipCase {
  const char* name;
  int x, y, width, height;
  int expectWidth, expectHeight;
};

// A 5 x 4 source of position pixels; every expected pixel is the source's at (x + i, y + j), or 0
// where that lies outside.
const ClipCase kClipCases[] = {
    {"Inside", 1, 1, 2, 2, 2, 2},
    {"WholeBySizeZero", 0, 0, 0, 0, 5, 4},
    {"NegativeSizeMeansOwn", 1, 0, -3, 2, 5, 2},
    {"TouchingTheRightEdge", 3, 0, 2, 4, 2, 4},
    {"PastTheRightEdge", 3, 1, 4, 2, 4, 2},
    {"PastTheTopLeft", -2, -1, 4, 3, 4, 3},
    {"AroundTheWholePicture", -1, -1, 7, 6, 7, 6},
    {"LastPixelOnly", 4, 3, 5, 5, 5, 5},
};

class Clipping : public ::testing::TestWithParam<ClipCase> {};

TEST_P(Clipping, CopiesTheInsideAndClearsTheOutside) {
  const ClipCase c = GetParam();
  OwnedImage source = makeImage(5, 4, 32, positionPixel);
  std::strcpy(source->name, "layer");
  source->mode = 3;
  // A reused output with stale pixels must still come out cleared outside.
  OwnedImage out = filledImage(c.expectWidth, c.expectHeight, 32, 0xDEADBEEF);
  ASSERT_EQ(clippingImage(out.address(), source.get(), c.x, c.y, c.width, c.height), 1);
  ASSERT_EQ(out->width, c.expectWidth);
  ASSERT_EQ(out->height, c.expectHeight);
  EXPECT_EQ(out->left, c.x);
  EXPECT_EQ(out->top, c.y);
  EXPECT_EQ(out->mode, 3);
  EXPECT_STREQ(out->name, "layer");
  for (int j = 0; j < c.expectHeight; ++j) {
    for (int i = 0; i < c.expectWidth; ++i) {
      const int sx = c.x + i, sy = c.y + j;
      const bool inside = sx >= 0 && sy >= 0 && sx < 5 && sy < 4;
      EXPECT_EQ(out.at(i, j), inside ? positionPixel(sx, sy) : 0u) << i << "," << j;
    }
  }
  EXPECT_TRUE(spareRowIsClear(*out));
}

INSTANTIATE_TEST_SUITE_P(Rectangles, Clipping, ::testing::ValuesIn(kClipCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct OutsideCase {
  const char* name;
  int x, y, width, height;
};

const OutsideCase kOutsideCases[] = {
    {"Right", 5, 0, 2, 2}, {"Below", 0, 4, 2, 2}, {"Left", -2, 0, 2, 2},
    {"Above", 0, -3, 2, 3}, {"FarAway", 2000000000, 2000000000, 2000000000, 2000000000},
};

class ClippingOutside : public ::testing::TestWithParam<OutsideCase> {};

TEST_P(ClippingOutside, FailsWithTheRangeReport) {
  const OutsideCase c = GetParam();
  const OwnedImage source = makeImage(5, 4, 32, positionPixel);
  OwnedImage out;
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(clippingImage(out.address(), source.get(), c.x, c.y, c.width, c.height), 0); }),
            "-CUT: 範囲の設定が無効です\n");
  EXPECT_EQ(out.get(), nullptr);
  OwnedImage erased = makeImage(5, 4, 32, positionPixel);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(eraseImage(erased.get(), c.x, c.y, c.width, c.height), 0); }),
            "-ERS: 範囲の設定が無効です\n");
}

INSTANTIATE_TEST_SUITE_P(Rectangles, ClippingOutside, ::testing::ValuesIn(kOutsideCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Clipping, AHugeRectangleReachingInFailsForMemoryNotByCrashing) {
  const OwnedImage source = makeImage(5, 4, 32, positionPixel);
  OwnedImage out;
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(clippingImage(out.address(), source.get(), -2000000000, 0, 2000000001, 2), 0); }),
            "-CUT: メモリを確保出来ませんでした\n");
}

TEST(EraseImage, ClearsTheClippedRectangleAndMakesThePicture32Bit) {
  OwnedImage picture = makeImage(5, 4, 24, positionPixel);
  ASSERT_EQ(eraseImage(picture.get(), 3, -1, 10, 2), 1);
  EXPECT_EQ(picture->bitsPerPixel, 32);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(picture.at(x, y), x >= 3 && y < 1 ? 0u : positionPixel(x, y)) << x << "," << y;
  }
}

TEST(TrimmingImage, ClipsToTheVisiblePartWithAMargin) {
  OwnedImage picture = makeImage(8, 6, 32, [](int x, int y) { return (x == 3 && y == 2) || (x == 5 && y == 3) ? 0x80FFFFFFu : 0x00FFFFFFu; });
  OwnedImage out;
  ASSERT_EQ(trimmingImage(out.address(), picture.get(), 0, 0, 0), 1);
  EXPECT_EQ(out->width, 3);
  EXPECT_EQ(out->height, 2);
  EXPECT_EQ(out->left, 3);
  EXPECT_EQ(out->top, 2);
  ASSERT_EQ(trimmingImage(out.address(), picture.get(), 0, 1, 0), 1);
  EXPECT_EQ(out->width, 5);
  EXPECT_EQ(out->height, 4);
  // The margin stops at the picture's edges.
  ASSERT_EQ(trimmingImage(out.address(), picture.get(), 0, 10, 0), 1);
  EXPECT_EQ(out->width, 8);
  EXPECT_EQ(out->height, 6);
  // Above the threshold nothing is visible.
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(trimmingImage(out.address(), picture.get(), 0x80, 0, 0), 0); }),
            "-TRM: 範囲の設定が無効です\n");
}

TEST(TrimmingImage, ByColourTrimsAPlainBackground) {
  OwnedImage picture = makeImage(6, 5, 24, [](int x, int y) { return x >= 2 && x <= 3 && y == 4 ? 0xFF112233u : 0xFFFFFFFFu; });
  ASSERT_EQ(trimmingImage2(picture.address(), 0, 0, 1), 1);
  EXPECT_EQ(picture->width, 2);
  EXPECT_EQ(picture->height, 1);
  EXPECT_EQ(picture.at(0, 0), 0xFF112233u);
}

TEST(CopyImage, CopiesPixelsAndMetadata) {
  OwnedImage source = randomImage(7, 3, 32, 4);
  source->left = -5;
  source->top = 9;
  source->mode = 2;
  std::strcpy(source->name, "copy me");
  OwnedImage out;
  ASSERT_EQ(copyImage(out.address(), source.get()), 1);
  EXPECT_EQ(out.pixels(), source.pixels());
  EXPECT_EQ(out->left, -5);
  EXPECT_EQ(out->top, 9);
  EXPECT_EQ(out->mode, 2);
  EXPECT_STREQ(out->name, "copy me");
}

TEST(Flip, MirrorsLeftRightAndTopBottom) {
  const OwnedImage source = makeImage(3, 2, 32, positionPixel);
  OwnedImage horizontal, vertical;
  ASSERT_EQ(flipHorizontalImage(horizontal.address(), source.get()), 1);
  ASSERT_EQ(flipVerticalImage(vertical.address(), source.get()), 1);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(horizontal.at(x, y), positionPixel(2 - x, y));
      EXPECT_EQ(vertical.at(x, y), positionPixel(x, 1 - y));
    }
  }
  // Twice is the original.
  ASSERT_EQ(flipHorizontalImage2(horizontal.address()), 1);
  EXPECT_EQ(horizontal.pixels(), source.pixels());
}

}  // namespace
}  // namespace vellum::ops_test
