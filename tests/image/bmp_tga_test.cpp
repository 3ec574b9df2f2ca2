// BMP and TGA pictures assembled by hand: palettes, row padding, orientation, run-length packets,
// colour maps; and the writer's BMP layout.
#include <gtest/gtest.h>

#include "image/byte_reader.h"
#include "image_test_util.h"

namespace vellum::image_test {
namespace {

// ---- BMP --------------------------------------------------------------------------------------

Bytes bmp(int width, int height, int bits, const std::vector<uint32_t>& palette, const Bytes& rows,
          uint32_t compression = 0, uint32_t coloursUsed = 0) {
  Bytes out = {'B', 'M'};
  const uint32_t offset = 54 + static_cast<uint32_t>(palette.size()) * 4;
  putLe32(out, offset + static_cast<uint32_t>(rows.size()));
  putLe32(out, 0);
  putLe32(out, offset);
  putLe32(out, 40);
  putLe32(out, static_cast<uint32_t>(width));
  putLe32(out, static_cast<uint32_t>(height));
  putLe16(out, 1);
  putLe16(out, static_cast<uint32_t>(bits));
  putLe32(out, compression);
  putLe32(out, static_cast<uint32_t>(rows.size()));
  putLe32(out, 0);
  putLe32(out, 0);
  putLe32(out, coloursUsed);
  putLe32(out, 0);
  for (uint32_t c : palette) putLe32(out, c);
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

TEST(Bmp, OneBitPaletteWithPadding) {
  // 3 x 2, rows bottom-up, each row padded to 4 bytes. Bottom row 101, top row 010.
  const Bytes rows = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};
  ImagePtr image = decode(bmp(3, 2, 1, {0x00112233, 0x00AABBCC}, rows));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitsPerPixel, 24);
  const uint32_t a = 0xFF112233, b = 0xFFAABBCC;
  const uint32_t expected[] = {a, b, a, b, a, b};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(hexPixel(image->pixels[i]), hexPixel(expected[i])) << i;
}

TEST(Bmp, FourBitPaletteHighNibbleFirst) {
  const Bytes rows = {0x12, 0x30, 0, 0};
  ImagePtr image = decode(bmp(3, 1, 4, {0, 0x000000FF, 0x0000FF00, 0x00FF0000}, rows, 0, 4));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixels[0], 0xFF0000FFu);
  EXPECT_EQ(image->pixels[1], 0xFF00FF00u);
  EXPECT_EQ(image->pixels[2], 0xFFFF0000u);
}

TEST(Bmp, EightBitTopDown) {
  const Bytes rows = {0, 1, 0, 0, 1, 0, 0, 0};
  ImagePtr image = decode(bmp(2, -2, 8, {0x00000010, 0x00000020}, rows, 0, 2));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixels[0], 0xFF000010u);
  EXPECT_EQ(image->pixels[1], 0xFF000020u);
  EXPECT_EQ(image->pixels[2], 0xFF000020u);
}

TEST(Bmp, TwentyFourAndThirtyTwoBits) {
  const Bytes rows24 = {1, 2, 3, 4, 5, 6, 0, 0};  // 2 pixels + 2 padding bytes
  ImagePtr image = decode(bmp(2, 1, 24, {}, rows24));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixels[0], 0xFF030201u);
  EXPECT_EQ(image->pixels[1], 0xFF060504u);
  const Bytes rows32 = {1, 2, 3, 0x80};
  image = decode(bmp(1, 1, 32, {}, rows32));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitsPerPixel, 32);
  EXPECT_EQ(image->pixels[0], 0x80030201u);
}

TEST(Bmp, WriterLayout) {
  ImagePtr source = randomImage(3, 2, 32, 1);
  const Bytes eight = encode(*source, SaveFormat::Bmp, 8);
  ASSERT_EQ(eight.size(), 54u + 1024 + 4 * 2);
  EXPECT_EQ(loadLe32(eight.data() + 10), 54u + 1024);
  EXPECT_EQ(loadLe32(eight.data() + 2), eight.size());
  EXPECT_EQ(loadLe32(eight.data() + 54 + 4 * 200), 0x00C8C8C8u);  // palette entry 200
  const Bytes bgr = encode(*source, SaveFormat::Bmp, 24);
  EXPECT_EQ(bgr.size(), 54u + 12 * 2);
  EXPECT_EQ(loadLe32(bgr.data() + 10), 54u);
  // Bottom-up: the first stored row is the picture's last.
  EXPECT_EQ(bgr[54], static_cast<uint8_t>(source->pixels[3]));
}

