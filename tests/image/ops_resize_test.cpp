// Resizing small known pictures, the size rules of the three kinds, and refused arguments.
#include <gtest/gtest.h>

#include <string>

#include "image/ops/resize.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {

struct SizeCase {
  const char* name;
  int width, height;
  double a, b;
  int kind;
  int expectWidth, expectHeight;
};

const SizeCase kSizeCases[] = {
    {"PercentHalves", 40, 30, 50, 50, 0, 20, 15},
    {"PercentRoundsToNearest", 7, 3, 50, 50, 0, 4, 2},
    {"PercentZeroTakesTheOther", 40, 30, 0, 200, 0, 80, 60},
    {"PixelsAsGiven", 40, 30, 13, 7, 1, 13, 7},
    {"PixelsZeroWidthKeepsAspect", 40, 30, 0, 15, 1, 20, 15},
    {"PixelsZeroHeightKeepsAspect", 40, 30, 10, 0, 1, 10, 8},
    {"FactorDoubles", 5, 3, 2, 2, 2, 10, 6},
    {"FactorZeroTakesTheOther", 5, 3, 3, 0, 2, 15, 9},
    {"FactorMixed", 5, 4, 0.5, 1.5, 2, 3, 6},
    {"TinyBecomesOne", 40, 30, 1, 1, 0, 1, 1},
};

class ResizeSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ResizeSize, ComputesTheTargetSize) {
  const SizeCase c = GetParam();
  const OwnedImage source = randomImage(c.width, c.height, 24, 3);
  OwnedImage out;
  ASSERT_EQ(resizeImage(out.address(), source.get(), c.a, c.b, c.kind, 1, 1), 1);
  EXPECT_EQ(out->width, c.expectWidth);
  EXPECT_EQ(out->height, c.expectHeight);
  EXPECT_TRUE(spareRowIsClear(*out));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ResizeSize, ::testing::ValuesIn(kSizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
  const char* name;
  double a, b;
  int kind, shrink, enlarge;
  const char* line;
};

const RefusedCase kRefusedCases[] = {
    {"FactorsBelowOne", 0.5, 0.5, 2, 1, 1, "-RES: 幅値の設定が無効です\n"},
    {"BothZero", 0, 0, 1, 1, 1, "-RES: 幅値の設定が無効です\n"},
    {"NegativeWidth", -5, 10, 1, 1, 1, "-RES: 幅値の設定が無効です\n"},
    {"UnknownKind", 10, 10, 3, 1, 1, "-RES: モードの設定が無効です\n"},
    {"UnknownShrinkFilter", 2, 2, 1, 3, 1, "-RES: モードの設定が無効です\n"},
    {"UnknownEnlargeFilter", 20, 20, 1, 1, -1, "-RES: モードの設定が無効です\n"},
    // The size is worked out in 64 bits, so an absurd one is refused instead of wrapping.
    {"TooLarge", 100000, 100000, 1, 1, 1, "-RES: メモリを確保出来ませんでした\n"},
    {"BeyondThirtyTwoBits", 1e12, 1, 1, 1, 1, "-RES: 幅値の設定が無効です\n"},
};

class ResizeRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(ResizeRefused, FailsWithTheReportAndLeavesTheOutput) {
  const RefusedCase c = GetParam();
  const OwnedImage source = randomImage(4, 4, 24, 3);
  OwnedImage out = filledImage(2, 2, 24, 0xFF010203);
  Image* const before = out.get();
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(resizeImage(out.address(), source.get(), c.a, c.b, c.kind, c.shrink, c.enlarge), 0); }),
            c.line);
  EXPECT_EQ(out.get(), before);
  EXPECT_EQ(out.at(1, 1), 0xFF010203u);
}

INSTANTIATE_TEST_SUITE_P(Arguments, ResizeRefused, ::testing::ValuesIn(kRefusedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResizeImage, SameSizeCopiesExactly) {
  const OwnedImage source = randomImage(9, 5, 32, 8);
  OwnedImage out;
  ASSERT_EQ(resizeImage(out.address(), source.get(), 100, 100, 0, 7, 7), 1);
  EXPECT_EQ(out.pixels(), source.pixels());
}

TEST(ResizeImage, NearestEnlargeRepeatsPixels) {
  const OwnedImage source = makeImage(2, 2, 24, positionPixel);
  OwnedImage out;
  ASSERT_EQ(resizeImage(out.address(), source.get(), 4, 4, 1, 0, 0), 1);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(out.at(x, y), positionPixel(x / 2, y / 2)) << x << "," << y;
  }
}

