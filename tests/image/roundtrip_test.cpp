// Pictures written by the engine's writers come back bit for bit through its readers, with the
// layer name, position and mode where the format carries them.
#include <gtest/gtest.h>

#include <string>

#include "image_test_util.h"

namespace vellum::image_test {
namespace {

struct Size {
  int width;
  int height;
};

struct Codec {
  const char* label;
  SaveFormat format;
  int bits;  // source picture and option1
  int option2;
  int option3;
  bool carriesLayer;
  int bitsBack;  // bits per pixel the reader reports
};

const Size kSizes[] = {{1, 1}, {8, 8}, {13, 19}, {801, 601}};

const Codec kCodecs[] = {
    {"tlg5_grey", SaveFormat::Tlg, 8, 0, 0, true, 8},   {"tlg5_bgr", SaveFormat::Tlg, 24, 0, 0, true, 24},
    {"tlg5_bgra", SaveFormat::Tlg, 32, 0, 0, true, 32}, {"tlg6_grey", SaveFormat::Tlg, 8, 1, 0, true, 8},
    {"tlg6_bgr", SaveFormat::Tlg, 24, 1, 0, true, 24},  {"tlg6_bgra", SaveFormat::Tlg, 32, 1, 0, true, 32},
    {"png_grey", SaveFormat::Png, 8, 6, 0, true, 24},   {"png_rgb", SaveFormat::Png, 24, 6, 0, true, 24},
    {"png_rgba", SaveFormat::Png, 32, 1, 0, true, 32},  {"png_adam7", SaveFormat::Png, 32, 6, 1, true, 32},
    {"bmp_grey", SaveFormat::Bmp, 8, 0, 0, false, 24},  {"bmp_bgr", SaveFormat::Bmp, 24, 0, 0, false, 24},
    {"bmp_bgra", SaveFormat::Bmp, 32, 0, 0, false, 32},
};

struct Case {
  Size size;
  Codec codec;
};

std::vector<Case> allCases() {
  std::vector<Case> cases;
  for (const Size& s : kSizes)
    for (const Codec& c : kCodecs) cases.push_back({s, c});
  return cases;
}

class RoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(RoundTrip, IsBitExact) {
  const auto& [size, codec] = GetParam();
  ConsoleRecorder console;
  ImagePtr source = randomImage(size.width, size.height, codec.bits, size.width * 7919u + size.height);
  setLayer(*source, "layer01.bmp", -12, 34, 5);
  const Bytes file = encode(*source, codec.format, codec.bits, codec.option2, codec.option3);
  ImagePtr back = decode(file);
  ASSERT_NE(back, nullptr) << joined(console.lines);
  EXPECT_EQ(back->width, size.width);
  EXPECT_EQ(back->height, size.height);
  EXPECT_EQ(back->bitsPerPixel, codec.bitsBack);
  const long at = firstDifference(*source, *back);
  EXPECT_EQ(at, -1) << "pixel " << at << ": " << hexPixel(source->pixels[at < 0 ? 0 : at]) << " came back as "
                    << hexPixel(back->pixels[at < 0 ? 0 : at]);
  // The spare row after the last stays zero.
  for (int x = 0; x < size.width; ++x) ASSERT_EQ(back->pixels[size.width * size.height + x], 0u);
  if (codec.carriesLayer) {
    EXPECT_STREQ(back->name, source->name);
    EXPECT_EQ(back->left, -12);
    EXPECT_EQ(back->top, 34);
    EXPECT_EQ(back->mode, 5);
  }
  EXPECT_TRUE(console.lines.empty()) << joined(console.lines);
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  return std::string(info.param.codec.label) + "_" + std::to_string(info.param.size.width) + "x" +
         std::to_string(info.param.size.height);
}

INSTANTIATE_TEST_SUITE_P(Codecs, RoundTrip, ::testing::ValuesIn(allCases()), caseName);

// The writers rename the layer to their own extension, in the caller's Image too.
TEST(RoundTripNames, WritersTakeTheirOwnExtension) {
  struct Expect {
    SaveFormat format;
    int option2;
    const char* name;
  };
  const Expect expected[] = {{SaveFormat::Tlg, 0, "face.tlg"}, {SaveFormat::Tlg, 1, "face.tlg"},
                             {SaveFormat::Png, 6, "face.png"}, {SaveFormat::Jpeg, 90, "face.jpg"}};
  for (const Expect& e : expected) {
    ImagePtr source = randomImage(4, 3, 24, 1);
    setLayer(*source, "face.bmp", 0, 0, 0);
    const Bytes file = encode(*source, e.format, 0, e.option2);
    EXPECT_STREQ(source->name, e.name);
    ImagePtr back = decode(file);
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back->name, e.name);
  }
}

TEST(RoundTripNames, NegativeAndLargePositionsSurvive) {
  const int positions[][3] = {{-1, -1, -1}, {INT32_MIN, INT32_MAX, 0}, {-65536, 70000, 123456}};
  for (const auto& p : positions) {
    for (SaveFormat format : {SaveFormat::Tlg, SaveFormat::Png, SaveFormat::Jpeg}) {
      ImagePtr source = randomImage(5, 5, 24, 2);
      setLayer(*source, "x", p[0], p[1], p[2]);
      ImagePtr back = decode(encode(*source, format, 0, format == SaveFormat::Png ? 6 : 1));
      ASSERT_NE(back, nullptr);
      EXPECT_EQ(back->left, p[0]);
      EXPECT_EQ(back->top, p[1]);
      EXPECT_EQ(back->mode, p[2]);
      EXPECT_STREQ(back->name, "x");
    }
  }
}

TEST(RoundTripNames, APictureWithoutNameOrModeIsWrittenBare) {
  ImagePtr source = randomImage(6, 6, 32, 3);
  source->left = 10;  // a position alone is not metadata worth a container
  const Bytes tlg = encode(*source, SaveFormat::Tlg, 0, 1);
  ASSERT_GE(tlg.size(), 4u);
  EXPECT_EQ(std::string(tlg.begin(), tlg.begin() + 4), "TLG6");
  ImagePtr back = decode(tlg);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->left, 0);
}

// 24-bit output drops the alpha: the reader gives 255 everywhere.
TEST(RoundTripAlpha, ThreeColoursReadBackOpaque) {
  for (int option2 : {0, 1}) {
    ImagePtr source = randomImage(13, 19, 32, 4);
    ImagePtr back = decode(encode(*source, SaveFormat::Tlg, 24, option2));
    ASSERT_NE(back, nullptr);
    for (int i = 0; i < 13 * 19; ++i) {
      ASSERT_EQ(back->pixels[i], source->pixels[i] | 0xFF000000u) << i;
    }
  }
}

// Smooth pictures compress: the TLG writers produce far less than the raw size.
TEST(RoundTripSize, SmoothPicturesCompress) {
  ImagePtr source = photoLikeImage(320, 200, 5);
  for (int option2 : {0, 1}) {
    const Bytes file = encode(*source, SaveFormat::Tlg, 32, option2);
    EXPECT_LT(file.size(), size_t{320} * 200 * 4 / 2) << option2;
    ImagePtr back = decode(file);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(firstDifference(*source, *back), -1);
  }
}

}  // namespace
}  // namespace vellum::image_test
