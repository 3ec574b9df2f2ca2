// Colour effects: negative, greyscale, brightness and contrast, gamma, hue/saturation/lightness,
// colour replacement, solid colour layers and the transparency tidy-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "image/ops/colour_filters.h"
#include "image/ops/hsl_filter.h"
#include "image/ops/solid_colour.h"
#include "image/ops/transparency.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {

// Every colour value in each channel across a 256 x 3 picture, with varied alpha.
OwnedImage rampImage() {
  return makeImage(256, 3, 32, [](int x, int y) {
    const uint32_t v = static_cast<uint32_t>(x);
    const uint32_t other = static_cast<uint32_t>(255 - x);
    const uint32_t alpha = static_cast<uint32_t>((x * 7 + y) & 0xFF);
    switch (y) {
      case 0: return alpha << 24 | v << 16 | other << 8 | (v / 2);
      case 1: return alpha << 24 | other << 16 | v << 8 | (v ^ 0x55);
      default: return alpha << 24 | (v ^ 0xAA) << 16 | (v / 3) << 8 | v;
    }
  });
}

TEST(NegaposiImage, InvertsColourKeepsAlphaAndTwiceRestores) {
  OwnedImage picture = rampImage();
  const std::vector<uint32_t> before = picture.pixels();
  ASSERT_EQ(negaposiImage(picture.get()), 1);
  for (size_t i = 0; i < before.size(); ++i) ASSERT_EQ(picture.pixels()[i], before[i] ^ 0xFFFFFFu);
  ASSERT_EQ(negaposiImage(picture.get()), 1);
  EXPECT_EQ(picture.pixels(), before);
}

TEST(GrayscalImage, UsesTheLuminanceWeights) {
  struct Case {
    uint32_t pixel, expected;
  };
  const Case cases[] = {
      {0xFFFF0000, 0xFF4C4C4C},  // round(0.298912 * 255) = 76
      {0x8000FF00, 0x80969696},  // round(0.586611 * 255) = 150
      {0x000000FF, 0x001D1D1D},  // round(0.114477 * 255) = 29
      {0xFFFFFFFF, 0xFFFFFFFF},
      {0xFF000000, 0xFF000000},
  };
  for (const Case& c : cases) {
    OwnedImage picture = filledImage(1, 1, 32, c.pixel);
    ASSERT_EQ(grayscalImage(picture.get()), 1);
    EXPECT_EQ(picture.at(0, 0), c.expected) << std::hex << c.pixel;
  }
}

int referenceBc(int c, int brightness, int contrast) {
  const int v = static_cast<int>((contrast + 100) / 100.0 * (c - 128)) + brightness + 128;
  return std::clamp(v, 0, 255);
}

TEST(BcImage, FollowsTheFormula) {
  struct Case {
    int brightness, contrast;
  };
  for (const Case& c : {Case{0, 0}, Case{255, 0}, Case{-40, 0}, Case{0, 50}, Case{10, -70}, Case{0, -100}}) {
    OwnedImage picture = rampImage();
    const std::vector<uint32_t> before = picture.pixels();
    ASSERT_EQ(bcImage(picture.get(), c.brightness, c.contrast), 1);
    for (size_t i = 0; i < before.size(); ++i) {
      const uint32_t p = before[i], got = picture.pixels()[i];
      ASSERT_EQ(got >> 24, p >> 24);
      for (int ch = 0; ch < 3; ++ch) {
        ASSERT_EQ(static_cast<int>((got >> (8 * ch)) & 0xFF), referenceBc(static_cast<int>((p >> (8 * ch)) & 0xFF), c.brightness, c.contrast))
            << c.brightness << "," << c.contrast;
      }
    }
  }
}

TEST(BcImage, ZeroLeavesThePictureAndFullBrightnessWhitens) {
  OwnedImage picture = rampImage();
  const std::vector<uint32_t> before = picture.pixels();
  ASSERT_EQ(bcImage(picture.get(), 0, 0), 1);
  EXPECT_EQ(picture.pixels(), before);
  ASSERT_EQ(bcImage(picture.get(), 255, 0), 1);
  for (uint32_t p : picture.pixels()) ASSERT_EQ(p & 0xFFFFFF, 0xFFFFFFu);
}

TEST(ColorImage, ZeroIsIdentityAndPositiveBrightens) {
  OwnedImage picture = rampImage();
  const std::vector<uint32_t> before = picture.pixels();
  ASSERT_EQ(colorImage(picture.get(), 0, 0, 0), 1);
  EXPECT_EQ(picture.pixels(), before);
  OwnedImage mid = filledImage(1, 1, 24, 0xFF808080);
  ASSERT_EQ(colorImage(mid.get(), 100, -100, 0), 1);
  // red: 255 * (128/255)^0.5 = 180.67; green: 255 * (128/255)^2 = 64.25
  EXPECT_EQ(mid.at(0, 0), 0xFFB44080u);
}

TEST(HslImage, ZeroShiftsGiveThePictureBack) {
  // Every colour of a coarse grid survives the round trip exactly.
  OwnedImage picture = makeImage(64, 64, 32, [](int x, int y) {
    const uint32_t i = static_cast<uint32_t>(y * 64 + x);
    return 0x7F000000u | ((i * 37) & 0xFF) << 16 | ((i * 101 + 13) & 0xFF) << 8 | ((i * 53 + 200) & 0xFF);
  });
  const std::vector<uint32_t> before = picture.pixels();
  ASSERT_EQ(hslImage(picture.get(), 0, 0, 0), 1);
  EXPECT_EQ(picture.pixels(), before);
  ASSERT_EQ(hslImage(picture.get(), 360, 0, 0), 1);
  EXPECT_EQ(picture.pixels(), before);
}