TEST(ResizeImage, AreaAverageShrinkAveragesBlocks) {
  const OwnedImage source = makeImage(4, 2, 24, [](int x, int y) {
    static const uint32_t grey[2][4] = {{0, 100, 10, 20}, {200, 50, 30, 41}};
    return 0xFF000000u | grey[y][x] * 0x010101u;
  });
  OwnedImage out;
  ASSERT_EQ(resizeImage(out.address(), source.get(), 2, 1, 1, 1, 1), 1);
  EXPECT_EQ(out.at(0, 0), 0xFF000000u | 88u * 0x010101u);  // (0 + 100 + 200 + 50) / 4 = 87.5
  EXPECT_EQ(out.at(1, 0), 0xFF000000u | 25u * 0x010101u);  // (10 + 20 + 30 + 41) / 4 = 25.25
}

TEST(ResizeImage, AreaAverageOfAWholeLargePictureIsItsMean) {
  // Every source row and column feeds the one target pixel.
  const OwnedImage source = makeImage(3000, 2000, 24, [](int x, int) { return x < 1500 ? 0xFF000000u : 0xFFC8C8C8u; });
  OwnedImage out;
  ASSERT_EQ(resizeImage(out.address(), source.get(), 1, 1, 1, 1, 1), 1);
  EXPECT_EQ(out.at(0, 0), 0xFF646464u);
}

TEST(ResizeImage, NearestShrinkTakesThePixelUnderEachCentre) {
  const OwnedImage source = makeImage(900, 700, 24, positionPixel);
  OwnedImage out;
  ASSERT_EQ(resizeImage(out.address(), source.get(), 7, 3, 1, 0, 0), 1);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(out.at(x, y), positionPixel((2 * x + 1) * 900 / 14, (2 * y + 1) * 700 / 6));
  }
}

TEST(ResizeImage, BilinearEnlargeInterpolatesBetweenCentres) {
  const OwnedImage source = makeImage(2, 1, 24, [](int x, int) { return x == 0 ? 0xFF000000u : 0xFFFFFFFFu; });
  OwnedImage out;
  ASSERT_EQ(resizeImage(out.address(), source.get(), 4, 1, 1, 1, 1), 1);
  const uint32_t expected[] = {0, 64, 191, 255};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(out.at(x, 0), 0xFF000000u | expected[x] * 0x010101u) << x;
}

TEST(ResizeImage, EveryFilterKeepsAPlainColourPlain) {
  for (int bits : {24, 32}) {
    const uint32_t colour = bits == 32 ? 0x80336699u : 0xFF336699u;
    const OwnedImage source = filledImage(7, 5, bits, colour);
    for (int filter = 0; filter < 3; ++filter) {
      for (double percent : {40, 260}) {
        OwnedImage out;
        ASSERT_EQ(resizeImage(out.address(), source.get(), percent, percent, 0, filter, filter), 1);
        for (uint32_t p : out.pixels()) ASSERT_EQ(p, colour) << "filter " << filter << " percent " << percent;
      }
    }
  }
}

TEST(ResizeImage, TransparentPixelsLendNoColour) {
  // Red at full alpha next to transparent green: the blend is red with half the alpha.
  const OwnedImage source = makeImage(2, 1, 32, [](int x, int) { return x == 0 ? 0xFFFF0000u : 0x0000FF00u; });
  OwnedImage out;
  ASSERT_EQ(resizeImage(out.address(), source.get(), 1, 1, 1, 1, 1), 1);
  EXPECT_EQ(out.at(0, 0), 0x80FF0000u);
}

TEST(ResizeImage, KeepsTheMetadata) {
  OwnedImage source = randomImage(6, 6, 32, 1);
  source->left = 12;
  source->mode = 5;
  OwnedImage out;
  ASSERT_EQ(resizeImage2(source.address(), 3, 3, 1, 1, 1), 1);
  EXPECT_EQ(source->width, 3);
  EXPECT_EQ(source->left, 12);
  EXPECT_EQ(source->mode, 5);
  EXPECT_EQ(source->bitsPerPixel, 32);
}

}  // namespace
}  // namespace vellum::ops_test
