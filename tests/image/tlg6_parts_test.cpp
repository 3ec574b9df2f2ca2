// The pieces of the TLG6 codec on their own: the parameter table, colour filters and their
// inverses, the Golomb channel code both ways, and the packed line decoder against the plain one.
#include <gtest/gtest.h>

#include <random>

#include "image/tlg6_colour_filter.h"
#include "image/tlg6_golomb_decoder.h"
#include "image/tlg6_golomb_encoder.h"
#include "image/tlg6_golomb_table.h"
#include "image/tlg6_line.h"
#include "image/tlg6_prediction.h"
#include "image_test_util.h"

namespace vellum::image_test {
namespace {

TEST(Tlg6Table, ColumnsFollowTheirCounts) {
  EXPECT_EQ(golombBitLength(0, 0), 0);
  EXPECT_EQ(golombBitLength(2, 0), 0);
  EXPECT_EQ(golombBitLength(3, 0), 1);
  EXPECT_EQ(golombBitLength(1, 3), 0);
  EXPECT_EQ(golombBitLength(2, 3), 1);
  EXPECT_EQ(golombBitLength(1023, 0), 8);
  EXPECT_EQ(golombBitLength(1023, 3), 8);
  EXPECT_EQ(golombBitLength(512, 3), 7);  // column 3: 2+3+9+18+33+61+129+258 = 513 rows below 8
  EXPECT_EQ(golombBitLength(513, 3), 8);
}

TEST(Tlg6Filters, TableExamples) {
  // B = 1, G = 2, R = 3 in bytes 0, 1, 2; alpha 0x44 untouched.
  const uint32_t w = 0x44030201;
  EXPECT_EQ(hexPixel(applyColourFilter(0, w)), "44030201");
  EXPECT_EQ(hexPixel(applyColourFilter(1, w)), "44050203");  // B+G, G, R+G
  EXPECT_EQ(hexPixel(applyColourFilter(2, w)), "44060301");  // B, G+B, R+B+G
  EXPECT_EQ(hexPixel(applyColourFilter(4, w)), "44090604");  // B+R, G+B+R, R+B+R+G
  EXPECT_EQ(hexPixel(applyColourFilter(9, w)), "44040607");  // B+G+R+B, G+R+B, R+B
  EXPECT_EQ(hexPixel(applyColourFilter(13, w)), "44060803");  // B+G, G+R+B+G, R+B+G
  EXPECT_EQ(hexPixel(applyColourFilter(14, w)), "44090506");  // B+R+G, G+R, R+B+R+G
  EXPECT_EQ(hexPixel(applyColourFilter(15, w)), "44050401");  // B, G+2B, R+2B
}

TEST(Tlg6Filters, InversesUndoEveryFilter) {
  std::mt19937 rng(1);
  for (int f = 0; f < kTlg6ColourFilters; ++f) {
    for (int i = 0; i < 2000; ++i) {
      const uint32_t w = rng();
      ASSERT_EQ(applyColourFilter(f, undoColourFilter(f, w)), w) << f;
    }
  }
}

TEST(Tlg6Prediction, MedianMatchesItsDefinition) {
  for (uint32_t l = 0; l < 256; l += 5)
    for (uint32_t u = 0; u < 256; u += 7)
      for (uint32_t c = 0; c < 256; c += 3) {
        const uint32_t lo = std::min(l, u), hi = std::max(l, u);
        const uint32_t expected = c >= hi ? lo : c <= lo ? hi : l + u - c;
        ASSERT_EQ(medianPredictByte(l, u, c), expected) << l << " " << u << " " << c;
      }
  EXPECT_EQ(averagePredict(0x00FF0301, 0x00FF0000), 0x00FF0201u);  // ceil per byte
}

Bytes randomResiduals(size_t count, uint32_t seed, int spread) {
  std::mt19937 rng(seed);
  Bytes r(count);
  for (auto& v : r) v = rng() % 3 == 0 ? 0 : static_cast<uint8_t>(static_cast<int>(rng() % (2 * spread + 1)) - spread);
  return r;
}

TEST(Tlg6Golomb, EncoderAndDecoderAgree) {
  for (int spread : {1, 4, 40, 127, 128}) {
    for (uint32_t seed = 0; seed < 20; ++seed) {
      const Bytes residuals = randomResiduals(8 * 37, seed, spread);
      BitWriter bits;
      encodeGolombChannel(residuals.data(), residuals.size(), bits);
      Bytes stream = bits.finish();
      stream.resize(stream.size() + kGolombReadPadding, 0);
      std::vector<uint32_t> words(residuals.size(), 0xA5A5A5A5u);
      ASSERT_EQ(decodeGolombChannel(stream.data(), bits.bitCount(), words.data(), words.size(), ResidualLane::Byte2),
                GolombResult::Ok);
      for (size_t i = 0; i < residuals.size(); ++i) {
        ASSERT_EQ((words[i] >> 16) & 0xFF, residuals[i]) << spread << " " << seed << " " << i;
        ASSERT_EQ(words[i] & 0xFF00FFFFu, 0xA5A5A5A5u & 0xFF00FFFFu);  // other bytes untouched
      }
      std::vector<uint32_t> plain(residuals.size(), 0xA5A5A5A5u);
      ASSERT_EQ(decodeGolombChannelPlain(stream.data(), bits.bitCount(), plain.data(), plain.size(), ResidualLane::Byte2),
                GolombResult::Ok);
      ASSERT_EQ(plain, words);
      std::vector<uint32_t> whole(residuals.size(), 0xFFFFFFFFu);
      ASSERT_EQ(decodeGolombChannel(stream.data(), bits.bitCount(), whole.data(), whole.size(), ResidualLane::WholeWord),
                GolombResult::Ok);
      for (size_t i = 0; i < residuals.size(); ++i) ASSERT_EQ(whole[i], residuals[i]);
    }
  }
}

TEST(Tlg6Golomb, EveryEscapePositionRoundTrips) {
  // Large values force the escape at whatever bit the value happens to start.
  for (int lead = 0; lead < 8; ++lead) {
    Bytes residuals(lead, 0);
    residuals.push_back(0x80);
    residuals.push_back(0x7F);
    residuals.push_back(0x81);
    BitWriter bits;
    encodeGolombChannel(residuals.data(), residuals.size(), bits);
    Bytes stream = bits.finish();
    stream.resize(stream.size() + kGolombReadPadding, 0);
    std::vector<uint32_t> words(residuals.size());
    ASSERT_EQ(decodeGolombChannel(stream.data(), bits.bitCount(), words.data(), words.size(), ResidualLane::WholeWord),
              GolombResult::Ok);
    for (size_t i = 0; i < residuals.size(); ++i) ASSERT_EQ(words[i], residuals[i]) << lead;
  }
}

TEST(Tlg6Line, PackedDecoderMatchesThePlainOne) {
  std::mt19937 rng(9);
  for (int width : {1, 5, 8, 13, 16, 31, 64}) {
    for (int bandLines : {1, 3, 8}) {
      std::vector<uint32_t> residuals(size_t(width) * bandLines);
      for (auto& r : residuals) r = rng();
      const int blocks = (width + 7) / 8;
      std::vector<uint8_t> filters(blocks);
      for (auto& f : filters) f = static_cast<uint8_t>(rng() % 34);  // a few above 31
      std::vector<uint32_t> above(width);
      for (auto& a : above) a = rng();
      for (int line = 0; line < bandLines; ++line) {
        const Tlg6LineInput in{residuals.data(), filters.data(), above.data(), static_cast<uint32_t>(rng()), width, line + 3, line, bandLines};
        std::vector<uint32_t> plain(width, 0x12345678u), fast(width, 0x12345678u);
        reconstructTlg6LinePlain(in, plain.data());
        reconstructTlg6LineFast(in, fast.data());
        ASSERT_EQ(plain, fast) << width << " " << bandLines << " " << line;
      }
    }
  }
}

}  // namespace
}  // namespace vellum::image_test
