// Mosaic blocks on small known pictures.
#include <gtest/gtest.h>

#include "image/ops/mosaic.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {


TEST(MosaicImage, FillsEachBlockWithItsMean) {
  OwnedImage picture = makeImage(4, 2, 24, [](int x, int y) {
    static const uint32_t values[2][4] = {{0, 10, 100, 101}, {20, 31, 200, 0}};
    return grey(values[y][x]);
  });
  ASSERT_EQ(mosaicImage(picture.get(), 2, 2), 1);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(picture.at(0, y), grey(15));  // 61 / 4 = 15.25
    EXPECT_EQ(picture.at(1, y), grey(15));
    EXPECT_EQ(picture.at(2, y), grey(100));  // 401 / 4 = 100.25
    EXPECT_EQ(picture.at(3, y), grey(100));
  }
}

TEST(MosaicImage, ClipsTheLastBlocks) {
  // 5 x 3 in 2 x 2 blocks: a 1-wide last column of blocks and a 1-high last row.
  OwnedImage picture = makeImage(5, 3, 24, [](int x, int y) { return grey(static_cast<uint32_t>(x * 10 + y)); });
  ASSERT_EQ(mosaicImage(picture.get(), 2, 2), 1);
  EXPECT_EQ(picture.at(0, 0), grey(6));   // (0 + 10 + 1 + 11) / 4 = 5.5 -> 6
  EXPECT_EQ(picture.at(4, 1), grey(41));  // (40 + 41) / 2 = 40.5 -> 41
  EXPECT_EQ(picture.at(2, 2), grey(27));  // (22 + 32) / 2
  EXPECT_EQ(picture.at(4, 2), grey(42));  // alone
}

TEST(MosaicImage, WeightsColourByAlpha) {
  // An opaque red and a transparent blue: the colour is red, the alpha the plain mean.
  OwnedImage picture = makeImage(2, 1, 32, [](int x, int) { return x == 0 ? 0xFFFF0000u : 0x000000FFu; });
  ASSERT_EQ(mosaicImage(picture.get(), 2, 1), 1);
  EXPECT_EQ(picture.at(0, 0), 0x80FF0000u);
  EXPECT_EQ(picture.at(1, 0), 0x80FF0000u);
}

TEST(MosaicImage, OnePixelBlocksAndZeroSizesChangeNothing) {
  OwnedImage picture = randomImage(6, 5, 24, 21);
  const std::vector<uint32_t> before = picture.pixels();
  ASSERT_EQ(mosaicImage(picture.get(), 0, 4), 1);
  EXPECT_EQ(picture.pixels(), before);
  ASSERT_EQ(mosaicImage(picture.get(), 1, 1), 1);
  EXPECT_EQ(picture.pixels(), before);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(mosaicImage(picture.get(), -2, 2), 0); }), "-BLR: 幅値の設定が無効です\n");
}

TEST(MosaicImage, OneBlockForTheWholePicture) {
  OwnedImage picture = makeImage(3, 3, 24, [](int x, int y) { return grey(x == 0 && y == 0 ? 90u : 0u); });
  ASSERT_EQ(mosaicImage(picture.get(), 1000, 1000), 1);
  for (uint32_t p : picture.pixels()) EXPECT_EQ(p, grey(10));
}

}  // namespace
}  // namespace vellum::ops_test
