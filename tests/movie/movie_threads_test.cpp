// The movie and frame-file workers against the main thread taking their frames, without a screen:
// what the two sides share is checked by the ThreadSanitizer suite as well.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "base/clock.h"
#include "movie/frame_file_playback.h"
#include "movie/movie_playback.h"
#include "movie/movie_test_files.h"
#include "movie/theora_library.h"
#include "support/engine_fixture.h"
#include "support/game_builder.h"
#include "support/param_names.h"
#include "support/wait_until.h"

namespace vellum::test {
namespace {

class MovieThreads : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  }
  ThorHeader headerOf(const std::string& name) {
    std::ifstream in(game / name, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ThorHeader h;
    std::string problem;
    EXPECT_TRUE(parseThorHeader(bytes.data(), bytes.size(), bytes.size(), h, problem)) << problem;
    return h;
  }
};

TEST_F(MovieThreads, TheMainThreadTakesEveryFrameTheMovieHandsOver) {
  ASSERT_TRUE(makeGreyStepVideo(game / "g.ogv"));
  ASSERT_EQ(runTool("vellum-movie", "pack " + (game / "g.ogv").string() + " -o " + (game / "g.thor").string()).exitCode, 0);
  loadTheoraLibrary();
  // 10 frames at 50 per second: 200 ms.
  auto movie = MoviePlayback::open("g.thor", headerOf("g.thor"), 50);
  ASSERT_NE(movie, nullptr);
  ASSERT_TRUE(movie->start(tickMilliseconds()));
  int taken = 0, lastGrey = -1;
  // Taken in turns as a fresh picture and copied into one the caller keeps (as a sprite does).
  Image* kept = createImage(static_cast<int>(movie->width()), static_cast<int>(movie->height()), 32);
  ASSERT_NE(kept, nullptr);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kGenerousWaitMs);
  while (movie->current() < 10 && std::chrono::steady_clock::now() < deadline) {
    Image* frame = taken % 2 ? (movie->takeNewFrameInto(*kept) ? kept : nullptr) : movie->takeNewFrame();
    if (frame) {
      const int grey = static_cast<int>(frame->pixels[0] & 0xFF);
      EXPECT_GE(grey, lastGrey);  // frames arrive in order
      lastGrey = grey;
      ++taken;
      if (frame != kept) freeImage(frame);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  freeImage(kept);
  EXPECT_GT(taken, 1);
  movie->stop();
  EXPECT_EQ(movie->state(), -1);
}

TEST_F(MovieThreads, AMovieStartedLateSkipsTheFramesAlreadyPastWithoutDecodingThem) {
  ASSERT_TRUE(makeGreyStepVideo(game / "g.ogv"));
  ASSERT_EQ(runTool("vellum-movie", "pack " + (game / "g.ogv").string() + " -o " + (game / "g.thor").string()).exitCode, 0);
  loadTheoraLibrary();
  auto movie = MoviePlayback::open("g.thor", headerOf("g.thor"), 0);  // 10 frames in one second
  ASSERT_NE(movie, nullptr);
  // Frame 0 was due 550 ms ago: frames 0 to 4 are late.
  ASSERT_TRUE(movie->start(tickMilliseconds() - 550));
  EXPECT_TRUE(waitUntil([&] { return movie->current() == 10; })) << movie->current();
  EXPECT_LE(movie->framesDecoded(), 5u);
  Image* last = movie->takeNewFrame();
  ASSERT_NE(last, nullptr);
  EXPECT_NEAR(static_cast<int>(last->pixels[0] & 0xFF), ((20 * 9) * 38142 + 16384) >> 15, 6);  // frame 9
  freeImage(last);
  movie->stop();
}

// A header whose picture size differs from the stream's: frames are cut to the picture, and a
// picture larger than the frames is opaque black outside them. Widths that are no multiple of 32
// leave the decode image's rows wider than the picture's (the frames are copied, not exchanged).
struct PictureSize {
  uint32_t width, height;
};
class MovieFrameSizes : public MovieThreads, public ::testing::WithParamInterface<PictureSize> {};

TEST_P(MovieFrameSizes, FramesFillThePictureWhateverTheStreamsSize) {
  ASSERT_TRUE(makeGreyStepVideo(game / "g.ogv"));  // 64 x 48
  ASSERT_EQ(runTool("vellum-movie", "pack " + (game / "g.ogv").string() + " -o " + (game / "g.thor").string()).exitCode, 0);
  loadTheoraLibrary();
  ThorHeader header = headerOf("g.thor");
  header.width = GetParam().width;
  header.height = GetParam().height;
  auto movie = MoviePlayback::open("g.thor", header, 20);
  ASSERT_NE(movie, nullptr);
  ASSERT_TRUE(movie->start(tickMilliseconds()));
  Image* kept = createImage(static_cast<int>(header.width), static_cast<int>(header.height), 32);
  // Frame 0 is black: wait for a grey one.
  waitUntil([&] {
    movie->takeNewFrameInto(*kept);
    return (kept->pixels[0] & 0xFF) != 0;
  });
  const uint32_t grey = kept->pixels[0];
  ASSERT_NE(grey & 0xFF, 0u);
  int wrong = 0;
  for (uint32_t y = 0; y < header.height; ++y)
    for (uint32_t x = 0; x < header.width; ++x) {
      const uint32_t want = x < 64 && y < 48 ? grey : 0xFF000000u;
      if (kept->pixels[y * header.width + x] != want) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
  freeImage(kept);
  movie->stop();
  EXPECT_EQ(movie->state(), -1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MovieFrameSizes,
                         ::testing::Values(PictureSize{64, 48}, PictureSize{32, 24}, PictureSize{96, 64},
                                           PictureSize{70, 50}, PictureSize{30, 20}),
                         test::namedBy([](const PictureSize& c) { return test::sizeText(c.width, c.height); }));

TEST_F(MovieThreads, FrameFileWorkersHandOverWhileTheMainThreadTakes) {
  const std::string command =
      "ffmpeg -y -loglevel error -f lavfi -i 'color=c=black:s=32x24:r=25:d=1' -vf \"geq=lum='16+N*8':cb=128:cr=128\" "
      "-c:v mjpeg -pix_fmt yuvj420p '" + (game / "x.avi").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (int variant : {0, 1, 2}) {
    FrameFilePlayback::Settings settings;
    settings.file = "x.avi";
    settings.variant = variant;
    settings.passes = 2;
    settings.frameRate = 100;
    auto frames = FrameFilePlayback::open(1, settings);
    ASSERT_NE(frames, nullptr);
    ASSERT_TRUE(frames->start(tickMilliseconds()));
    int taken = 0;
    // Taking alongside the workers for a while (600 ms), and until a frame came.
    const auto start = std::chrono::steady_clock::now();
    waitUntil([&] {
      Image* frame = variant == 0 ? frames->decodedFrame(static_cast<uint32_t>(taken % 25)) : frames->takeNewFrame();
      if (frame) ++taken;
      freeImage(frame);
      return taken > 0 && std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(600);
    });
    EXPECT_GT(taken, 0) << variant;
    EXPECT_TRUE(frames->takeReports().empty()) << variant;
    frames->stop();
  }
}

}  // namespace
}  // namespace vellum::test
