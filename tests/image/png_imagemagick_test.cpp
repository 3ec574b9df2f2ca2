// PNGs that ImageMagick writes at test time, in every colour type, several bit depths and both
// interlace modes, decoded by the engine and compared with ImageMagick's own reading of the same
// file. Skipped when `convert` is not installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "image_test_util.h"
#include "support/engine_fixture.h"

namespace vellum::image_test {
namespace {

constexpr int kWidth = 37;
constexpr int kHeight = 23;

bool haveConvert() { return std::system("command -v convert >/dev/null 2>&1") == 0; }

enum class Source { Grey1, Grey2, Grey4, Grey8, GreyKeyed, GreyAlpha, Colour, ColourAlpha, FourColours, KeyedPalette };

// Raw RGBA bytes whose values the target depth holds exactly.
Bytes sourcePixels(Source kind, uint32_t seed) {
  std::mt19937 rng(seed);
  static const uint8_t palette[][3] = {{10, 20, 30}, {200, 100, 50}, {0, 255, 0}, {255, 255, 255}, {90, 0, 170}};
  Bytes raw;
  for (int i = 0; i < kWidth * kHeight; ++i) {
    const uint32_t r = rng();
    uint8_t rgba[4] = {0, 0, 0, 255};
    auto grey = [&](int levels) {
      const int v = static_cast<int>(r % levels) * (255 / (levels - 1));
      rgba[0] = rgba[1] = rgba[2] = static_cast<uint8_t>(v);
    };
    switch (kind) {
      case Source::Grey1: grey(2); break;
      case Source::Grey2: grey(4); break;
      case Source::Grey4: grey(16); break;
      case Source::Grey8: grey(256); break;
      case Source::GreyKeyed:
        grey(256);
        if (rgba[0] == 85) rgba[3] = 0;
        if (i % 7 == 0) { rgba[0] = rgba[1] = rgba[2] = 85; rgba[3] = 0; }
        break;
      case Source::GreyAlpha:
        grey(256);
        rgba[3] = static_cast<uint8_t>(r >> 8);
        break;
      case Source::Colour:
        rgba[0] = static_cast<uint8_t>(r);
        rgba[1] = static_cast<uint8_t>(r >> 8);
        rgba[2] = static_cast<uint8_t>(r >> 16);
        break;
      case Source::ColourAlpha:
        rgba[0] = static_cast<uint8_t>(r);
        rgba[1] = static_cast<uint8_t>(r >> 8);
        rgba[2] = static_cast<uint8_t>(r >> 16);
        rgba[3] = static_cast<uint8_t>(r >> 24);
        break;
      case Source::FourColours:
      case Source::KeyedPalette: {
        const auto& c = palette[r % (kind == Source::FourColours ? 4 : 5)];
        rgba[0] = c[0];
        rgba[1] = c[1];
        rgba[2] = c[2];
        if (kind == Source::KeyedPalette && r % 5 == 4) rgba[3] = 0;
        break;
      }
    }
    raw.insert(raw.end(), rgba, rgba + 4);
  }
  return raw;
}

struct MagickCase {
  const char* label;
  Source source;
  const char* options;  // ImageMagick options and the output coder prefix
  int colourType;
  int bitDepth;
  bool interlaced;
  bool transparencyChunk;
  int bitsPerPixel;
};

const MagickCase kCases[] = {
    {"Grey1", Source::Grey1, "-define png:color-type=0 -define png:bit-depth=1 PNG:", 0, 1, false, false, 24},
    {"Grey2", Source::Grey2, "-define png:color-type=0 -define png:bit-depth=2 PNG:", 0, 2, false, false, 24},
    {"Grey4", Source::Grey4, "-define png:color-type=0 -define png:bit-depth=4 PNG:", 0, 4, false, false, 24},
    {"Grey8", Source::Grey8, "-define png:color-type=0 -define png:bit-depth=8 PNG:", 0, 8, false, false, 24},
    {"Grey16", Source::Grey8, "-define png:color-type=0 -define png:bit-depth=16 PNG:", 0, 16, false, false, 24},
    {"Grey8Keyed", Source::GreyKeyed, "-define png:color-type=0 -define png:bit-depth=8 PNG:", 0, 8, false, true, 32},
    {"GreyAlpha8", Source::GreyAlpha, "-define png:color-type=4 -define png:bit-depth=8 PNG:", 4, 8, false, false, 32},
    {"GreyAlpha16", Source::GreyAlpha, "-define png:color-type=4 -define png:bit-depth=16 PNG:", 4, 16, false, false, 32},
    {"Rgb8", Source::Colour, "-define png:color-type=2 -define png:bit-depth=8 PNG:", 2, 8, false, false, 24},
    {"Rgb16", Source::Colour, "-define png:color-type=2 -define png:bit-depth=16 PNG:", 2, 16, false, false, 24},
    {"Rgba8", Source::ColourAlpha, "-define png:color-type=6 -define png:bit-depth=8 PNG:", 6, 8, false, false, 32},
    {"Rgba16", Source::ColourAlpha, "-define png:color-type=6 -define png:bit-depth=16 PNG:", 6, 16, false, false, 32},
    {"Palette2", Source::FourColours, "-define png:color-type=3 -define png:bit-depth=2 PNG:", 3, 2, false, false, 24},
    {"Palette8", Source::FourColours, "-define png:color-type=3 -define png:bit-depth=8 PNG:", 3, 8, false, false, 24},
    {"PaletteKeyed4", Source::KeyedPalette, "-define png:bit-depth=4 PNG8:", 3, 4, false, true, 32},
    {"PaletteKeyed8", Source::KeyedPalette, "PNG8:", 3, 8, false, true, 32},
    {"Grey2Adam7", Source::Grey2, "-define png:color-type=0 -define png:bit-depth=2 -interlace PNG PNG:", 0, 2, true, false, 24},
    {"GreyAlpha16Adam7", Source::GreyAlpha, "-define png:color-type=4 -define png:bit-depth=16 -interlace PNG PNG:", 4, 16, true, false, 32},
    {"Rgb16Adam7", Source::Colour, "-define png:color-type=2 -define png:bit-depth=16 -interlace PNG PNG:", 2, 16, true, false, 24},
    {"Rgba8Adam7", Source::ColourAlpha, "-define png:color-type=6 -define png:bit-depth=8 -interlace PNG PNG:", 6, 8, true, false, 32},
    {"PaletteKeyed8Adam7", Source::KeyedPalette, "-interlace PNG PNG8:", 3, 8, true, true, 32},
};

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes readFile(const std::filesystem::path& path) {
  const std::string s = test::readFileBytes(path);
  return Bytes(s.begin(), s.end());
}

class MagickPng : public ::testing::TestWithParam<MagickCase> {};

TEST_P(MagickPng, DecodesLikeImageMagickReadsIt) {
  if (!haveConvert()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const MagickCase& c = GetParam();
  test::TempFolder folder;
  const auto source = folder.path() / "source.rgba";
  const auto png = folder.path() / "picture.png";
  const auto reference = folder.path() / "reference.rgba";
  writeFile(source, sourcePixels(c.source, 77));
  const std::string size = std::to_string(kWidth) + "x" + std::to_string(kHeight);
  const std::string make = "convert -size " + size + " -depth 8 rgba:'" + source.string() + "' " + c.options + "'" +
                           png.string() + "' 2>/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0) << make;
  const std::string back = "convert '" + png.string() + "' -depth 8 rgba:'" + reference.string() + "'";
  ASSERT_EQ(std::system(back.c_str()), 0) << back;

  const Bytes file = readFile(png);
  ASSERT_GT(file.size(), 33u);
  ASSERT_EQ(file[24], c.bitDepth) << "ImageMagick wrote another bit depth";
  ASSERT_EQ(file[25], c.colourType) << "ImageMagick wrote another colour type";
  ASSERT_EQ(file[28], c.interlaced ? 1 : 0);
  const bool hasTrns = std::search(file.begin(), file.end(), std::begin("tRNS"), std::end("tRNS") - 1) != file.end();
  ASSERT_EQ(hasTrns, c.transparencyChunk);

  ConsoleRecorder console;
  ImagePtr image = decode(file);
  ASSERT_NE(image, nullptr) << joined(console.lines);
  EXPECT_EQ(image->width, kWidth);
  EXPECT_EQ(image->height, kHeight);
  EXPECT_EQ(image->bitsPerPixel, c.bitsPerPixel);
  const Bytes expected = readFile(reference);
  ASSERT_EQ(expected.size(), size_t{kWidth} * kHeight * 4);
  for (int i = 0; i < kWidth * kHeight; ++i) {
    const uint8_t* p = expected.data() + i * 4;
    const uint32_t want = uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    ASSERT_EQ(hexPixel(image->pixels[i]), hexPixel(want)) << "pixel " << i;
  }

  PictureHeader header{};
  ASSERT_TRUE(loadHeader(file.data(), file.size(), header));
  EXPECT_EQ(header.width, kWidth);
  EXPECT_EQ(header.height, kHeight);
  const int headerBits = c.colourType == 2 ? 24 : (c.colourType == 4 || c.colourType == 6) ? 32 : 8;
  EXPECT_EQ(header.bitsPerPixel, headerBits);
}

INSTANTIATE_TEST_SUITE_P(ColourTypes, MagickPng, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

// 16-bit channels with arbitrary values (not just 8-bit values widened) reduce to 8 bits with
// rounding, as ImageMagick's 8-bit writer reduces them, not by dropping the low byte.
struct Deep16Case {
  const char* label;
  const char* options;
  bool alpha;
};

const Deep16Case kDeep16Cases[] = {
    {"Rgb16", "-define png:color-type=2 -define png:bit-depth=16 PNG48:", false},
    {"Rgba16", "-define png:color-type=6 -define png:bit-depth=16 PNG64:", true},
    {"Rgba16Adam7", "-define png:color-type=6 -define png:bit-depth=16 -interlace PNG PNG64:", true},
};

class Deep16Png : public ::testing::TestWithParam<Deep16Case> {};

TEST_P(Deep16Png, RoundsToTheNearestEightBitValue) {
  if (!haveConvert()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const Deep16Case& c = GetParam();
  test::TempFolder folder;
  const auto source = folder.path() / "source.rgba16";
  const auto png = folder.path() / "picture.png";
  const auto reference = folder.path() / "reference.rgba";
  // Big-endian 16-bit samples; the green ones end in 0xF0, which dropping the low byte gets wrong.
  std::mt19937 rng(16);
  std::vector<uint16_t> samples(size_t{kWidth} * kHeight * 4);
  for (size_t i = 0; i < samples.size(); ++i) {
    const uint16_t v = static_cast<uint16_t>(rng());
    samples[i] = i % 4 == 1 ? static_cast<uint16_t>((v & 0xFF00) | 0xF0) : v;
    if (!c.alpha && i % 4 == 3) samples[i] = 0xFFFF;
  }
  Bytes raw;
  for (uint16_t v : samples) {
    raw.push_back(static_cast<uint8_t>(v >> 8));
    raw.push_back(static_cast<uint8_t>(v));
  }
  writeFile(source, raw);
  const std::string size = std::to_string(kWidth) + "x" + std::to_string(kHeight);
  const std::string make = "convert -size " + size + " -depth 16 -endian MSB rgba:'" + source.string() + "' " +
                           c.options + "'" + png.string() + "' 2>/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0) << make;
  // ImageMagick's own 8-bit PNG writer reduces with rounding; its 8-bit copy is then read exactly.
  // (Its -depth 8 operator truncates, so it is not the reference here.)
  const auto reduced = folder.path() / "reduced.png";
  const std::string back = "convert '" + png.string() + "' PNG32:'" + reduced.string() + "' && convert '" +
                           reduced.string() + "' -depth 8 rgba:'" + reference.string() + "'";
  ASSERT_EQ(std::system(back.c_str()), 0) << back;
  const Bytes file = readFile(png);
  ASSERT_GT(file.size(), 33u);
  ASSERT_EQ(file[24], 16) << "ImageMagick wrote another bit depth";
  ASSERT_EQ(file[25], c.alpha ? 6 : 2) << "ImageMagick wrote another colour type";

  ConsoleRecorder console;
  ImagePtr image = decode(file);
  ASSERT_NE(image, nullptr) << joined(console.lines);
  EXPECT_EQ(image->bitsPerPixel, c.alpha ? 32 : 24);
  const Bytes expected = readFile(reference);
  ASSERT_EQ(expected.size(), size_t{kWidth} * kHeight * 4);
  int roundedUp = 0;
  for (int i = 0; i < kWidth * kHeight; ++i) {
    const uint8_t* p = expected.data() + i * 4;
    const uint32_t want = uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    ASSERT_EQ(hexPixel(image->pixels[i]), hexPixel(want)) << "pixel " << i;
    for (int k = 0; k < 4; ++k) {
      const uint16_t v = samples[size_t(i) * 4 + k];
      EXPECT_EQ(p[k], (v * 255u + 32767u) / 65535u) << "pixel " << i << " channel " << k;
      if (p[k] != v >> 8) ++roundedUp;
    }
  }
  EXPECT_GT(roundedUp, kWidth * kHeight / 4) << "the picture should hold values that truncation gets wrong";
}

INSTANTIATE_TEST_SUITE_P(SixteenBits, Deep16Png, ::testing::ValuesIn(kDeep16Cases),
                         [](const auto& info) { return std::string(info.param.label); });

// loadImageData fills the caller's picture when the size matches, and refuses another size.
TEST(PngIntoImage, TheCallersSizeMustMatch) {
  ImagePtr source = randomImage(9, 4, 32, 5);
  const Bytes file = encode(*source, SaveFormat::Png, 32, 6);
  ImagePtr same(createImage(9, 4, 0));
  ASSERT_TRUE(loadImageData(*same, file.data(), file.size()));
  EXPECT_EQ(firstDifference(*source, *same), -1);
  EXPECT_EQ(same->bitsPerPixel, 32);
  ConsoleRecorder console;
  ImagePtr other(createImage(4, 9, 0));
  EXPECT_FALSE(loadImageData(*other, file.data(), file.size()));
  EXPECT_TRUE(console.printed("the file holds 9 x 4 pixels but the Image is 4 x 9")) << joined(console.lines);
}

}  // namespace
}  // namespace vellum::image_test