TEST(HslImage, ShiftsHueSaturationAndLightness) {
  struct Case {
    uint32_t pixel;
    int hue, saturation, lightness;
    uint32_t expected;
  };
  const Case cases[] = {
      {0xFFFF0000, 120, 0, 0, 0xFF00FF00}, {0xFFFF0000, 240, 0, 0, 0xFF0000FF}, {0xFFFF0000, -120, 0, 0, 0xFF0000FF},
      {0x80FF0000, 0, 0, 100, 0x80FFFFFF}, {0xFF123456, 0, 0, -100, 0xFF000000}, {0xFFFF0000, 0, -100, 0, 0xFF808080},
  };
  for (const Case& c : cases) {
    OwnedImage picture = filledImage(1, 1, 32, c.pixel);
    ASSERT_EQ(hslImage(picture.get(), c.hue, c.saturation, c.lightness), 1);
    EXPECT_EQ(picture.at(0, 0), c.expected) << std::hex << c.pixel << std::dec << " " << c.hue;
  }
}

TEST(Color2colorImage, ReplacesTheChosenColour) {
  OwnedImage picture = makeImage(3, 2, 24, [](int x, int y) { return x == 1 && y == 1 ? 0xFF123456u : 0xFF00FF00u; });
  ASSERT_EQ(color2colorImage(picture.get(), 0x00FF00, 0xFF0000, 0), 1);
  EXPECT_EQ(picture.at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(picture.at(1, 1), 0xFF123456u);
  EXPECT_EQ(picture->bitsPerPixel, 24);
  // Kind 1 takes the first pixel's colour, and a colour with alpha makes the picture 32-bit.
  ASSERT_EQ(color2colorImage(picture.get(), 0, 0x40000000, 1), 1);
  EXPECT_EQ(picture.at(2, 0), 0x40000000u);
  EXPECT_EQ(picture->bitsPerPixel, 32);
  // Kind 2 takes the last pixel of the first row; now alpha takes part in the comparison.
  picture.at(2, 0) = 0xFF999999;
  ASSERT_EQ(color2colorImage(picture.get(), 0, 0xFF777777, 2), 1);
  EXPECT_EQ(picture.at(2, 0), 0xFF777777u);
  EXPECT_EQ(picture.at(0, 0), 0x40000000u);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(color2colorImage(picture.get(), 0, 0, 3), 0); }), "-C2C: モードの設定が無効です\n");
}

int solidChannel(int formula, int d, int alpha) {
  return alpha == 255 ? formula : ((formula * alpha + d * (255 - alpha) + 1) * 257) >> 16;
}

TEST(ColImage, LaysTheColourWithTheModeFormula) {
  struct Case {
    int mode;
    uint32_t colour;
  };
  for (const Case& c : {Case{1, 0xFF204060}, Case{1, 0x80204060}, Case{4, 0xC0FF8000}, Case{2, 0x40808080}}) {
    OwnedImage picture = rampImage();
    const std::vector<uint32_t> before = picture.pixels();
    ASSERT_EQ(colImage(picture.get(), c.mode, c.colour), 1);
    const int alpha = static_cast<int>(c.colour >> 24);
    for (size_t i = 0; i < before.size(); ++i) {
      const uint32_t got = picture.pixels()[i];
      ASSERT_EQ(got >> 24, before[i] >> 24);
      for (int ch = 0; ch < 3; ++ch) {
        const int d = static_cast<int>((before[i] >> (8 * ch)) & 0xFF), s = static_cast<int>((c.colour >> (8 * ch)) & 0xFF);
        const int f = c.mode == 1 ? s : c.mode == 4 ? d * s / 255 : std::min(255, d + s);
        ASSERT_EQ(static_cast<int>((got >> (8 * ch)) & 0xFF), solidChannel(f, d, alpha)) << c.mode << " " << i;
      }
    }
  }
}

TEST(ColImage, TransparentColourOrUnknownModeChangesNothing) {
  OwnedImage picture = rampImage();
  const std::vector<uint32_t> before = picture.pixels();
  EXPECT_EQ(colImage(picture.get(), 1, 0x00FFFFFF), 1);
  EXPECT_EQ(colImage(picture.get(), 0, 0xFFFFFFFF), 1);
  EXPECT_EQ(colImage(picture.get(), 22, 0xFFFFFFFF), 1);
  EXPECT_EQ(picture.pixels(), before);
}

TEST(DurtyTransparency, MarksOpaquePictures24Bit) {
  OwnedImage picture = filledImage(3, 3, 32, 0xFF123456);
  ASSERT_EQ(DurtyTransparency(picture.get(), 0), 1);
  EXPECT_EQ(picture->bitsPerPixel, 24);
}

TEST(DurtyTransparency, ClearsHiddenColourAndBleedsTheBorder) {
  OwnedImage picture = makeImage(5, 1, 32, [](int x, int) { return x == 0 ? 0xFF204080u : 0x00FFFFFFu; });
  ASSERT_EQ(DurtyTransparency(picture.get(), 0), 1);
  EXPECT_EQ(picture->bitsPerPixel, 32);
  EXPECT_EQ(picture.at(1, 0), 0u);
  ASSERT_EQ(DurtyTransparency(picture.get(), 2), 1);
  EXPECT_EQ(picture.at(0, 0), 0xFF204080u);
  EXPECT_EQ(picture.at(1, 0), 0x00204080u);
  EXPECT_EQ(picture.at(2, 0), 0x00204080u);
  EXPECT_EQ(picture.at(3, 0), 0u);
}

}  // namespace
}  // namespace vellum::ops_test
