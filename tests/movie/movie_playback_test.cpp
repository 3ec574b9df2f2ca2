// Movies on sprites: sp_ani with a THOR file packed by vellum-movie from ffmpeg's Theora output,
// shown with the real renderer and read back from the screen.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "base/clock.h"
#include "script/command_registry.h"
#include "movie/frame_sequences.h"
#include "movie/thor_header.h"
#include "movie/movie_test_files.h"
#include "movie/sequence_clock_fixture.h"
#include "script/control_flow.h"
#include "script/expression.h"
#include "script/script_state.h"
#include "scene/sprite_fixture.h"
#include "script/builtins/packed_game.h"
#include "support/fake_clock.h"
#include "support/game_builder.h"
#include "support/kept_environment.h"
#include "support/wait_until.h"

namespace vellum::test {
namespace {

class MoviePlaybackTest : public SequenceClockTest {
 protected:
  void SetUp() override {
    SequenceClockTest::SetUp();
    if (IsSkipped()) return;
    if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    registerAllCommands();
    settings().mmx = settings().sse = settings().sse2 = 0;  // the plain colour conversion
  }

  // g.thor: ten 64x48 frames in one second, frame i grey with luma 16 + 20 i.
  void packGreySteps() {
    ASSERT_TRUE(makeGreyStepVideo(game / "g.ogv"));
    const ProcessResult r = runTool("vellum-movie", "pack " + (game / "g.ogv").string() + " -o " + (game / "g.thor").string());
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }

  // The grey level plain conversion gives frame i.
  static int greyOf(int frame) { return std::min(255, ((20 * frame) * 38142 + 16384) >> 15); }

  // The frame the screen shows at the sprite's centre, from its grey level.
  int frameOnScreen() {
    updateFrameSequences();
    script("draw\n");
    const Screen screen = capture();
    // The sprite is centred on the screen's corner: its lower right quarter shows.
    const int grey = static_cast<int>(screen.at(16, 12) & 0xFF);
    int best = -1, distance = 1000;
    for (int i = 0; i < 10; ++i)
      if (std::abs(greyOf(i) - grey) < distance) distance = std::abs(greyOf(i) - grey), best = i;
    return best;
  }


