// The exported C functions plug-ins call: the same codecs behind a C signature.
#include <gtest/gtest.h>

#include "image_test_util.h"
#include "support/engine_fixture.h"
#include "vellum/exports.h"

namespace vellum::image_test {
namespace {

TEST(ImageExports, CreateLoadHeaderLoadDataAndFree) {
  ::Image* picture = ::createImage(6, 5, 24);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->pixelCount, 30);
  ImagePtr source = randomImage(6, 5, 24, 1);
  const Bytes png = encode(*source, SaveFormat::Png, 24, 6);

  int32_t width = 0, height = 0, bits = 0;
  EXPECT_EQ(::loadHeader(png.data(), static_cast<uint32_t>(png.size()), &width, &height, &bits), 1);
  EXPECT_EQ(width, 6);
  EXPECT_EQ(height, 5);
  EXPECT_EQ(bits, 24);
  EXPECT_EQ(::loadHeader(png.data(), static_cast<uint32_t>(png.size()), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(::loadImageData(picture, png.data(), static_cast<uint32_t>(png.size())), 1);
  EXPECT_EQ(firstDifference(*source, *picture), -1);

  ::Image* loaded = ::loadImage(png.data(), static_cast<uint32_t>(png.size()));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(firstDifference(*source, *loaded), -1);
  ::freeImage(&loaded);
  EXPECT_EQ(loaded, nullptr);
  ::freeImage(&picture);
  EXPECT_EQ(picture, nullptr);
  ::freeImage(nullptr);
}

TEST(ImageExports, NullAndBadArgumentsFail) {
  ConsoleRecorder console;
  EXPECT_EQ(::createImage(0, 5, 24), nullptr);
  EXPECT_EQ(::loadImage(nullptr, 100), nullptr);
  EXPECT_EQ(::loadImageData(nullptr, "BM", 2), 0);
  EXPECT_EQ(::loadHeader("xx", 2, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(::saveImage("x.png", nullptr, 1, 0, 6, 0), 0);
  EXPECT_TRUE(console.printed("PNG: \"x.png\""));
}

TEST(ImageExports, SaveImageWritesTheFile) {
  test::TempFolder folder;
  ImagePtr source = randomImage(3, 3, 32, 2);
  const std::string path = (folder.path() / "shot.tlg").string();
  EXPECT_EQ(::saveImage(path.c_str(), source.get(), 3, 32, 1, 0), 1);
  const std::string bytes = test::readFileBytes(path);
  EXPECT_EQ(bytes.substr(0, 6), "TLG6.0");
}

}  // namespace
}  // namespace vellum::image_test
