// TLG5 streams assembled by hand, decoded by the engine: expected pixels worked out from the
// stream layout (running sums along the line, plus the line above).
#include <gtest/gtest.h>

#include "tlg_stream_builder.h"

namespace vellum::image_test {
namespace {


Bytes tlg5Header(int colours, uint32_t width, uint32_t height, uint32_t blockHeight) {
  Bytes out(std::begin(kMagic5), std::end(kMagic5));
  out.push_back(static_cast<uint8_t>(colours));
  putLe32(out, width);
  putLe32(out, height);
  putLe32(out, blockHeight);
  const uint32_t blocks = (height + blockHeight - 1) / blockHeight;
  for (uint32_t i = 0; i < blocks; ++i) putLe32(out, 0xDEADBEEF);  // sizes the reader skips
  return out;
}

void channel(Bytes& out, uint8_t mark, const Bytes& data) {
  out.push_back(mark);
  putLe32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

// Pads short streams to the 48 bytes every TLG needs.
Bytes padded(Bytes stream) {
  if (stream.size() < 48) stream.resize(48, 0);
  return stream;
}

TEST(Tlg5Vectors, ThreeColoursOverTwoBlocksWithRawAndMatchedChannels) {
  Bytes s = tlg5Header(3, 3, 2, 1);
  // Block 0: B by literals, G raw, R as a match of the three bytes B left in the ring.
  channel(s, 0, lzssLiterals({0x01, 0x02, 0x03}));
  channel(s, 1, {0x10, 0x00, 0x00});
  channel(s, 0, lzssTokens({match(0, 3)}));
  // Block 1: the ring goes on (position 6 now); G copies three zeros from position 0x100.
  channel(s, 0, lzssLiterals({0xFF, 0x00, 0x00}));
  channel(s, 0, lzssTokens({match(0x100, 3)}));
  channel(s, 1, {0x00, 0x00, 0x00});
  ConsoleRecorder console;
  ImagePtr image = decode(padded(s));
  ASSERT_NE(image, nullptr) << joined(console.lines);
  EXPECT_EQ(image->bitsPerPixel, 24);
  // Line 0: g sums 10 10 10, b + g sums 11 13 16, r + g sums 11 13 16.
  // Line 1: sums (FF, 0, 0) on every pixel, added to line 0 byte by byte.
  const uint32_t expected[] = {0xFF111011, 0xFF131013, 0xFF161016, 0xFF111010, 0xFF131012, 0xFF161015};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(hexPixel(image->pixels[i]), hexPixel(expected[i])) << i;
}

TEST(Tlg5Vectors, FourColoursCarryTheirAlpha) {
  Bytes s = tlg5Header(4, 2, 1, 4);
  channel(s, 1, {0x00, 0x00});
  channel(s, 1, {0x00, 0x00});
  channel(s, 1, {0x00, 0x00});
  channel(s, 1, {0x80, 0x01});
  ImagePtr image = decode(padded(s));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitsPerPixel, 32);
  EXPECT_EQ(image->pixels[0], 0x80000000u);
  EXPECT_EQ(image->pixels[1], 0x81000000u);
}

// One colour, as the 8-bit writer makes it: grey in all three bytes, opaque.
TEST(Tlg5Vectors, OneColourIsOpaqueGrey) {
  Bytes s = tlg5Header(1, 2, 2, 4);
  channel(s, 0, lzssLiterals({0x40, 0x10, 0x01, 0x00}));
  ImagePtr image = decode(padded(s));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitsPerPixel, 8);
  EXPECT_EQ(image->pixels[0], 0xFF404040u);
  EXPECT_EQ(image->pixels[1], 0xFF505050u);
  EXPECT_EQ(image->pixels[2], 0xFF414141u);  // 0x40 + 1
  EXPECT_EQ(image->pixels[3], 0xFF515151u);  // 0x50 + 1
}

TEST(Tlg5Vectors, TheWritersGreyStreamReadsBack) {
  ImagePtr source = randomImage(9, 7, 8, 11);
  const Bytes file = encode(*source, SaveFormat::Tlg, 8, 0);
  ASSERT_GT(file.size(), 12u);
  EXPECT_EQ(file[11], 1);  // one colour
  ImagePtr back = decode(file);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(firstDifference(*source, *back), -1);
}

struct BadTlg5 {
  const char* label;
  Bytes stream;
  const char* problem;
};

std::vector<BadTlg5> badStreams() {
  std::vector<BadTlg5> cases;
  {
    Bytes s = tlg5Header(3, 2, 1, 1);
    channel(s, 1, {1, 2, 3});  // raw bytes for a 2-byte block
    channel(s, 1, {1, 2});
    channel(s, 1, {1, 2});
    cases.push_back({"RawChannelTooLong", padded(s), "holds 3 raw bytes, the block needs 2"});
  }
  {
    Bytes s = tlg5Header(3, 2, 1, 1);
    channel(s, 0, lzssTokens({match(0, 20)}));  // unpacks to 20 bytes
    cases.push_back({"LzssOverflow", padded(s), "unpacks to more bytes than its buffer holds"});
  }
  {
    Bytes s = tlg5Header(3, 4, 1, 1);
    channel(s, 0, lzssLiterals({1, 2}));
    cases.push_back({"LzssShort", padded(s), "unpacks to fewer bytes than its buffer needs"});
  }
  {
    Bytes s = tlg5Header(3, 2, 1, 1);
    s.push_back(0);
    putLe32(s, 5000);  // size past the end
    cases.push_back({"ChannelPastEnd", padded(s), "runs past the end of the data"});
  }
  {
    Bytes s = tlg5Header(2, 2, 1, 1);
    cases.push_back({"TwoColours", padded(s), "2 colours are not supported"});
  }
  {
    Bytes s = tlg5Header(3, 2, 1, 1);
    s[20] = s[21] = s[22] = s[23] = 0;  // block height 0
    cases.push_back({"ZeroBlockHeight", padded(s), "block height is 0"});
  }
  {
    Bytes s = tlg5Header(3, 0x10000, 0x10000, 4);
    cases.push_back({"HugePicture", padded(s), "is too large"});
  }
  return cases;
}

class Tlg5Bad : public ::testing::TestWithParam<BadTlg5> {};

TEST_P(Tlg5Bad, IsReportedAndFails) {
  ConsoleRecorder console;
  EXPECT_EQ(decode(GetParam().stream), nullptr);
  EXPECT_TRUE(console.printed(GetParam().problem)) << joined(console.lines);
}

INSTANTIATE_TEST_SUITE_P(Streams, Tlg5Bad, ::testing::ValuesIn(badStreams()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace vellum::image_test