  static int64_t msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  }
};

// Without end (pass count 0) the last picture stays until the sprite is deleted.
TEST_F(MoviePlaybackTest, ShowsEachFrameOnTimeAndKeepsTheLastOne) {
  packGreySteps();
  useFakeClock();
  const uint32_t start = fakeNow;
  script("theora_create\nsp_ani 1, \"g.thor\", 0, 0, 4, 0, 0\n");
  ASSERT_NE(movieState(1), -2) << (reports.boxes.empty() ? "" : reports.boxes[0]);
  // The clock stands still at each time: the worker reaches the frame due then and no further.
  for (uint32_t at : {150u, 450u, 750u, 950u}) {
    fakeNow = start + at;
    const int due = static_cast<int>(at / 100);
    int shown = -1;
    EXPECT_TRUE(waitUntil([&] { return (shown = frameOnScreen()) == due; })) << "at " << at << " ms: " << shown;
  }
  // Past the end the last frame stays.
  fakeNow = start + 1300;
  EXPECT_TRUE(waitUntil([&] { return movieCurrentFrame(1) == 10; }));
  EXPECT_EQ(frameOnScreen(), 9);
  EXPECT_GT(movieState(1), 0);  // the movie ends only when its sequence is stopped
  setTickSource(nullptr);
  const auto asked = std::chrono::steady_clock::now();
  script("sp_d 1\ndraw\n");
  EXPECT_EQ(movieState(1), -2);
  EXPECT_LT(msSince(asked), 5000);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(MoviePlaybackTest, ADelayedMovieWaitsAndAStopWakesItAtOnce) {
  packGreySteps();
  useFakeClock();
  const uint32_t start = fakeNow;
  script("theora_create\nsp_ani 2, \"g.thor\", 0, 1, 4, 0, 500\n");
  fakeNow = start + 499;
  EXPECT_EQ(movieCurrentFrame(2), 0);
  fakeNow = start + 500;
  EXPECT_TRUE(waitUntil([] { return movieCurrentFrame(2) == 1; }));
  // On the real clock a movie delayed 100 s waits; only the stop can end that wait, and the
  // stop gives up (with a report) after a second.
  setTickSource(nullptr);
  script("sp_ani 2, \"g.thor\", 0, 1, 4, 0, 100000\n");  // a new sequence stops the old one
  const auto asked = std::chrono::steady_clock::now();
  script("sp_d 2\ndraw\n");
  EXPECT_EQ(movieState(2), -2);
  EXPECT_LT(msSince(asked), 5000);
  EXPECT_TRUE(reports.boxes.empty()) << reports.boxes[0];
}

TEST_F(MoviePlaybackTest, AFrameRateReplacesTheFilesTiming) {
  packGreySteps();
  useFakeClock();
  // 10 frames at 1000 per second: the whole movie is due after 10 ms, not one second.
  script("theora_create\nsp_ani 3, \"g.thor\", 0, 1, 4, 1000, 0\n");
  fakeNow += 10;
  EXPECT_TRUE(waitUntil([] { return movieCurrentFrame(3) == 10; })) << movieCurrentFrame(3);
}

// While fast-forwarding a request only sets up the sprite's picture; when fast-forward ends the
// movie opens and starts at once, its delay no longer waited for. A request whose sprite got
// another picture meanwhile is dropped.
TEST_F(MoviePlaybackTest, AMovieAskedForWhileFastForwardingOpensWhenItEnds) {
  packGreySteps();
  writePicture("p.png", 8, 8, 0xFFFF0000u);
  script("theora_create\nsetJump\nsp_ani 1, \"g.thor\", 0, 1, 4, 0, 100000\n"
         "sp_ani 2, \"g.thor\", 0, 1, 4, 0, 0\nsp 2, \"p.png\", 0, 0\n");
  ASSERT_NE(scriptState().fastForwardMode, 0);
  EXPECT_EQ(movieState(1), -2);
  EXPECT_TRUE(sprite(1).inUse());
  endFastForward();
  EXPECT_GT(movieState(1), 0);
  EXPECT_EQ(movieState(2), -2);
  EXPECT_TRUE(waitUntil([] { return movieCurrentFrame(1) >= 3; }));
  EXPECT_TRUE(reports.boxes.empty());
  // Stopped like any sequence; a second end of fast-forward opens nothing again.
  script("sp_d 1\ndraw\n");
  endFastForward();
  EXPECT_EQ(movieState(1), -2);
}

// The pass count as for the other frame sequences: when the last pass is over the sprite goes at
// the next commit and its sequence is freed (sp_alv no longer counts it); later passes show the
// last picture, since a movie does not start again.
TEST_F(MoviePlaybackTest, TheLastPassDeletesTheSprite) {
  packGreySteps();
  struct Case {
    int passes;
    bool ends;
  };
  script("int alv, exist\n");
  for (const Case c : {Case{1, true}, Case{2, true}, Case{0, false}}) {
    SCOPED_TRACE(c.passes);
    const uint32_t asked = tickMilliseconds();
    script("theora_create\nsp_ani 1, \"g.thor\", 0, " + std::to_string(c.passes) + ", 4, 50, 0\n");  // 200 ms a pass
    ASSERT_NE(movieState(1), -2);
    const auto drawFrame = [&] {
      updateFrameSequences();
      script("draw\n");
    };
    // Frames until the sprite is gone; one that stays is drawn on past the movie's end.
    const bool gone = c.ends && waitUntil([&] {
      drawFrame();
      return !sprite(1).inUse();
    });
    const uint32_t goneAfter = tickMilliseconds() - asked;
    if (!c.ends) {
      EXPECT_TRUE(waitUntil([&] {
        drawFrame();
        return movieCurrentFrame(1) == 10;
      }));
      for (int i = 0; i < 3; ++i) drawFrame();
    }
    script("sp_alv 0, 999, %alv\nsp_exist 1, %exist\n");
    const int32_t* alv = findIntVariable("%alv");
    const int32_t* exist = findIntVariable("%exist");
    ASSERT_TRUE(alv && exist);
    EXPECT_EQ(gone, c.ends);
    if (c.ends) {
      EXPECT_GE(goneAfter, 200u * static_cast<uint32_t>(c.passes));
      EXPECT_EQ(movieState(1), -2);
      EXPECT_EQ(*alv, 0);
      EXPECT_EQ(*exist, 0);
      EXPECT_EQ(capture().at(16, 12), 0u);  // the screen's black where the movie was
    } else {
      EXPECT_EQ(frameOnScreen(), 9);
      EXPECT_EQ(*alv, 1);
      EXPECT_EQ(*exist, 2);
      script("sp_d 1\ndraw\n");
    }
  }
  EXPECT_TRUE(reports.boxes.empty()) << (reports.boxes.empty() ? "" : reports.boxes.front());
}

// A header whose picture size is not the stream's: reported once, and the frames are shown cut to
// the header's picture or padded black (MovieFrameSizes checks the pixels).
TEST_F(MoviePlaybackTest, AHeaderSizeThatIsNotTheStreamsIsReportedOnce) {
  packGreySteps();  // a 64 x 48 stream
  const std::string packed = readFileBytes(game / "g.thor");
  struct Case {
    uint32_t width, height;
    size_t reports;
  };
  for (const Case c : {Case{64, 48, 0}, Case{96, 64, 1}, Case{32, 24, 1}, Case{64, 40, 1}}) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    ThorHeader h;
    std::string problem;
    ASSERT_TRUE(parseThorHeader(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), packed.size(), h, problem));
    h.width = c.width;
    h.height = c.height;
    std::string bytes = packed;
    writeThorHeader(h, reinterpret_cast<uint8_t*>(bytes.data()));
    std::ofstream(game / "s.thor", std::ios::binary) << bytes;
    reports.clear();
    script("theora_create\nsp_ani 1, \"s.thor\", 0, 0, 4, 50, 0\n");
    ASSERT_NE(movieState(1), -2);
    EXPECT_TRUE(waitUntil([&] {
      updateFrameSequences();
      script("draw\n");
      return movieCurrentFrame(1) >= 10;
    }));
    EXPECT_EQ(movieCurrentFrame(1), 10);
    for (int i = 0; i < 3; ++i) {
      updateFrameSequences();
      script("draw\n");
    }
    ASSERT_EQ(reports.boxes.size(), c.reports) << (reports.boxes.empty() ? "" : reports.boxes.front());
    if (c.reports) {
      EXPECT_NE(reports.boxes[0].find("s.thor: the header's picture is " + std::to_string(c.width) + "x" +
                                      std::to_string(c.height) + ", the stream's 64x48"),
                std::string::npos)
          << reports.boxes[0];
    }
    script("sp_d 1\ndraw\n");
  }
}

