// The two result conventions (output parameter, "...2" replacement) and the failure lines.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "image/ops/image_ops.h"
#include "image/ops/ops_report.h"
#include "image/ops_test_support.h"
#include "base/text_encoding.h"

namespace vellum::ops_test {
namespace {

// Operations with an output parameter, each asked for a 4 x 3 result from a 4 x 3 source.
struct OutputCase {
  const char* name;
  std::function<int(Image**, const Image*)> run;
};

const OutputCase kOutputCases[] = {
    {"Clipping", [](Image** out, const Image* in) { return clippingImage(out, in, 0, 0, 0, 0); }},
    {"Copy", [](Image** out, const Image* in) { return copyImage(out, in); }},
    {"FlipHorizontal", [](Image** out, const Image* in) { return flipHorizontalImage(out, in); }},
    {"FlipVertical", [](Image** out, const Image* in) { return flipVerticalImage(out, in); }},
    {"Resize", [](Image** out, const Image* in) { return resizeImage(out, in, 4, 3, 1, 1, 1); }},
    {"Rotate", [](Image** out, const Image* in) { return rotateImage(out, in, 180, 0, 1); }},
    {"Trimming", [](Image** out, const Image* in) { return trimmingImage(out, in, 0, 0, 0); }},
};

class OutputConvention : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputConvention, CreatesANullOutput) {
  const OwnedImage source = makeImage(4, 3, 32, positionPixel);
  OwnedImage out;
  ASSERT_EQ(GetParam().run(out.address(), source.get()), 1);
  ASSERT_NE(out.get(), nullptr);
  EXPECT_EQ(out->width, 4);
  EXPECT_EQ(out->height, 3);
  EXPECT_TRUE(spareRowIsClear(*out));
}

TEST_P(OutputConvention, WritesIntoAnOutputOfTheRightSize) {
  const OwnedImage source = makeImage(4, 3, 32, positionPixel);
  OwnedImage out = filledImage(4, 3, 24, 0x12345678);
  Image* const before = out.get();
  ASSERT_EQ(GetParam().run(out.address(), source.get()), 1);
  EXPECT_EQ(out.get(), before);
  EXPECT_EQ(out->bitsPerPixel, 32);
  EXPECT_NE(out.at(0, 0), 0x12345678u);
}

TEST_P(OutputConvention, ReplacesAnOutputOfAnotherSize) {
  const OwnedImage source = makeImage(4, 3, 32, positionPixel);
  OwnedImage out = filledImage(9, 9, 32, 0);
  ASSERT_EQ(GetParam().run(out.address(), source.get()), 1);
  EXPECT_EQ(out->width, 4);
  EXPECT_EQ(out->height, 3);
}

TEST_P(OutputConvention, OutputMayBeTheSourceItself) {
  OwnedImage picture = makeImage(4, 3, 32, positionPixel);
  OwnedImage expected;
  {
    const OwnedImage copy = makeImage(4, 3, 32, positionPixel);
    ASSERT_EQ(GetParam().run(expected.address(), copy.get()), 1);
  }
  ASSERT_EQ(GetParam().run(picture.address(), picture.get()), 1);
  EXPECT_EQ(picture.pixels(), expected.pixels());
}

TEST_P(OutputConvention, NullArgumentsFailWithAReport) {
  const OwnedImage source = makeImage(4, 3, 32, positionPixel);
  const std::string line = printedBy([&] {
    EXPECT_EQ(GetParam().run(nullptr, source.get()), 0);
    OwnedImage out;
    EXPECT_EQ(GetParam().run(out.address(), nullptr), 0);
    EXPECT_EQ(out.get(), nullptr);
  });
  EXPECT_NE(line.find("画像データを読み込めませんでした\n"), std::string::npos) << line;
  EXPECT_EQ(line.front(), '-');
}

INSTANTIATE_TEST_SUITE_P(Operations, OutputConvention, ::testing::ValuesIn(kOutputCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The "...2" variants against their output-parameter forms.
struct ReplaceCase {
  const char* name;
  std::function<int(Image**)> inPlace;
  std::function<int(Image**, const Image*)> withOutput;
};

const ReplaceCase kReplaceCases[] = {
    {"Clipping", [](Image** p) { return clippingImage2(p, 1, 1, 2, 2); },
     [](Image** out, const Image* in) { return clippingImage(out, in, 1, 1, 2, 2); }},
    {"FlipHorizontal", [](Image** p) { return flipHorizontalImage2(p); },
     [](Image** out, const Image* in) { return flipHorizontalImage(out, in); }},
    {"FlipVertical", [](Image** p) { return flipVerticalImage2(p); },
     [](Image** out, const Image* in) { return flipVerticalImage(out, in); }},
    {"Resize", [](Image** p) { return resizeImage2(p, 200, 0, 0, 1, 1); },
     [](Image** out, const Image* in) { return resizeImage(out, in, 200, 0, 0, 1, 1); }},
    {"Rotate", [](Image** p) { return rotateImage2(p, 90, 0, 1); },
     [](Image** out, const Image* in) { return rotateImage(out, in, 90, 0, 1); }},
    {"Trimming", [](Image** p) { return trimmingImage2(p, 0, 0, 0); },
     [](Image** out, const Image* in) { return trimmingImage(out, in, 0, 0, 0); }},
};

class ReplaceConvention : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceConvention, ReplacesThePictureWithTheResult) {
  OwnedImage picture = makeImage(4, 3, 32, [](int x, int y) { return x == 0 && y == 0 ? 0u : positionPixel(x, y); });
  picture->mode = 7;
  const OwnedImage source = makeImage(4, 3, 32, [&](int x, int y) { return picture.at(x, y); });
  source->mode = 7;
  OwnedImage expected;
  ASSERT_EQ(GetParam().withOutput(expected.address(), source.get()), 1);
  ASSERT_EQ(GetParam().inPlace(picture.address()), 1);
  EXPECT_EQ(picture->width, expected->width);
  EXPECT_EQ(picture->height, expected->height);
  EXPECT_EQ(picture.pixels(), expected.pixels());
  EXPECT_EQ(picture->mode, 7);
}

TEST_P(ReplaceConvention, NullPicturesFailWithAReport) {
  Image* none = nullptr;
  const std::string line = printedBy([&] {
    EXPECT_EQ(GetParam().inPlace(nullptr), 0);
    EXPECT_EQ(GetParam().inPlace(&none), 0);
  });
  EXPECT_NE(line.find("画像データを読み込めませんでした\n"), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Operations, ReplaceConvention, ::testing::ValuesIn(kReplaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReplaceConvention, AFailureLeavesThePictureAlone) {
  OwnedImage picture = makeImage(4, 3, 32, positionPixel);
  Image* const before = picture.get();
  const std::string line = printedBy([&] { EXPECT_EQ(clippingImage2(picture.address(), 10, 10, 2, 2), 0); });
  EXPECT_EQ(line, "-CUT: 範囲の設定が無効です\n");
  EXPECT_EQ(picture.get(), before);
  EXPECT_EQ(picture.at(3, 2), positionPixel(3, 2));
}

// In-place operations on a null picture: each family's code with the no-picture text.
struct NullCase {
  const char* code;
  std::function<int()> run;
};

const NullCase kNullCases[] = {
    {"C2C", [] { return color2colorImage(nullptr, 0, 0, 0); }},
    {"ERS", [] { return eraseImage(nullptr, 0, 0, 1, 1); }},
    {"REV", [] { return negaposiImage(nullptr); }},
    {"GRY", [] { return grayscalImage(nullptr); }},
    {"BC", [] { return bcImage(nullptr, 0, 0); }},
    {"RGB", [] { return colorImage(nullptr, 0, 0, 0); }},
    {"HLB", [] { return hslImage(nullptr, 0, 0, 0); }},
    {"BLR", [] { return blurImage(nullptr, 1, 1); }},
    {"BLR", [] { return mosaicImage(nullptr, 2, 2); }},
    {"DIF", [] { return differenceImage(nullptr, nullptr, 0, 0); }},
    {"CMP", [] { return compositeImage(nullptr, nullptr, 0, 0, 0, 0); }},
    {"BLD", [] { return blendImage(nullptr, nullptr, 1, 0, 0, 256, 0); }},
    {"BLD", [] { return colImage(nullptr, 1, 0xFF000000); }},
    {"TRM", [] { return DurtyTransparency(nullptr, 0); }},
};

TEST(FailureReport, EveryFamilyPrintsItsCodeAndTheShiftJisText) {
  for (const NullCase& c : kNullCases) {
    const std::string line = printedBy([&] { EXPECT_EQ(c.run(), 0) << c.code; });
    EXPECT_EQ(line, "-" + std::string(c.code) + ": 画像データを読み込めませんでした\n");
  }
}

TEST(FailureReport, TextsAreShiftJisBytes) {
  // "メモリを確保出来ませんでした" begins with メ (83 81) and ends with た (82 BD).
  const std::string_view memory = imageFailureText(ImageFailure::Memory);
  EXPECT_EQ(memory.substr(0, 2), "\x83\x81");
  EXPECT_EQ(memory.substr(memory.size() - 2), "\x82\xbd");
  EXPECT_EQ(toUtf8(memory, CodePage::ShiftJis), "メモリを確保出来ませんでした");
  EXPECT_EQ(toUtf8(imageFailureText(ImageFailure::SizeMismatch), CodePage::ShiftJis), "二つの画像のサイズが違います");
  EXPECT_EQ(toUtf8(imageFailureText(ImageFailure::InvalidSize), CodePage::ShiftJis), "幅値の設定が無効です");
  EXPECT_EQ(printedBy([] { reportImageFailure("CUT", ImageFailure::Memory); }), "-CUT: メモリを確保出来ませんでした\n");
}

}  // namespace
}  // namespace vellum::ops_test
