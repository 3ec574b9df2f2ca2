// JPEG pictures: the colour and grey paths, the "pos" metadata, the alpha channel the writer
// appends, and alpha segments of every type assembled by hand around a plain JPEG.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>

#include "image/jpeg_writer.h"
#include "image_test_util.h"

namespace vellum::image_test {
namespace {

double meanError(const Image& a, const Image& b) {
  double total = 0;
  for (int i = 0; i < a.width * a.height; ++i)
    for (int shift = 0; shift < 24; shift += 8)
      total += std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) - static_cast<int>((b.pixels[i] >> shift) & 0xFF));
  return total / (a.width * a.height * 3.0);
}

size_t find(const Bytes& data, const std::string& text) {
  const Bytes what(text.begin(), text.end());
  auto at = std::search(data.begin(), data.end(), what.begin(), what.end());
  return at == data.end() ? std::string::npos : static_cast<size_t>(at - data.begin());
}

TEST(Jpeg, ColourPicturesComeBackClose) {
  ImagePtr source = photoLikeImage(64, 48, 1);
  for (uint32_t i = 0; i < 64 * 48; ++i) source->pixels[i] |= 0xFF000000u;
  for (int options : {0, 1, 2, 3, 4, 8, 12}) {
    ImagePtr back = decode(encode(*source, SaveFormat::Jpeg, 24, 95, options));
    ASSERT_NE(back, nullptr) << options;
    EXPECT_EQ(back->bitsPerPixel, 24);
    EXPECT_LT(meanError(*source, *back), 3.0) << options;
    for (int i = 0; i < 64 * 48; ++i) ASSERT_EQ(back->pixels[i] >> 24, 0xFFu);
  }
}

TEST(Jpeg, ProgressiveOptionWritesAProgressiveFrame) {
  ImagePtr source = photoLikeImage(32, 32, 2);
  const Bytes baseline = encode(*source, SaveFormat::Jpeg, 24, 80, 0);
  const Bytes progressive = encode(*source, SaveFormat::Jpeg, 24, 80, 2);
  EXPECT_NE(find(baseline, "\xFF\xC0"), std::string::npos);
  EXPECT_NE(find(progressive, "\xFF\xC2"), std::string::npos);
}

TEST(Jpeg, GreyOutputIsLuminanceAndReadsBackGrey) {
  ImagePtr source = randomImage(16, 16, 8, 3);
  ImagePtr back = decode(encode(*source, SaveFormat::Jpeg, 8, 100));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->bitsPerPixel, 8);
  for (int i = 0; i < 256; ++i) {
    const uint32_t p = back->pixels[i];
    ASSERT_EQ(p >> 24, 0xFFu);
    ASSERT_EQ(p & 0xFF, (p >> 8) & 0xFF);
    ASSERT_EQ(p & 0xFF, (p >> 16) & 0xFF);
  }
}

TEST(Jpeg, PositionSegmentCarriesTheLayer) {
  ImagePtr source = randomImage(8, 8, 24, 4);
  setLayer(*source, "chara/face01.png", -300, 42, 9);
  const Bytes file = encode(*source, SaveFormat::Jpeg, 24, 90);
  const size_t at = find(file, std::string("\xFF\xE1\x01\x02pos", 8));
  ASSERT_NE(at, std::string::npos) << "an APP1 segment of 256 payload bytes";
  ImagePtr back = decode(file);
  ASSERT_NE(back, nullptr);
  EXPECT_STREQ(back->name, "chara/face01.jpg");
  EXPECT_EQ(back->left, -300);
  EXPECT_EQ(back->top, 42);
  EXPECT_EQ(back->mode, 9);
}

uint8_t alphaType(const Bytes& file) {
  const size_t at = find(file, "ALP");
  return at == std::string::npos ? 0xFF : file[at + 3];
}