struct BadBmp {
  const char* label;
  Bytes data;
  const char* problem;
};

std::vector<BadBmp> badBmps() {
  return {
      {"IndexPastPalette", bmp(2, 1, 8, {0, 0}, {0, 5, 0, 0}, 0, 2), "palette index 5 past the 2 entries"},
      {"RowsPastData", bmp(4, 4, 24, {}, Bytes(20)), "pixel rows run past the end"},
      {"PalettePastData", [] { Bytes b = bmp(1, 1, 8, {}, {}); return b; }(), "palette runs past the end"},
      {"RunLengthCompression", bmp(2, 1, 8, {0, 0}, {0, 0, 0, 0}, 1, 2), "compression 1 is not supported"},
      {"SixteenBits", bmp(2, 1, 16, {}, {0, 0, 0, 0}), "16 bits per pixel are not supported"},
      {"TooManyPaletteEntries", bmp(1, 1, 1, {0, 0, 0}, {0, 0, 0, 0}, 0, 3), "3 palette entries for 1 bits"},
      {"CutHeader", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "the header is cut off"},
      {"ZeroWidth", bmp(0, 1, 24, {}, {}), "is not positive"},
  };
}

class BmpBad : public ::testing::TestWithParam<BadBmp> {};

TEST_P(BmpBad, IsReportedAndFails) {
  ConsoleRecorder console;
  EXPECT_EQ(decode(GetParam().data), nullptr);
  EXPECT_TRUE(console.printed(GetParam().problem)) << joined(console.lines);
}

INSTANTIATE_TEST_SUITE_P(Files, BmpBad, ::testing::ValuesIn(badBmps()),
                         [](const auto& info) { return std::string(info.param.label); });

// ---- TGA --------------------------------------------------------------------------------------

struct TgaSpec {
  int imageType;
  int width;
  int height;
  int depth;
  int descriptor = 0;
  Bytes map = {};  // colour map entries, raw
  int mapLength = 0;
  int mapFirst = 0;
  int mapDepth = 0;
  Bytes id = {};
};

