// Format detection from the first bytes, and loadHeader on each format.
#include <gtest/gtest.h>

#include "image/image_format.h"
#include "image_test_util.h"

namespace vellum::image_test {
namespace {

TEST(Detection, FirstBytesDecide) {
  const uint8_t tl[48] = {'T', 'L'};
  EXPECT_EQ(detectImageFormat(tl, 48), ImageFormat::Tlg);
  EXPECT_EQ(detectImageFormat(tl, 47), ImageFormat::Unknown);
  const uint8_t bm[] = {'B', 'M'};
  EXPECT_EQ(detectImageFormat(bm, 2), ImageFormat::Bmp);
  const uint8_t png[] = {0x89, 'P'};
  EXPECT_EQ(detectImageFormat(png, 2), ImageFormat::Png);
  const uint8_t jpeg[] = {0xFF, 0xD8};
  EXPECT_EQ(detectImageFormat(jpeg, 2), ImageFormat::Jpeg);
  uint8_t tga[17] = {0, 1, 9};
  tga[16] = 15;
  EXPECT_EQ(detectImageFormat(tga, 17), ImageFormat::Tga);
  EXPECT_EQ(detectImageFormat(tga, 16), ImageFormat::Unknown);
  tga[2] = 4;
  EXPECT_EQ(detectImageFormat(tga, 17), ImageFormat::Unknown);
  tga[2] = 11;
  tga[16] = 12;
  EXPECT_EQ(detectImageFormat(tga, 17), ImageFormat::Unknown);
  tga[16] = 32;
  tga[1] = 2;
  EXPECT_EQ(detectImageFormat(tga, 17), ImageFormat::Unknown);
  EXPECT_EQ(detectImageFormat(nullptr, 0), ImageFormat::Unknown);
}

TEST(Detection, UnknownDataIsReported) {
  ConsoleRecorder console;
  const Bytes junk(40, 0x55);
  EXPECT_EQ(decode(junk), nullptr);
  EXPECT_TRUE(console.printed("loadImage: the data is not a picture format the engine knows"));
}

TEST(Header, EachFormatGivesItsSize) {
  struct Expect {
    SaveFormat format;
    int option1;
    int option2;
    int bits;
  };
  const Expect cases[] = {
      {SaveFormat::Tlg, 8, 0, 8},    {SaveFormat::Tlg, 24, 1, 24}, {SaveFormat::Tlg, 32, 1, 32},
      {SaveFormat::Png, 8, 6, 8},    {SaveFormat::Png, 24, 6, 24}, {SaveFormat::Png, 32, 6, 32},
      {SaveFormat::Bmp, 8, 0, 8},    {SaveFormat::Bmp, 32, 0, 32}, {SaveFormat::Jpeg, 24, 80, 24},
  };
  for (const Expect& c : cases) {
    ImagePtr source = randomImage(21, 13, 32, 1);
    setLayer(*source, "n.png", 1, 2, 3);  // TLG gets the TLG0 wrapper
    const Bytes file = encode(*source, c.format, c.option1, c.option2);
    PictureHeader h{};
    ASSERT_TRUE(loadHeader(file.data(), file.size(), h)) << static_cast<int>(c.format);
    EXPECT_EQ(h.width, 21);
    EXPECT_EQ(h.height, 13);
    EXPECT_EQ(h.bitsPerPixel, c.bits) << static_cast<int>(c.format) << " " << c.option1;
  }
  const Bytes tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 3, 0, 24, 0};
  PictureHeader h{};
  ASSERT_TRUE(loadHeader(tga.data(), tga.size(), h));
  EXPECT_EQ(h.width, 7);
  EXPECT_EQ(h.height, 3);
  EXPECT_EQ(h.bitsPerPixel, 24);
}

}  // namespace
}  // namespace vellum::image_test
