// Every blend mode against a per-pixel reference written out here from the mode table and the
// alpha compositing rules, over all 65536 (base alpha, layer alpha) pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "image/ops/blend.h"
#include "image/ops/image_tables.h"
#include "image/ops_test_support.h"

namespace vellum::ops_test {
namespace {

int vivid(int d, int s) {
  if (s > 127) return s == 255 ? 255 : std::min(255, d * 255 / ((255 - s) * 2));
  return s == 0 ? 0 : std::max(0, (d - 255) * 255 / (2 * s) + 255);
}

int referenceFormula(int mode, int d, int s) {
  const int b = 2 * d * s / 255;
  switch (mode) {
    case 1: return s;
    case 2:
    case 11: return std::min(255, d + s);
    case 3: return std::max(0, d - s);
    case 4: return d * s / 255;
    case 5: return s == 0 ? d : std::min(255, d * 255 / s);
    case 6: return d + s - d * s / 255;
    case 7: return std::max(d, s);
    case 8: return std::min(d, s);
    case 9: return std::abs(d - s);
    case 10: return d + s - b;
    case 12: return (s == 255 || d * 255 / (255 - s) > 255) ? 255 : d * 255 / (255 - s);
    case 13: return std::max(0, d + s - 255);
    case 14: return s == 0 ? 0 : std::max(0, (d - 255) * 255 / s + 255);
    case 15: return (d > 127 ? 2 * (d + s) - b - 255 : b) & 0xFF;
    case 16: return (s > 127 ? 2 * (d + s) - b - 255 : b) & 0xFF;
    case 17: return static_cast<int>(255.0 * std::pow(d / 255.0, s > 127 ? 127.5 / s : 2.0 - s / 127.5) + 1e-9);
    case 18: return vivid(d, s);
    case 19: return s > 127 ? std::min(255, d - 255 + 2 * s) : std::max(0, d - 255 + 2 * s);
    case 20: return s > 127 ? std::max(d, 2 * s - 255) : std::min(d, 2 * s);
    case 21: return vivid(d, s) >= 128 ? 255 : 0;
  }
  return d;
}

int channelOf(uint32_t p, int c) { return static_cast<int>((p >> (8 * c)) & 0xFF); }

uint32_t referenceBlend(uint32_t base, uint32_t layer, int mode, int opacity) {
  int as = static_cast<int>(layer >> 24);
  if (opacity < 256) as = as * opacity / 256;
  if (mode == 0) return (layer & 0xFFFFFF) | static_cast<uint32_t>(as) << 24;
  const int ad = static_cast<int>(base >> 24);
  if (as == 0) return base;
  if (ad == 0) return (layer & 0xFFFFFF) | static_cast<uint32_t>(as) << 24;
  int out[3];
  int alpha = 255;
  for (int c = 0; c < 3; ++c) {
    const int d = channelOf(base, c), s = channelOf(layer, c), f = referenceFormula(mode, d, s);
    if (as == 255 && ad == 255) {
      out[c] = f;
    } else if (ad == 255) {
      out[c] = ((f * as + d * (255 - as) + 1) * 257) >> 16;
    } else if (as == 255) {
      out[c] = ((f * ad + s * (255 - ad) + 1) * 257) >> 16;
    } else {
      alpha = ad + (255 - ad) * as / 255;
      if (mode == 1) {
        const int k = (as * 256 + alpha / 2) / alpha;
        out[c] = d + (s - d) * k / 256;
      } else {
        const int shared = as * ad / 255, baseOnly = ad - shared, recip = (65535 + alpha / 2) / alpha;
        out[c] = std::min(255, ((d * baseOnly + f * shared + s * (as - shared) + 1) * recip) >> 16);
      }
    }
  }
  return static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(out[2]) << 16 | static_cast<uint32_t>(out[1]) << 8 |
         static_cast<uint32_t>(out[0]);
}

struct ColourPair {
  uint32_t base, layer;
};

constexpr ColourPair kColourPairs[] = {
    {0x102030, 0xF0E0D0}, {0x808080, 0x7F7F7F}, {0xFF00FF, 0x00FF00}, {0x4080C0, 0xC08040}, {0xFFFFFF, 0xFFFFFF},
};

struct BlendCase {
  int mode;
  int opacity;
};

class BlendModeTest : public ::testing::TestWithParam<BlendCase> {};

// Base pixel (x, y) has alpha y, layer pixel (x, y) alpha x: one call covers every alpha pair.
TEST_P(BlendModeTest, MatchesThePerPixelReferenceForEveryAlphaPair) {
  const BlendCase param = GetParam();
  for (const ColourPair& colours : kColourPairs) {
    OwnedImage base = makeImage(256, 256, 32, [&](int, int y) { return static_cast<uint32_t>(y) << 24 | colours.base; });
    OwnedImage layer = makeImage(256, 256, 32, [&](int x, int) { return static_cast<uint32_t>(x) << 24 | colours.layer; });
    const OwnedImage original = makeImage(256, 256, 32, [&](int x, int y) { return base.at(x, y); });
    ASSERT_EQ(blendImage(base.address(), layer.get(), param.mode, 0, 0, param.opacity, 0), 1);
    int mismatches = 0;
    for (int y = 0; y < 256 && mismatches < 5; ++y) {
      for (int x = 0; x < 256 && mismatches < 5; ++x) {
        const uint32_t expected = referenceBlend(original.at(x, y), layer.at(x, y), param.mode, param.opacity);
        if (base.at(x, y) == expected) continue;
        ++mismatches;
        ADD_FAILURE() << "mode " << param.mode << " opacity " << param.opacity << " base alpha " << y << " layer alpha " << x
                      << std::hex << " base " << colours.base << " layer " << colours.layer << ": got " << base.at(x, y)
                      << " expected " << expected;
      }
    }
  }
}

std::vector<BlendCase> allModes() {
  std::vector<BlendCase> cases;
  for (int mode = 0; mode < 22; ++mode) {
    for (int opacity : {256, 100}) cases.push_back({mode, opacity});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(AllModes, BlendModeTest, ::testing::ValuesIn(allModes()), [](const auto& info) {
  return "Mode" + std::to_string(info.param.mode) + "Opacity" + std::to_string(info.param.opacity);
});

TEST(BlendImage, BothPartialAlphasClampInsteadOfWrapping) {
  // White added to white at low alphas sums past 255 before the reciprocal scales it back.
  OwnedImage base = filledImage(1, 1, 32, 0x01FFFFFF);
  OwnedImage layer = filledImage(1, 1, 32, 0x01FFFFFF);
  ASSERT_EQ(blendImage(base.address(), layer.get(), 2, 0, 0, 256, 0), 1);
  EXPECT_EQ(base.at(0, 0) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(BlendImage, MultiplyByWhiteLeavesAnOpaqueBaseUnchanged) {
  OwnedImage base = randomImage(17, 9, 24, 5);
  const std::vector<uint32_t> before = base.pixels();
  OwnedImage white = filledImage(17, 9, 32, 0xFFFFFFFF);
  ASSERT_EQ(blendImage(base.address(), white.get(), 4, 0, 0, 256, 0), 1);
  EXPECT_EQ(base.pixels(), before);
}

TEST(BlendImage, ZeroOpacityChangesNothing) {
  OwnedImage base = randomImage(8, 8, 32, 1);
  const std::vector<uint32_t> before = base.pixels();
  OwnedImage layer = randomImage(8, 8, 32, 2);
  Image* const kept = base.get();
  EXPECT_EQ(blendImage(base.address(), layer.get(), 1, 0, 0, 0, 1), 1);
  EXPECT_EQ(base.get(), kept);
  EXPECT_EQ(base.pixels(), before);
}

TEST(BlendImage, OpacityAtOrAbove256IsFull) {
  OwnedImage a = randomImage(8, 8, 32, 1), b = randomImage(8, 8, 32, 1);
  OwnedImage layer = randomImage(8, 8, 32, 2);
  ASSERT_EQ(blendImage(a.address(), layer.get(), 6, 0, 0, 256, 0), 1);
  ASSERT_EQ(blendImage(b.address(), layer.get(), 6, 0, 0, 1000, 0), 1);
  EXPECT_EQ(a.pixels(), b.pixels());
}

TEST(BlendImage, UnknownModesFailWithTheirReport) {
  OwnedImage base = filledImage(2, 2, 32, 0xFF000000), layer = filledImage(2, 2, 32, 0xFFFFFFFF);
  for (int mode : {-1, 22}) {
    EXPECT_EQ(printedBy([&] { EXPECT_EQ(blendImage(base.address(), layer.get(), mode, 0, 0, 256, 0), 0); }),
              "-BLD: モードの設定が無効です\n");
  }
}

TEST(ImageTables, BuildOnceAndAnswerTheSame) {
  initImageTables();
  initImageTables();
  const ImageTables& t = imageTables();
  EXPECT_EQ(&t, &imageTables());
  EXPECT_EQ(t.reciprocal[1], 65535);
  EXPECT_EQ(t.reciprocal[255], 257);
  EXPECT_EQ(t.reciprocal[0], 0);
  EXPECT_EQ(t.alphaUnion[0 * 256 + 255], 255);
  EXPECT_EQ(t.alphaUnion[128 * 256 + 128], 128 + 127 * 128 / 255);
  EXPECT_EQ(t.scale255[0], 0);
  EXPECT_EQ(t.scale255[128 * 256 + 64], (64 * 255 + 64) / 128);
  EXPECT_EQ(t.scale256[200 * 256 + 200], 256);
  EXPECT_FLOAT_EQ(t.greyRed[255], 255 * 0.298912f);
  EXPECT_EQ(t.blend[11], t.blend[2]);
  EXPECT_EQ(t.blend[0], nullptr);
  EXPECT_EQ(t.blend[1], nullptr);
}

}  // namespace
}  // namespace vellum::ops_test