Bytes tga(const TgaSpec& s, const Bytes& data) {
  Bytes out;
  out.push_back(static_cast<uint8_t>(s.id.size()));
  out.push_back(s.mapLength > 0 ? 1 : 0);
  out.push_back(static_cast<uint8_t>(s.imageType));
  putLe16(out, static_cast<uint32_t>(s.mapFirst));
  putLe16(out, static_cast<uint32_t>(s.mapLength));
  out.push_back(static_cast<uint8_t>(s.mapDepth));
  putLe16(out, 0);
  putLe16(out, 0);
  putLe16(out, static_cast<uint32_t>(s.width));
  putLe16(out, static_cast<uint32_t>(s.height));
  out.push_back(static_cast<uint8_t>(s.depth));
  out.push_back(static_cast<uint8_t>(s.descriptor));
  out.insert(out.end(), s.id.begin(), s.id.end());
  out.insert(out.end(), s.map.begin(), s.map.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

TEST(Tga, TrueColourBottomUpIsFlipped) {
  ImagePtr image = decode(tga({2, 2, 2, 24, 0, {}, 0, 0, 0, {'i', 'd'}}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitsPerPixel, 24);
  EXPECT_EQ(image->pixels[0], 0xFF090807u);  // the stored second row is the top
  EXPECT_EQ(image->pixels[2], 0xFF030201u);
}

TEST(Tga, ThirtyTwoBitsTopDownCopiedAsIs) {
  ImagePtr image = decode(tga({2, 2, 1, 32, 0x28}, {1, 2, 3, 4, 5, 6, 7, 8}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitsPerPixel, 32);
  EXPECT_EQ(image->pixels[0], 0x04030201u);
  EXPECT_EQ(image->pixels[1], 0x08070605u);
}

TEST(Tga, RightToLeft) {
  ImagePtr image = decode(tga({3, 2, 1, 8, 0x30}, {10, 20}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixels[0], 0xFF141414u);
  EXPECT_EQ(image->pixels[1], 0xFF0A0A0Au);
}

TEST(Tga, GreyAndFiveBitColour) {
  ImagePtr grey = decode(tga({3, 1, 1, 8, 0x20}, {0x42}));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->pixels[0], 0xFF424242u);
  // 0x7C1F: red 31, green 0, blue 31.
  ImagePtr five = decode(tga({2, 1, 1, 16, 0x20}, {0x1F, 0x7C}));
  ASSERT_NE(five, nullptr);
  EXPECT_EQ(five->pixels[0], 0xFFFF00FFu);
}

TEST(Tga, ColourMapWithFirstEntryOffset) {
  TgaSpec s{1, 3, 1, 8, 0x20};
  s.map = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};  // two 24-bit entries, numbered 5 and 6
  s.mapLength = 2;
  s.mapFirst = 5;
  s.mapDepth = 24;
  ImagePtr image = decode(tga(s, {5, 6, 5}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixels[0], 0xFF302010u);
  EXPECT_EQ(image->pixels[1], 0xFF605040u);
  ConsoleRecorder console;
  EXPECT_EQ(decode(tga(s, {5, 7, 5})), nullptr);
  EXPECT_TRUE(console.printed("colour map index 7 outside the 2 entries from 5")) << joined(console.lines);
}

TEST(Tga, RunLengthPacketsCrossRows) {
  // 3 x 2 top-down: a run of 4 (crossing into the second row), then 2 raw pixels.
  const Bytes data = {0x83, 0x01, 0x02, 0x03, 0x01, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F};
  ImagePtr image = decode(tga({10, 3, 2, 24, 0x20}, data));
  ASSERT_NE(image, nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(image->pixels[i], 0xFF030201u) << i;
  EXPECT_EQ(image->pixels[4], 0xFF0C0B0Au);
  EXPECT_EQ(image->pixels[5], 0xFF0F0E0Du);
}

TEST(Tga, RunLengthMappedAndGrey) {
  TgaSpec s{9, 2, 1, 8, 0x20};
  s.map = {1, 2, 3, 0x80};
  s.mapLength = 1;
  s.mapDepth = 32;
  ImagePtr mapped = decode(tga(s, {0x81, 0x00}));
  ASSERT_NE(mapped, nullptr);
  EXPECT_EQ(mapped->bitsPerPixel, 32);
  EXPECT_EQ(mapped->pixels[1], 0x80030201u);
  ImagePtr grey = decode(tga({11, 2, 1, 8, 0x20}, {0x01, 0x05, 0x06}));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->pixels[1], 0xFF060606u);
}

TEST(Tga, TheHeaderIsEighteenBytes) {
  Bytes header = tga({2, 1, 1, 24, 0x20}, {});
  ASSERT_EQ(header.size(), 18u);
  ConsoleRecorder console;
  Bytes seventeen(header.begin(), header.end() - 1);
  EXPECT_EQ(decode(seventeen), nullptr);
  EXPECT_TRUE(console.printed("the header needs 18 bytes, the data has 17")) << joined(console.lines);
  // 16 bytes are not even taken for a TGA.
  Bytes sixteen(header.begin(), header.begin() + 16);
  EXPECT_EQ(decode(sixteen), nullptr);
  EXPECT_TRUE(console.printed("not a picture format")) << joined(console.lines);
}

struct BadTga {
  const char* label;
  Bytes data;
  const char* problem;
};

std::vector<BadTga> badTgas() {
  return {
      {"NoImageData", tga({0, 1, 1, 24}, {}), "image type 0 is not supported"},
      {"PixelsCut", tga({2, 2, 2, 24}, {1, 2, 3}), "the pixel data ends after 1 of 4 pixels"},
      {"RunLengthCut", tga({10, 2, 2, 24}, {0x81, 1, 2, 3}), "the run-length data ends after 2 of 4 pixels"},
      {"MapCut", [] { TgaSpec s{1, 1, 1, 8}; s.mapLength = 200; s.mapDepth = 24; return tga(s, {0}); }(),
       "the colour map runs past the end"},
      {"GreyOfSixteenBits", tga({3, 1, 1, 16}, {0, 0}), "16 bits per pixel do not fit image type 3"},
  };
}

class TgaBad : public ::testing::TestWithParam<BadTga> {};

TEST_P(TgaBad, IsReportedAndFails) {
  ConsoleRecorder console;
  EXPECT_EQ(decode(GetParam().data), nullptr);
  EXPECT_TRUE(console.printed(GetParam().problem)) << joined(console.lines);
}

INSTANTIATE_TEST_SUITE_P(Files, TgaBad, ::testing::ValuesIn(badTgas()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace vellum::image_test