// Alpha patterns the lossless encodings win on: the alpha must come back exactly.
TEST(JpegAlpha, WrittenAlphaComesBackExactly) {
  struct Pattern {
    const char* label;
    uint8_t (*alpha)(int x, int y);
  };
  const Pattern patterns[] = {
      {"opaque", [](int, int) -> uint8_t { return 255; }},
      {"checks", [](int x, int y) -> uint8_t { return ((x / 4 + y / 4) % 2) ? 255 : 0; }},
      {"ramp", [](int x, int) -> uint8_t { return static_cast<uint8_t>(x * 4); }},
  };
  for (const Pattern& p : patterns) {
    ImagePtr source = photoLikeImage(64, 40, 5);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 64; ++x) {
        uint32_t& px = source->pixels[y * 64 + x];
        px = (px & 0x00FFFFFFu) | uint32_t{p.alpha(x, y)} << 24;
      }
    const Bytes file = encode(*source, SaveFormat::Jpeg, 24 + 0x20, 90);
    const uint8_t type = alphaType(file);
    EXPECT_TRUE(type == 0x12 || type == 0x13) << p.label << " type " << int{type};
    ImagePtr back = decode(file);
    ASSERT_NE(back, nullptr) << p.label;
    EXPECT_EQ(back->bitsPerPixel, 32);
    for (int i = 0; i < 64 * 40; ++i) ASSERT_EQ(back->pixels[i] >> 24, source->pixels[i] >> 24) << p.label << " " << i;
  }
}

TEST(JpegAlpha, AllOpaqueEndsWithZlib) {
  ImagePtr source = randomImage(100, 80, 24, 6);
  EXPECT_EQ(alphaType(encode(*source, SaveFormat::Jpeg, 0x20 + 24, 75)), 0x12);
}

TEST(JpegAlpha, ThirtyTwoBitsAskForAlphaToo) {
  ImagePtr source = randomImage(10, 10, 32, 7);
  EXPECT_NE(alphaType(encode(*source, SaveFormat::Jpeg, 32, 75)), 0xFF);
  EXPECT_EQ(alphaType(encode(*source, SaveFormat::Jpeg, 24, 75)), 0xFF);
}

TEST(JpegAlpha, SmallestWinsWithZlibThenPngOnTies) {
  EXPECT_EQ(pickAlphaEncoding(100, 100, 100), 0x12);
  EXPECT_EQ(pickAlphaEncoding(100, 101, 100), 0x13);
  EXPECT_EQ(pickAlphaEncoding(99, 101, 100), 0x11);
  EXPECT_EQ(pickAlphaEncoding(100, 99, 98), 0x13);
  EXPECT_EQ(pickAlphaEncoding(100, 99, 99), 0x12);
  EXPECT_EQ(pickAlphaEncoding(SIZE_MAX, SIZE_MAX, 5), 0x13);
}

// ---- alpha segments assembled by hand ----------------------------------------------------------

constexpr int kW = 300;
constexpr int kH = 300;

Bytes alphaBytes() {
  Bytes a(kW * kH);
  for (int i = 0; i < kW * kH; ++i) a[i] = static_cast<uint8_t>((i * 7) ^ (i >> 9));
  return a;
}

Bytes plainJpeg() {
  ImagePtr source = photoLikeImage(kW, kH, 8);
  return encode(*source, SaveFormat::Jpeg, 24, 85);
}

Bytes segment(uint8_t marker, const Bytes& payload) {
  Bytes s(4 + payload.size());
  s[0] = 0xFF;
  s[1] = marker;
  s[2] = static_cast<uint8_t>((payload.size() + 2) >> 8);
  s[3] = static_cast<uint8_t>(payload.size() + 2);
  std::copy(payload.begin(), payload.end(), s.begin() + 4);
  return s;
}

Bytes alpHeader(uint8_t type, uint32_t value) {
  Bytes h(8);
  h[0] = 'A';
  h[1] = 'L';
  h[2] = 'P';
  h[3] = type;
  for (int i = 0; i < 4; ++i) h[4 + i] = static_cast<uint8_t>(value >> (8 * i));
  return h;
}

