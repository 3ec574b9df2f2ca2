// Damaged PNGs: each is reported and fails, and libpng never gets to allocate what a damaged
// length claims.
#include <gtest/gtest.h>

#include "image_test_util.h"

namespace vellum::image_test {
namespace {

Bytes goodPng() {
  ImagePtr source = randomImage(16, 9, 32, 1);
  setLayer(*source, "x.png", 1, 2, 3);
  return encode(*source, SaveFormat::Png, 32, 6);
}

size_t chunkAt(const Bytes& png, const std::string& type) {
  const Bytes what(type.begin(), type.end());
  return static_cast<size_t>(std::search(png.begin(), png.end(), what.begin(), what.end()) - png.begin()) - 4;
}

struct BadPng {
  const char* label;
  void (*damage)(Bytes&);
  const char* problem;
};

const BadPng kBad[] = {
    {"TextLengthPastTheEnd", [](Bytes& p) { p[chunkAt(p, "tEXt")] = 0x3A; }, "the chunk 'tEXt' of 973078538 bytes runs past"},
    {"DataLengthPastTheEnd", [](Bytes& p) { p[chunkAt(p, "IDAT") + 1] = 0x7F; }, "the chunk 'IDAT'"},
    {"CutInsideTheData", [](Bytes& p) { p.resize(chunkAt(p, "IDAT") + 20); }, "PNG: "},
    {"BrokenCompressedData", [](Bytes& p) { const size_t at = chunkAt(p, "IDAT") + 10; for (int i = 0; i < 20; ++i) p[at + i] ^= 0x5A; }, "PNG: "},
    {"BrokenHeaderCrc", [](Bytes& p) { p[29] ^= 1; }, "PNG: IHDR: CRC error"},
    {"NotPngAfterTheFirstBytes", [](Bytes& p) { p[3] = 'X'; }, "PNG: "},
};

class PngBad : public ::testing::TestWithParam<BadPng> {};

TEST_P(PngBad, IsReportedAndFails) {
  Bytes png = goodPng();
  GetParam().damage(png);
  ConsoleRecorder console;
  EXPECT_EQ(decode(png), nullptr);
  EXPECT_TRUE(console.printed(GetParam().problem)) << joined(console.lines);
}

INSTANTIATE_TEST_SUITE_P(Files, PngBad, ::testing::ValuesIn(kBad),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace vellum::image_test