struct BadMovie {
  const char* name;
  std::string bytes;  // written as the file "bad.thor"; empty: no file
  bool decoder;       // theora_create first
  const char* says;
};

// A header that passes the checks, followed by 16 bytes that are no Theora stream.
std::string headerWithoutVideo() {
  ThorHeader h;
  h.videoLength = 16;
  h.durationMs = 1000;
  h.frameCount = 10;
  h.width = 64;
  h.height = 48;
  std::string bytes(kThorHeaderSize, '\0');
  writeThorHeader(h, reinterpret_cast<uint8_t*>(bytes.data()));
  return bytes + "0123456789ABCDEF";
}

class MovieBadInput : public MoviePlaybackTest, public ::testing::WithParamInterface<BadMovie> {};

TEST_P(MovieBadInput, IsReportedAndTheSpriteKeepsWhatItHad) {
  writePicture("p.png", 8, 8, 0xFF00FF00u);
  if (!GetParam().bytes.empty()) {
    std::ofstream out(game / "bad.thor", std::ios::binary);
    out << GetParam().bytes;
  }
  script(std::string(GetParam().decoder ? "theora_create\n" : "") + "sp 4, \"p.png\", 0, 0\ndraw\nsp_ani 4, \"bad.thor\", 0, 1, 4, 0, 0\n");
  EXPECT_EQ(movieState(4), -2);
  EXPECT_TRUE(reports.anyBoxContains(GetParam().says)) << (reports.boxes.empty() ? "no report" : reports.boxes.back());
}

INSTANTIATE_TEST_SUITE_P(
    Table, MovieBadInput,
    ::testing::Values(BadMovie{"not_a_movie", "GIF89a and so on", true, " \xb6\xaf\xbb\xad\xd0\xce\xca\xbd\xb2\xbb\xd5\xfd\xc8\xb7 38464947"},
                      BadMovie{"short_header", "THOR\x01", true, "shorter than"},
                      BadMovie{"missing", "", true, "bad.thor"},
                      BadMovie{"no_decoder", headerWithoutVideo(), false, "theora_create"},
                      BadMovie{"not_theora", headerWithoutVideo(), true, "uTheoraLib::load"}),
    [](const ::testing::TestParamInfo<BadMovie>& info) { return std::string(info.param.name); });

// The engine opens libtheoradec when theora_create runs; here the loader finds a damaged one first.
TEST(MovieDecoderLibrary, WhenItCannotBeLoadedTheoraCreateSaysWhyAndTheGameGoesOn) {
  TempFolder libraries;
  libraries.write("libtheoradec.so.1", "not a library");
  KeptEnvironment kept("LD_LIBRARY_PATH");
  setenv("LD_LIBRARY_PATH", libraries.path().c_str(), 1);
  const ProcessResult result = PackedGame("theora_create\nprint \"on\"\n").run();
  EXPECT_EQ(result.out, "on");
  EXPECT_NE(result.err.find("theora_create: libtheoradec cannot be loaded, so movies cannot play ("), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("file too short"), std::string::npos) << "the loader's reason: " << result.err;
  EXPECT_EQ(result.exitCode, 0);
}

}  // namespace
}  // namespace vellum::test