// The carried forms: the first APP2 holds up to 65525 bytes after its header, the next ones up to
// 65533 each.
Bytes withCarriedAlpha(uint8_t type, const Bytes& stored) {
  Bytes jpeg = plainJpeg();
  Bytes segments;
  Bytes first = alpHeader(type, static_cast<uint32_t>(stored.size()));
  size_t at = std::min<size_t>(stored.size(), 65525);
  first.insert(first.end(), stored.begin(), stored.begin() + static_cast<long>(at));
  segments = segment(0xE2, first);
  while (at < stored.size()) {
    const size_t take = std::min<size_t>(stored.size() - at, 65533);
    const Bytes more = segment(0xE2, Bytes(stored.begin() + static_cast<long>(at), stored.begin() + static_cast<long>(at + take)));
    segments.insert(segments.end(), more.begin(), more.end());
    at += take;
  }
  jpeg.insert(jpeg.begin() + 2, segments.begin(), segments.end());
  return jpeg;
}

Bytes withAppendedAlpha(uint8_t type, const Bytes& stored) {
  Bytes jpeg = plainJpeg();
  const Bytes header = segment(0xE2, alpHeader(type, 0));
  jpeg.insert(jpeg.begin() + 2, header.begin(), header.end());
  const uint32_t offset = static_cast<uint32_t>(jpeg.size());
  jpeg[2 + 4 + 4] = static_cast<uint8_t>(offset);
  jpeg[2 + 4 + 5] = static_cast<uint8_t>(offset >> 8);
  jpeg[2 + 4 + 6] = static_cast<uint8_t>(offset >> 16);
  jpeg[2 + 4 + 7] = static_cast<uint8_t>(offset >> 24);
  jpeg.insert(jpeg.end(), stored.begin(), stored.end());
  return jpeg;
}

Bytes zlibbed(const Bytes& data) {
  Bytes out(compressBound(static_cast<uLong>(data.size())));
  uLongf size = static_cast<uLongf>(out.size());
  EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 6), Z_OK);
  out.resize(size);
  return out;
}

ImagePtr greyPictureOf(const Bytes& alpha) {
  ImagePtr grey(createImage(kW, kH, 8));
  for (int i = 0; i < kW * kH; ++i) grey->pixels[i] = 0xFF000000u | alpha[i] * 0x010101u;
  return grey;
}

Bytes greyPng(const Bytes& alpha) { return encode(*greyPictureOf(alpha), SaveFormat::Png, 8, 6); }
Bytes greyJpeg(const Bytes& alpha) { return encode(*greyPictureOf(alpha), SaveFormat::Jpeg, 8, 90); }

void expectAlpha(const Bytes& file, const Bytes& alpha) {
  ConsoleRecorder console;
  ImagePtr image = decode(file);
  ASSERT_NE(image, nullptr) << joined(console.lines);
  EXPECT_TRUE(console.lines.empty()) << joined(console.lines);
  EXPECT_EQ(image->bitsPerPixel, 32);
  for (int i = 0; i < kW * kH; ++i) ASSERT_EQ(image->pixels[i] >> 24, alpha[i]) << i;
}

// What a lossy greyscale JPEG of the alpha decodes to.
Bytes decodedGrey(const Bytes& jpeg) {
  ImagePtr grey = decode(jpeg);
  Bytes out(kW * kH);
  for (int i = 0; i < kW * kH; ++i) out[i] = static_cast<uint8_t>(grey->pixels[i]);
  return out;
}

TEST(JpegAlphaSegments, RawAcrossTwoSegments) { expectAlpha(withCarriedAlpha(0x00, alphaBytes()), alphaBytes()); }
TEST(JpegAlphaSegments, CarriedZlib) { expectAlpha(withCarriedAlpha(0x02, zlibbed(alphaBytes())), alphaBytes()); }
TEST(JpegAlphaSegments, CarriedPng) { expectAlpha(withCarriedAlpha(0x03, greyPng(alphaBytes())), alphaBytes()); }
TEST(JpegAlphaSegments, CarriedJpeg) {
  const Bytes stored = greyJpeg(alphaBytes());
  expectAlpha(withCarriedAlpha(0x01, stored), decodedGrey(stored));
}
TEST(JpegAlphaSegments, AppendedZlib) { expectAlpha(withAppendedAlpha(0x12, zlibbed(alphaBytes())), alphaBytes()); }
TEST(JpegAlphaSegments, AppendedPng) { expectAlpha(withAppendedAlpha(0x13, greyPng(alphaBytes())), alphaBytes()); }
TEST(JpegAlphaSegments, AppendedJpeg) {
  const Bytes stored = greyJpeg(alphaBytes());
  expectAlpha(withAppendedAlpha(0x11, stored), decodedGrey(stored));
}

