// The image operations are exported under their C names and work through them.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "image/ops_test_support.h"
#include "vellum/exports.h"

namespace vellum::ops_test {
namespace {

const char* const kExportedNames[] = {
    "color2colorImage", "clippingImage", "clippingImage2", "eraseImage", "trimmingImage", "trimmingImage2",
    "flipHorizontalImage", "flipVerticalImage", "flipHorizontalImage2", "flipVerticalImage2", "negaposiImage",
    "grayscalImage", "bcImage", "colorImage", "hslImage", "blurImage", "mosaicImage", "differenceImage",
    "compositeImage", "blendImage", "copyImage", "resizeImage", "resizeImage2", "rotateImage", "rotateImage2",
    "DurtyTransparency", "colImage",
};

TEST(ImageOpsExports, EveryOperationIsInTheDynamicSymbolTable) {
  for (const char* name : kExportedNames) EXPECT_NE(dlsym(RTLD_DEFAULT, name), nullptr) << name;
}

TEST(ImageOpsExports, CallsReachTheLibrary) {
  OwnedImage picture = makeImage(4, 2, 32, positionPixel);
  using Resize = int (*)(Image**, const Image*, double, double, int, int, int);
  auto resize = reinterpret_cast<Resize>(dlsym(RTLD_DEFAULT, "resizeImage"));
  ASSERT_NE(resize, nullptr);
  OwnedImage out;
  ASSERT_EQ(resize(out.address(), picture.get(), 200, 0, 0, 1, 0), 1);
  EXPECT_EQ(out->width, 8);
  EXPECT_EQ(out->height, 4);
  EXPECT_EQ(out.at(7, 3), positionPixel(3, 1));
  EXPECT_EQ(::negaposiImage(picture.get()), 1);
  EXPECT_EQ(picture.at(0, 0), positionPixel(0, 0) ^ 0xFFFFFFu);
  EXPECT_EQ(::flipVerticalImage2(picture.address()), 1);
  EXPECT_EQ(picture.at(0, 1), positionPixel(0, 0) ^ 0xFFFFFFu);
  EXPECT_EQ(printedBy([] { EXPECT_EQ(::blurImage(nullptr, 1, 1), 0); }), "-BLR: 画像データを読み込めませんでした\n");
}

}  // namespace
}  // namespace vellum::ops_test
