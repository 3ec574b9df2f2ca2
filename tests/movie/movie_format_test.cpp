// The THOR header, the two colour conversions and the Theora stream reader, and vellum-movie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "movie/colour_conversion.h"
#include "movie/frame_files.h"
#include "movie/theora_stream.h"
#include "movie/thor_header.h"
#include "movie/movie_test_files.h"
#include "support/game_builder.h"
#include "support/temp_folder.h"

namespace vellum::test {
namespace {

std::vector<uint8_t> headerBytes(const ThorHeader& h) {
  std::vector<uint8_t> bytes(kThorHeaderSize);
  writeThorHeader(h, bytes.data());
  return bytes;
}

ThorHeader goodHeader() {
  ThorHeader h;
  h.videoLength = 1000;
  h.durationMs = 3000;
  h.frameCount = 90;
  h.width = 640;
  h.height = 360;
  h.soundLength = 200;
  return h;
}

struct HeaderCase {
  const char* name;
  void (*spoil)(ThorHeader&, std::vector<uint8_t>&, uint64_t& fileSize);
  bool accepted;
};

class ThorHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(ThorHeaderTest, ChecksTheHeader) {
  ThorHeader h = goodHeader();
  std::vector<uint8_t> bytes = headerBytes(h);
  uint64_t fileSize = kThorHeaderSize + 1200;
  GetParam().spoil(h, bytes, fileSize);
  ThorHeader read;
  std::string problem;
  EXPECT_EQ(parseThorHeader(bytes.data(), bytes.size(), fileSize, read, problem), GetParam().accepted) << problem;
  if (GetParam().accepted) {
    EXPECT_EQ(read.frameCount, h.frameCount);
    EXPECT_EQ(read.videoOffset(), kThorHeaderSize + h.soundLength);
  } else {
    EXPECT_FALSE(problem.empty());
  }
}

void rewrite(ThorHeader& h, std::vector<uint8_t>& bytes) { writeThorHeader(h, bytes.data()); }

INSTANTIATE_TEST_SUITE_P(
    Table, ThorHeaderTest,
    ::testing::Values(
        HeaderCase{"good", [](ThorHeader&, std::vector<uint8_t>&, uint64_t&) {}, true},
        HeaderCase{"size_unknown", [](ThorHeader&, std::vector<uint8_t>&, uint64_t& f) { f = 0; }, true},
        HeaderCase{"short", [](ThorHeader&, std::vector<uint8_t>& b, uint64_t&) { b.resize(43); }, false},
        HeaderCase{"bad_magic", [](ThorHeader&, std::vector<uint8_t>& b, uint64_t&) { b[0] = 'X'; }, false},
        HeaderCase{"width_0", [](ThorHeader& h, std::vector<uint8_t>& b, uint64_t&) { h.width = 0; rewrite(h, b); }, false},
        HeaderCase{"huge", [](ThorHeader& h, std::vector<uint8_t>& b, uint64_t&) { h.height = 100000; rewrite(h, b); }, false},
        HeaderCase{"no_frames", [](ThorHeader& h, std::vector<uint8_t>& b, uint64_t&) { h.frameCount = 0; rewrite(h, b); }, false},
        HeaderCase{"duration_0", [](ThorHeader& h, std::vector<uint8_t>& b, uint64_t&) { h.durationMs = 0; rewrite(h, b); }, false},
        HeaderCase{"no_video", [](ThorHeader& h, std::vector<uint8_t>& b, uint64_t&) { h.videoLength = 0; rewrite(h, b); }, false},
        HeaderCase{"past_the_end", [](ThorHeader&, std::vector<uint8_t>&, uint64_t& f) { f -= 1; }, false},
        HeaderCase{"sound_past_the_end",
                   [](ThorHeader& h, std::vector<uint8_t>& b, uint64_t&) { h.soundLength = 0xFFFFFFF0u; rewrite(h, b); },
                   false}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

void putWord(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void appendChunk(std::vector<uint8_t>& bytes, const char* tag, const std::vector<uint8_t>& body) {
  bytes.insert(bytes.end(), tag, tag + 4);
  bytes.resize(bytes.size() + 4);
  putWord(bytes, bytes.size() - 4, static_cast<uint32_t>(body.size()));
  bytes.insert(bytes.end(), body.begin(), body.end());
}

// An AVI file whose frames have odd lengths: the first is padded, the last ends the file without
// its pad byte. Both frames are found and the walk ends at the file's end.
TEST(FrameFiles, AnOddLastFrameWithoutItsPadByteEndsTheFrames) {
  std::vector<uint8_t> avi(140, 0);
  std::memcpy(avi.data(), "RIFF", 4);
  std::memcpy(avi.data() + 8, "AVI LIST", 8);
  putWord(avi, 16, 140 - 20);
  std::memcpy(avi.data() + 20, "hdrl", 4);
  putWord(avi, 48, 2);   // frames
  putWord(avi, 64, 4);   // width
  putWord(avi, 68, 4);   // height
  std::memcpy(avi.data() + 112, "MJPG", 4);
  putWord(avi, 132, 10);  // frames a second
  std::vector<uint8_t> movi = {'m', 'o', 'v', 'i'};
  appendChunk(movi, "00dc", {0xFF, 0xD8, 0x01});
  movi.push_back(0);
  appendChunk(movi, "00dc", {0xFF, 0xD8, 0x02});
  appendChunk(avi, "LIST", movi);
  putWord(avi, 4, static_cast<uint32_t>(avi.size() - 8));
  FrameFileLayout layout;
  std::string problem;
  ASSERT_TRUE(readFrameFileLayout(avi.data(), avi.size(), 0, layout, problem)) << problem;
  EXPECT_EQ(layout.firstChunk, 152u);
  uint64_t position = layout.firstChunk;
  for (uint8_t last : {0x01, 0x02}) {
    const FrameChunk c = nextFrameChunk(avi.data(), avi.size(), position, layout.avi);
    ASSERT_EQ(c.kind, FrameChunk::Frame);
    ASSERT_EQ(c.length, 3u);
    EXPECT_EQ(avi[c.offset + 2], last);
  }
  EXPECT_EQ(nextFrameChunk(avi.data(), avi.size(), position, layout.avi).kind, FrameChunk::End);
}

TEST(ColourConversion, TheTwoFormsDifferAsTheirFixedPointSays) {
  EXPECT_EQ(plainPixel(16, 128, 128), 0xFF000000u);
  EXPECT_EQ(vectorPixel(16, 128, 128), 0xFF000000u);
  EXPECT_EQ(plainPixel(235, 128, 128), 0xFFFFFFFFu);
  EXPECT_EQ(vectorPixel(235, 128, 128), 0xFFFEFEFEu);  // 6-bit fixed point stops just short
  EXPECT_EQ(plainPixel(81, 90, 240), 0xFFFE0000u);
  EXPECT_EQ(vectorPixel(81, 90, 240), 0xFFFE0000u);
  // The vector form limits its inputs to the video range first.
  EXPECT_EQ(vectorPixel(255, 128, 128), vectorPixel(235, 128, 128));
  EXPECT_EQ(vectorPixel(0, 0, 0), vectorPixel(10, 10, 10));
  EXPECT_NE(plainPixel(255, 128, 128), plainPixel(235, 128, 128) - 0x010101u);
}

TEST(ColourConversion, TheVectorFormKeepsItsRoundedTableValuesForEveryLuma) {
  for (int y = 0; y < 256; ++y) {
    const int limited = std::clamp(y, 10, 235);
    const int yv = static_cast<int>(0.5 + (limited - 16) * 74.496);
    const uint32_t grey = static_cast<uint32_t>(std::clamp(yv >> 6, 0, 255));
    EXPECT_EQ(vectorPixel(static_cast<uint8_t>(y), 128, 128), 0xFF000000u | grey * 0x010101u) << y;
    const uint32_t plain = static_cast<uint32_t>(std::clamp(((y - 16) * 38142 + 16384) >> 15, 0, 255));
    EXPECT_EQ(plainPixel(static_cast<uint8_t>(y), 128, 128), 0xFF000000u | plain * 0x010101u) << y;
  }
}

TEST(ColourConversion, ConvertsBlocksOfFourSharingTheirChromaAndRefusesWhatDoesNotFit) {
  const uint8_t luma[2 * 4] = {16, 60, 100, 140, 180, 235, 30, 90};
  const uint8_t cb[2] = {90, 200}, cr[2] = {240, 60};
  FramePlanes p{4, 2, 4, 2, 1, 2, luma, cb, cr};
  std::vector<uint32_t> out(6 * 3, 0x12345678u);
  for (ColourForm form : {ColourForm::Plain, ColourForm::Vector}) {
    ASSERT_TRUE(convertFrame(p, out.data(), 6, 3, form));
    const auto pixel = form == ColourForm::Plain ? &plainPixel : &vectorPixel;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(out[y * 6 + x], pixel(luma[y * 4 + x], cb[x / 2], cr[x / 2]));
    EXPECT_EQ(out[4], 0x12345678u);  // rows are the picture's width apart; the rest is untouched
    EXPECT_EQ(out[12], 0x12345678u);
  }
  // Bottom row first: a negative stride starting at the last row.
  FramePlanes flipped{4, 2, -4, 2, 1, -2, luma + 4, cb, cr};
  ASSERT_TRUE(convertFrame(flipped, out.data(), 6, 3, ColourForm::Plain));
  EXPECT_EQ(out[0], plainPixel(luma[4], cb[0], cr[0]));
  EXPECT_FALSE(convertFrame(p, out.data(), 3, 3, ColourForm::Plain));   // wider than the picture
  EXPECT_FALSE(convertFrame(p, out.data(), 6, 1, ColourForm::Plain));   // taller
  FramePlanes odd = p;
  odd.lumaWidth = 3;
  EXPECT_FALSE(convertFrame(odd, out.data(), 6, 3, ColourForm::Plain));
  FramePlanes smallChroma = p;
  smallChroma.chromaWidth = 1;
  EXPECT_FALSE(convertFrame(smallChroma, out.data(), 6, 3, ColourForm::Plain));
}

// Every (Y, Cb, Cr) through whole frames gives the bytes of the form's own pixel: one frame per Cr
// value, Cb across (each chroma column covers a 2 x 2 block), every luma value down 64 block rows.
// 512 pixels are whole groups of eight; 510 leave each row pixels past the last group.
TEST(ColourConversion, WholeFramesGiveEachFormsPixelForEveryInput) {
  constexpr int kH = 128;
  std::vector<uint32_t> out;
  for (int width : {512, 510}) {
    const int columns = width / 2;
    std::vector<uint8_t> luma(width * kH), cb(columns * kH / 2), cr(columns * kH / 2);
    out.assign(width * kH, 0);
    for (int row = 0; row < kH; ++row)
      for (int x = 0; x < width; ++x) luma[row * width + x] = static_cast<uint8_t>((row / 2) * 4 + (row % 2) * 2 + x % 2);
    for (ColourForm form : {ColourForm::Plain, ColourForm::Vector}) {
      const auto pixel = form == ColourForm::Plain ? &plainPixel : &vectorPixel;
      int wrong = 0;
      for (int v = 0; v < 256; ++v) {
        for (int i = 0; i < columns * kH / 2; ++i) {
          cb[i] = static_cast<uint8_t>(i % columns);
          cr[i] = static_cast<uint8_t>(v);
        }
        const FramePlanes p{width, kH, width, columns, kH / 2, columns, luma.data(), cb.data(), cr.data()};
        ASSERT_TRUE(convertFrame(p, out.data(), width, kH, form));
        for (int row = 0; row < kH; ++row)
          for (int x = 0; x < width; ++x) {
            const int chroma = (row / 2) * columns + x / 2;
            if (out[row * width + x] != pixel(luma[row * width + x], cb[chroma], cr[chroma]) && ++wrong < 5)
              ADD_FAILURE() << "width " << width << " form " << static_cast<int>(form) << " y "
                            << int{luma[row * width + x]} << " cb " << int{cb[chroma]} << " cr " << v;
          }
      }
      EXPECT_EQ(wrong, 0) << "width " << width;
    }
  }
}

class TheoraFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  }
  static std::vector<uint8_t> readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static TheoraStream::Read readerOf(const std::vector<uint8_t>& bytes) {
    return [&bytes](uint8_t* d, uint64_t offset, size_t size) -> size_t {
      if (offset >= bytes.size()) return 0;
      const size_t n = std::min<size_t>(size, bytes.size() - offset);
      std::memcpy(d, bytes.data() + offset, n);
      return n;
    };
  }
  static int centreLuma(const TheoraStream& stream) {
    FramePlanes p;
    if (!stream.planes(p)) return -1;
    return p.luma[static_cast<ptrdiff_t>(p.lumaHeight / 2) * p.lumaStride + p.lumaWidth / 2];
  }
  TempFolder dir;
};

TEST_F(TheoraFiles, DecodesEachFrameInOrderAndStartsAgainForAnEarlierOne) {
  ASSERT_TRUE(makeGreyStepVideo(dir / "g.ogv"));
  const std::vector<uint8_t> bytes = readAll(dir / "g.ogv");
  TheoraStream stream(readerOf(bytes), bytes.size());
  std::string problem;
  ASSERT_TRUE(stream.open(problem)) << problem;
  EXPECT_EQ(stream.info().pictureWidth, 64u);
  EXPECT_EQ(stream.info().pictureHeight, 48u);
  EXPECT_EQ(stream.info().framesPerSecondNumerator / stream.info().framesPerSecondDenominator, 10u);
  for (int frame : {0, 1, 5, 9, 2}) {
    ASSERT_TRUE(stream.decodeTo(frame)) << frame;
    EXPECT_NEAR(centreLuma(stream), 16 + 20 * frame, 3) << frame;
  }
  EXPECT_FALSE(stream.decodeTo(10));  // past the end: the last frame stays
  EXPECT_NEAR(centreLuma(stream), 16 + 20 * 9, 3);
}

TEST_F(TheoraFiles, RefusesWhatItCannotShow) {
  ASSERT_TRUE(makeTheoraVideo(dir / "full.ogv", "color=c=red:s=32x32:r=5:d=1", "", "yuv444p"));
  for (const char* name : {"full.ogv", "none"}) {
    std::vector<uint8_t> bytes = readAll(dir / name);
    if (std::string(name) == "none") bytes.assign(5000, 0x4F);
    TheoraStream stream(readerOf(bytes), bytes.size());
    std::string problem;
    EXPECT_FALSE(stream.open(problem)) << name;
    EXPECT_FALSE(problem.empty());
    EXPECT_FALSE(stream.decodeTo(0));
  }
}

TEST_F(TheoraFiles, TheToolPacksAVideoWithItsSoundAndPrintsTheHeader) {
  ASSERT_TRUE(makeGreyStepVideo(dir / "g.ogv"));
  { std::ofstream(dir / "s.wav", std::ios::binary) << "RIFF----WAVEfmt "; }
  { std::ofstream(dir / "note.txt") << "just some text"; }
  const std::string d = dir.path().string() + "/";
  ProcessResult r = runTool("vellum-movie", "pack " + d + "g.ogv " + d + "s.wav -o " + d + "m.thor");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = runTool("vellum-movie", "info " + d + "m.thor");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "size 64x48\nframes 10\nduration 1000 ms\nsound 16 bytes\nvideo " +
                       std::to_string(std::filesystem::file_size(dir / "g.ogv")) + " bytes\n");
  struct Refusal {
    std::string arguments;
    int exitCode;
    std::string says;
  };
  for (const Refusal& bad : {Refusal{"pack " + d + "g.ogv", 2, "needs -o"},
                             Refusal{"pack " + d + "s.wav -o " + d + "x.thor", 1, "no Theora stream"},
                             Refusal{"pack " + d + "g.ogv " + d + "note.txt -o " + d + "x.thor", 1, "not a WAV or Ogg"},
                             Refusal{"info " + d + "g.ogv", 1, "not a THOR file"},
                             Refusal{"play", 2, "unknown command"}}) {
    r = runTool("vellum-movie", bad.arguments);
    EXPECT_EQ(r.exitCode, bad.exitCode) << bad.arguments;
    EXPECT_NE(r.err.find(bad.says), std::string::npos) << r.err;
  }
}

// Frames of every width up to 40 (all tails of the 8- and 16-pixel steps), at odd row addresses
// and bottom-up: the SSE2 rows give the scalar conversion's bytes in both forms.
TEST(ColourConversion, TheVectorRowsGiveThePixelByPixelBytes) {
  std::mt19937 rng(420);
  for (int32_t width = 2; width <= 40; width += 2) {
    const int32_t height = 6, stride = width + 5, chromaStride = width / 2 + 3;
    std::vector<uint8_t> luma(static_cast<size_t>(stride * height)), cb(static_cast<size_t>(chromaStride * height / 2)),
        cr(cb.size());
    for (auto* plane : {&luma, &cb, &cr})
      for (uint8_t& b : *plane) b = static_cast<uint8_t>(rng());
    const FramePlanes planes[] = {
        {width, height, stride, width / 2, height / 2, chromaStride, luma.data(), cb.data(), cr.data()},
        {width, height, -stride, width / 2, height / 2, -chromaStride, luma.data() + stride * (height - 1),
         cb.data() + chromaStride * (height / 2 - 1), cr.data() + chromaStride * (height / 2 - 1)}};
    for (const FramePlanes& p : planes) {
      for (ColourForm form : {ColourForm::Plain, ColourForm::Vector}) {
        std::vector<uint32_t> fast(static_cast<size_t>((width + 1) * height + 1)), scalar(fast.size());
        ASSERT_TRUE(convertFrame(p, fast.data() + 1, width + 1, height, form));
        ASSERT_TRUE(convertFrameScalar(p, scalar.data() + 1, width + 1, height, form));
        ASSERT_EQ(fast, scalar) << "width " << width << (form == ColourForm::Plain ? " plain" : " vector");
      }
    }
  }
}

}  // namespace
}  // namespace vellum::test
