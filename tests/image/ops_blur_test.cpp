// Box blur on small known pictures, alpha weighting, and sums that cannot overflow.
#include <gtest/gtest.h>

#include "image/ops/blur.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {


TEST(BlurImage, AveragesOverTheWindowClippedAtTheEdges) {
  OwnedImage picture = makeImage(3, 1, 24, [](int x, int) { return grey(static_cast<uint32_t>(x) * 90); });
  ASSERT_EQ(blurImage(picture.get(), 1, 0), 1);
  EXPECT_EQ(picture.at(0, 0), grey(45));   // (0 + 90) / 2
  EXPECT_EQ(picture.at(1, 0), grey(90));   // (0 + 90 + 180) / 3
  EXPECT_EQ(picture.at(2, 0), grey(135));  // (90 + 180) / 2
}

TEST(BlurImage, RoundsTheMeanToNearest) {
  OwnedImage picture = makeImage(1, 3, 24, [](int, int y) { return grey(y == 0 ? 1u : 0u); });
  ASSERT_EQ(blurImage(picture.get(), 0, 1), 1);
  EXPECT_EQ(picture.at(0, 0), grey(1));  // (1 + 0) / 2 = 0.5 rounds up
  EXPECT_EQ(picture.at(0, 1), grey(0));  // 1 / 3
}

TEST(BlurImage, TwoDimensionalWindow) {
  // A single bright pixel in the middle of 3 x 3 spreads 1/9 of itself to every pixel, but the
  // corners see only 4 pixels, the edges 6.
  OwnedImage picture = makeImage(3, 3, 24, [](int x, int y) { return grey(x == 1 && y == 1 ? 180u : 0u); });
  ASSERT_EQ(blurImage(picture.get(), 1, 1), 1);
  EXPECT_EQ(picture.at(1, 1), grey(20));
  EXPECT_EQ(picture.at(0, 0), grey(45));
  EXPECT_EQ(picture.at(1, 0), grey(30));
}

TEST(BlurImage, ThirtyTwoBitWeightsColourByAlpha) {
  // Transparent black lends no colour; alpha is the plain mean.
  OwnedImage picture = makeImage(2, 1, 32, [](int x, int) { return x == 0 ? 0xFFFF8000u : 0x00000000u; });
  ASSERT_EQ(blurImage(picture.get(), 1, 0), 1);
  EXPECT_EQ(picture.at(0, 0), 0x80FF8000u);
  EXPECT_EQ(picture.at(1, 0), 0x80FF8000u);
}

TEST(BlurImage, TwentyFourBitKeepsAlpha) {
  OwnedImage picture = makeImage(2, 1, 24, [](int x, int) { return x == 0 ? 0xFF000000u : 0xFF0000FEu; });
  ASSERT_EQ(blurImage(picture.get(), 1, 0), 1);
  EXPECT_EQ(picture.at(0, 0), 0xFF00007Fu);
}

TEST(BlurImage, LargeWindowsDoNotOverflow) {
  // 300 x 300 opaque white under a window covering everything: 65025 * 90000 needs 64-bit sums.
  for (int bits : {24, 32}) {
    OwnedImage picture = filledImage(300, 300, bits, 0xFFFFFFFF);
    ASSERT_EQ(blurImage(picture.get(), 1000, 70000), 1);
    for (uint32_t p : picture.pixels()) ASSERT_EQ(p, 0xFFFFFFFFu) << bits;
  }
}

TEST(BlurImage, ZeroRadiiChangeNothingAndNegativeOnesFail) {
  OwnedImage picture = randomImage(5, 5, 32, 9);
  const std::vector<uint32_t> before = picture.pixels();
  ASSERT_EQ(blurImage(picture.get(), 0, 0), 1);
  EXPECT_EQ(picture.pixels(), before);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(blurImage(picture.get(), -1, 2), 0); }), "-BLR: 幅値の設定が無効です\n");
  EXPECT_EQ(picture.pixels(), before);
}

TEST(BlurImage, KeepsTheSpareRowClear) {
  OwnedImage picture = randomImage(6, 4, 32, 3);
  ASSERT_EQ(blurImage(picture.get(), 2, 2), 1);
  EXPECT_TRUE(spareRowIsClear(*picture));
}

}  // namespace
}  // namespace vellum::ops_test