struct BrokenAlpha {
  const char* label;
  Bytes (*make)();
  const char* problem;
};

const BrokenAlpha kBroken[] = {
    {"RawSizeNotThePicture", [] { Bytes a = alphaBytes(); a.pop_back(); return withCarriedAlpha(0x00, a); },
     "holds 89999 bytes for 90000 pixels"},
    {"RawSegmentsEndEarly", [] {
       Bytes j = withCarriedAlpha(0x00, alphaBytes());
       const size_t at = 2 + 4 + 4;  // V in the first segment's header
       j[at] = 0xFF;  // claims 0x...FF bytes: more than the segments hold
       j[at + 1] = 0xFF;
       j[at + 2] = 0x01;
       return j;
     },
     "alpha channel ignored"},
    {"ZlibTooShort", [] { Bytes a = alphaBytes(); a.resize(a.size() - 10); return withCarriedAlpha(0x02, zlibbed(a)); },
     "it does not decode"},
    {"PngOfAnotherSize", [] { ImagePtr g(createImage(10, 10, 8)); return withCarriedAlpha(0x03, encode(*g, SaveFormat::Png, 8, 6)); },
     "it does not decode"},
    {"OffsetPastTheData", [] {
       Bytes j = withAppendedAlpha(0x12, {});
       return j;
     },
     "lies past the data"},
    {"UnknownType", [] { return withCarriedAlpha(0x07, Bytes(10)); }, "unknown type 7"},
};

class JpegBrokenAlpha : public ::testing::TestWithParam<BrokenAlpha> {};

TEST_P(JpegBrokenAlpha, IsReportedAndTheImageStaysOpaque) {
  ConsoleRecorder console;
  ImagePtr image = decode(GetParam().make());
  ASSERT_NE(image, nullptr) << joined(console.lines);
  EXPECT_EQ(image->bitsPerPixel, 24);
  for (int i = 0; i < kW * kH; ++i) ASSERT_EQ(image->pixels[i] >> 24, 0xFFu);
  EXPECT_TRUE(console.printed(GetParam().problem)) << joined(console.lines);
}

INSTANTIATE_TEST_SUITE_P(Segments, JpegBrokenAlpha, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(JpegBad, TruncatedDataFails) {
  Bytes file = plainJpeg();
  file.resize(file.size() / 2);
  ConsoleRecorder console;
  EXPECT_EQ(decode(file), nullptr);
  EXPECT_TRUE(console.printed("JPEG: the data ends inside the picture")) << joined(console.lines);
}

TEST(JpegBad, GarbageAfterTheStartMarkerFails) {
  Bytes file = {0xFF, 0xD8, 0x00, 0x01, 0x02, 0x03};
  ConsoleRecorder console;
  EXPECT_EQ(decode(file), nullptr);
  ASSERT_FALSE(console.lines.empty());
  EXPECT_EQ(console.lines[0].rfind("JPEG: ", 0), 0u) << joined(console.lines);
}

TEST(JpegHeader, SizeAndAlphaFromTheSegments) {
  ImagePtr source = randomImage(33, 17, 32, 9);
  const Bytes withAlpha = encode(*source, SaveFormat::Jpeg, 56, 80);
  PictureHeader h{};
  ASSERT_TRUE(loadHeader(withAlpha.data(), withAlpha.size(), h));
  EXPECT_EQ(h.width, 33);
  EXPECT_EQ(h.height, 17);
  EXPECT_EQ(h.bitsPerPixel, 32);
  const Bytes grey = encode(*source, SaveFormat::Jpeg, 8, 80);
  ASSERT_TRUE(loadHeader(grey.data(), grey.size(), h));
  EXPECT_EQ(h.bitsPerPixel, 8);
}

}  // namespace
}  // namespace vellum::image_test
