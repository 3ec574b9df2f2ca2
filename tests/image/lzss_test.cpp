// The LZSS token decoder on hand-made tokens, and the SlideCompressor against it.
#include <gtest/gtest.h>

#include <random>

#include "image/lzss.h"
#include "image/slide_compressor.h"
#include "tlg_stream_builder.h"

namespace vellum::image_test {
namespace {

Bytes unpack(LzssRing& ring, const Bytes& tokens, size_t size, LzssResult expected = LzssResult::Ok) {
  Bytes out(size, 0xEE);
  EXPECT_EQ(lzssDecode(ring, tokens.data(), tokens.size(), out.data(), out.size()), expected);
  return out;
}

TEST(LzssDecode, LiteralsAndAnOverlappingMatch) {
  LzssRing ring;
  // "ab" then a match from position 0 of length 6 that reads the bytes it writes: "ababab".
  const Bytes out = unpack(ring, lzssTokens({literal('a'), literal('b'), match(0, 6)}), 8);
  EXPECT_EQ(std::string(out.begin(), out.end()), "abababab");
  EXPECT_EQ(ring.position, 8u);
}

TEST(LzssDecode, ExtendedLengthsUseAThirdByte) {
  LzssRing ring;
  for (uint32_t length : {17u, 18u, 19u, 273u}) {
    ring = LzssRing{};
    const Bytes tokens = lzssTokens({literal('z'), match(0, length)});
    EXPECT_EQ(tokens.size(), length >= 18 ? 5u : 4u);
    const Bytes out = unpack(ring, tokens, 1 + length);
    EXPECT_EQ(out, Bytes(1 + length, 'z')) << length;
  }
}

TEST(LzssDecode, TheRingWrapsAndPersists) {
  LzssRing ring;
  ring.position = 4094;
  unpack(ring, lzssLiterals({1, 2, 3, 4}), 4);
  EXPECT_EQ(ring.position, 2u);
  EXPECT_EQ(ring.bytes[4095], 2);
  EXPECT_EQ(ring.bytes[1], 4);
  // A match starting at 4095 wraps to 0.
  const Bytes out = unpack(ring, lzssTokens({match(4095, 3)}), 3);
  EXPECT_EQ(out, (Bytes{2, 3, 4}));
}

TEST(LzssDecode, FilterRingHoldsIThenJ) {
  const LzssRing ring = filterTableRing();
  EXPECT_EQ(ring.position, 0u);
  // Entry (i = 3, j = 5) sits at (3 * 16 + 5) * 8.
  const uint8_t* e = ring.bytes + (3 * 16 + 5) * 8;
  EXPECT_EQ(Bytes(e, e + 8), (Bytes{3, 3, 3, 3, 5, 5, 5, 5}));
  EXPECT_EQ(ring.bytes[4095], 15);
}

TEST(LzssDecode, SizesAreChecked) {
  LzssRing ring;
  unpack(ring, lzssLiterals({1, 2, 3}), 2, LzssResult::Overflow);
  unpack(ring, lzssTokens({match(0, 10)}), 9, LzssResult::Overflow);
  unpack(ring, lzssLiterals({1}), 2, LzssResult::Short);
  Bytes cut = lzssTokens({match(0, 10)});
  cut.pop_back();
  unpack(ring, cut, 10, LzssResult::Truncated);
  Bytes cutLong = lzssTokens({match(0, 30)});
  cutLong.pop_back();
  unpack(ring, cutLong, 30, LzssResult::Truncated);
}

Bytes sampleData(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes data;
  while (data.size() < size) {
    if (rng() % 3 == 0 && data.size() > 10) {
      const size_t from = rng() % data.size();
      const size_t length = std::min<size_t>(rng() % 300, data.size() - from);
      for (size_t i = 0; i < length; ++i) data.push_back(data[from + i]);
    } else {
      data.push_back(static_cast<uint8_t>(rng() % 4));
    }
  }
  data.resize(size);
  return data;
}

TEST(SlideCompressor, DecodesBackAcrossCallsWithOneRing) {
  SlideCompressor compressor;
  LzssRing ring;
  for (uint32_t call = 0; call < 6; ++call) {
    const Bytes data = sampleData(5000 + call * 777, call);
    Bytes tokens;
    compressor.encode(data.data(), data.size(), tokens);
    EXPECT_LT(tokens.size(), data.size());
    EXPECT_EQ(unpack(ring, tokens, data.size()), data) << call;
  }
}

TEST(SlideCompressor, RollingBackForgetsTheLastCall) {
  SlideCompressor compressor;
  LzssRing ring;
  const Bytes first = sampleData(3000, 1);
  Bytes tokens;
  compressor.encode(first.data(), first.size(), tokens);
  unpack(ring, tokens, first.size());
  compressor.checkpoint();
  const Bytes dropped = sampleData(2000, 2);
  Bytes ignored;
  compressor.encode(dropped.data(), dropped.size(), ignored);
  compressor.rollBack();
  const Bytes next = sampleData(3000, 3);
  tokens.clear();
  compressor.encode(next.data(), next.size(), tokens);
  EXPECT_EQ(unpack(ring, tokens, next.size()), next);
}

TEST(SlideCompressor, UsesThePrefilledRing) {
  SlideCompressor compressor(filterTableRing());
  const Bytes filters = {3, 3, 3, 3, 5, 5, 5, 5, 0, 0, 0, 0};
  Bytes tokens;
  compressor.encode(filters.data(), filters.size(), tokens);
  EXPECT_LT(tokens.size(), filters.size());
  LzssRing ring = filterTableRing();
  EXPECT_EQ(unpack(ring, tokens, filters.size()), filters);
}

TEST(SlideCompressor, EdgeSizes) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{273}, size_t{274}, size_t{9000}}) {
    SlideCompressor compressor;
    const Bytes data(size, 7);
    Bytes tokens;
    compressor.encode(data.data(), data.size(), tokens);
    LzssRing ring;
    EXPECT_EQ(unpack(ring, tokens, size), data) << size;
  }
}

}  // namespace
}  // namespace vellum::image_test
