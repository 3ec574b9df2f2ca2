// TLG6 streams assembled by hand from the stream layout, decoded by the engine. The residuals are
// chosen so that the Golomb parameter stays 0 (values of +1 and -1 keep the running magnitude at
// 0) unless a case says otherwise, so every code can be written out bit by bit.
#include <gtest/gtest.h>

#include "tlg_stream_builder.h"

namespace vellum::image_test {
namespace {

const uint8_t kMagic6[] = {'T', 'L', 'G', '6', '.', '0', 0x00, 'r', 'a', 'w', 0x1A};

struct ChannelCode {
  Bits bits;
  uint32_t method = 0;  // the top two bits of the bit-length word
};

Bytes tlg6Stream(int colours, uint32_t width, uint32_t height, const Bytes& filters,
                 const std::vector<std::vector<ChannelCode>>& bands) {
  Bytes out(std::begin(kMagic6), std::end(kMagic6));
  out.push_back(static_cast<uint8_t>(colours));
  out.push_back(0);
  out.push_back(0);
  out.push_back(0);
  putLe32(out, width);
  putLe32(out, height);
  size_t maxBits = 0;
  for (const auto& band : bands)
    for (const ChannelCode& c : band) maxBits = std::max(maxBits, c.bits.size());
  putLe32(out, static_cast<uint32_t>(maxBits));
  const Bytes table = lzssLiterals(filters);
  putLe32(out, static_cast<uint32_t>(table.size()));
  out.insert(out.end(), table.begin(), table.end());
  for (const auto& band : bands) {
    for (const ChannelCode& c : band) {
      putLe32(out, static_cast<uint32_t>(c.bits.size()) | c.method << 30);
      const Bytes bytes = c.bits.bytes();
      out.insert(out.end(), bytes.begin(), bytes.end());
    }
  }
  if (out.size() < 48) out.resize(48, 0);
  return out;
}

uint32_t grey(uint32_t v) { return 0xFF000000u | v * 0x010101u; }

// Ten pixels wide (a full block and a 2-pixel fraction block), two lines, one colour, MED.
// Wanted pixels: line 0 = 1 1 1 1 1 1 1 1 2 1, line 1 = 1 1 1 1 1 1 1 1 2 2.
// Storage order: block 0 line 0 left to right, block 0 line 1 right to left; block 1 (odd) line 1
// first, right to left (x9, x8), then line 0 left to right (x8, x9). Residuals in that order:
//   +1, fifteen zeros, +1 (line 1 x9), 0 (line 1 x8), +1 (line 0 x8), -1 (line 0 x9).
TEST(Tlg6Vectors, OddBlocksRunBottomUpAndOddLinesRightToLeft) {
  ChannelCode c;
  c.bits.bit(1)                // starts with a non-zero run
      .gamma(1).text("01")     // +1: t = 1, unary one zero then the closing one
      .gamma(15)               // zeros
      .gamma(1).text("01")     // +1
      .gamma(1)                // one zero
      .gamma(2).text("01").text("1");  // +1, then -1: t = 0, just the closing one
  ConsoleRecorder console;
  ImagePtr image = decode(tlg6Stream(1, 10, 2, {0x00, 0x00}, {{c}}));
  ASSERT_NE(image, nullptr) << joined(console.lines);
  EXPECT_EQ(image->bitsPerPixel, 8);
  const uint32_t line0[] = {1, 1, 1, 1, 1, 1, 1, 1, 2, 1};
  const uint32_t line1[] = {1, 1, 1, 1, 1, 1, 1, 1, 2, 2};
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(hexPixel(image->pixels[x]), hexPixel(grey(line0[x]))) << "line 0, x " << x;
    EXPECT_EQ(hexPixel(image->pixels[10 + x]), hexPixel(grey(line1[x]))) << "line 1, x " << x;
  }
}

// Sixteen pixels, one line, three colours. Block 0: AVG with colour filter 1 (B+G, G, R+G); block
// 1 has filter byte 0x40, so the line stops there and its pixels stay 0. Channel 0 holds 100 at
// x0, coded with the escape: the unary part would be 199 bits, so after the two bits already
// written the rest of the next four bytes is zero and the following byte holds 199. Channel 1
// holds 5 at x0. Channel 2 uses an unknown entropy method: its bytes are skipped and its residuals
// stay 0.
TEST(Tlg6Vectors, EscapeCodeSkippedChannelAndStoppedLine) {
  ChannelCode blue;
  blue.bits.bit(1).gamma(1);
  ASSERT_EQ(blue.bits.bitInByte(), 2);
  blue.bits.zeros(30).number(199, 8).gamma(15);
  ChannelCode green;
  green.bits.bit(1).gamma(1).zeros(9).bit(1).gamma(15);  // 5: t = 9
  ChannelCode red;
  red.bits.number(0xCDAB, 16);
  red.method = 1;
  ConsoleRecorder console;
  ImagePtr image = decode(tlg6Stream(3, 16, 1, {0x03, 0x40}, {{blue, green, red}}));
  ASSERT_NE(image, nullptr) << joined(console.lines);
  EXPECT_EQ(image->bitsPerPixel, 24);
  // x0: residual (B 100, G 5, R 0) filtered to (105, 5, 5) on the prediction 0xFF000000. Then
  // each pixel is the upward-rounded mean of its left neighbour and the zero line above.
  const uint32_t expected[] = {0xFF050569, 0xFF030335, 0xFF02021B, 0xFF01010E,
                               0xFF010107, 0xFF010104, 0xFF010102, 0xFF010101};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(hexPixel(image->pixels[x]), hexPixel(expected[x])) << x;
  for (int x = 8; x < 16; ++x) EXPECT_EQ(image->pixels[x], 0u) << x;
}

// The escape when a value starts on a byte boundary: 32 zero bits, then the quotient byte. Eight
// pixels, one colour, MED; residuals 0, -1, +1 (by the escape), then five times -1.
TEST(Tlg6Vectors, EscapeOnAByteBoundary) {
  ChannelCode c;
  c.bits.bit(0).gamma(1).gamma(7).text("1");  // a zero, a run of seven, the first -1: 8 bits
  ASSERT_EQ(c.bits.bitInByte(), 0);
  c.bits.zeros(32).number(1, 8);  // t = 1 carried by the escape
  for (int i = 0; i < 5; ++i) c.bits.text("1");
  ConsoleRecorder console;
  ImagePtr image = decode(tlg6Stream(1, 8, 1, {0x00}, {{c}}));
  ASSERT_NE(image, nullptr) << joined(console.lines);
  // MED on the first line predicts the left pixel.
  const uint32_t expected[] = {0x00, 0xFF, 0x00, 0xFF, 0xFE, 0xFD, 0xFC, 0xFB};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(hexPixel(image->pixels[x]), hexPixel(grey(expected[x]))) << x;
}

// Four colours over two bands: the second band's lines predict from the first band's last line.
TEST(Tlg6Vectors, BandsChainThroughTheLineAbove) {
  // One pixel wide, nine lines: band 0 has 8 lines, band 1 one line. Only alpha is non-zero.
  ChannelCode zeros8;
  zeros8.bits.bit(0).gamma(8);
  ChannelCode zeros1;
  zeros1.bits.bit(0).gamma(1);
  ChannelCode alpha8;  // -1 at the first line of band 0, then zeros
  alpha8.bits.bit(1).gamma(1).text("1").gamma(7);
  ChannelCode alpha1;  // +1 in band 1
  alpha1.bits.bit(1).gamma(1).text("01");
  ImagePtr image = decode(tlg6Stream(4, 1, 9, {0x00, 0x00}, {{zeros8, zeros8, zeros8, alpha8}, {zeros1, zeros1, zeros1, alpha1}}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitsPerPixel, 32);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(hexPixel(image->pixels[y]), "FF000000") << y;
  EXPECT_EQ(hexPixel(image->pixels[8]), "00000000");
}

struct BadTlg6 {
  const char* label;
  Bytes stream;
  const char* problem;
};

std::vector<BadTlg6> badStreams() {
  std::vector<BadTlg6> cases;
  {
    ChannelCode c;
    c.bits.bit(0).gamma(9);  // a zero run of 9 in a band of 8 residuals
    cases.push_back({"RunPastTheBand", tlg6Stream(1, 8, 1, {0}, {{c}}), "a run goes past the end of the band"});
  }
  {
    ChannelCode c;
    c.bits.bit(1).gamma(3).text("01");  // three values announced, one coded
    cases.push_back({"CodesPastTheBitLength", tlg6Stream(1, 8, 1, {0}, {{c}}), "past the channel's bit length"});
  }
  {
    ChannelCode c;
    c.bits.bit(1).gamma(2);
    c.bits.zeros(32 - c.bits.bitInByte()).number(255, 8);  // t = 255, the magnitude becomes 127
    c.bits.zeros(32 - c.bits.bitInByte()).number(255, 8).number(0, 5);  // k = 5: t = 8160
    c.bits.gamma(6);
    cases.push_back({"MagnitudeLeavesTheTable", tlg6Stream(1, 8, 1, {0}, {{c}}), "leaves the parameter table"});
  }
  {
    ChannelCode c;
    c.bits.zeros(40);
    cases.push_back({"RunLengthCodeTooLong", tlg6Stream(1, 8, 1, {0}, {{c}}), "longer than 32 bits"});
  }
  {
    ChannelCode c;
    c.bits.bit(0).gamma(8);
    Bytes s = tlg6Stream(1, 8, 1, {0}, {{c}});
    s[23] = 1;  // the stated maximum bit length drops below the channel's
    s[24] = s[25] = s[26] = 0;
    cases.push_back({"ChannelAboveTheMaximum", s, "above the stated maximum"});
  }
  {
    ChannelCode c;
    c.bits.bit(0).gamma(8);
    Bytes s = tlg6Stream(1, 8, 1, {0}, {{c}});
    s[23] = 0xFF;  // a maximum far beyond the data
    s[24] = s[25] = 0xFF;
    s[26] = 0x0F;
    cases.push_back({"MaximumBeyondTheData", s, "exceeds the data"});
  }
  {
    ChannelCode c;
    c.bits.bit(0).gamma(8);
    cases.push_back({"FilterTableTooShort", tlg6Stream(1, 16, 1, {0}, {{c}}), "filter table: the compressed data unpacks to fewer bytes"});
  }
  {
    ChannelCode c;
    c.bits.bit(0).gamma(8);
    Bytes s = tlg6Stream(3, 8, 1, {0}, {{c}});  // channels 1 and 2 missing
    cases.push_back({"MissingChannel", s, "band 0 channel 1"});
  }
  {
    ChannelCode c;
    c.bits.bit(0).gamma(8);
    Bytes s = tlg6Stream(1, 8, 1, {0}, {{c}});
    s[12] = 1;
    cases.push_back({"DataFlagSet", s, "header flags are not 0"});
  }
  {
    ChannelCode c;
    c.bits.bit(0).gamma(8);
    Bytes s = tlg6Stream(2, 8, 1, {0}, {{c}});
    cases.push_back({"TwoColours", s, "2 colours are not supported"});
  }
  return cases;
}

class Tlg6Bad : public ::testing::TestWithParam<BadTlg6> {};

TEST_P(Tlg6Bad, IsReportedAndFails) {
  ConsoleRecorder console;
  EXPECT_EQ(decode(GetParam().stream), nullptr);
  EXPECT_TRUE(console.printed(GetParam().problem)) << joined(console.lines);
}

INSTANTIATE_TEST_SUITE_P(Streams, Tlg6Bad, ::testing::ValuesIn(badStreams()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace vellum::image_test
