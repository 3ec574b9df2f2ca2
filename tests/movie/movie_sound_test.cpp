// A movie's embedded sound plays on channel 0 when the movie starts: heard in the --audio-out
// recording of a headless game.
#include <gtest/gtest.h>

#include <cstdlib>

#include "movie/movie_test_files.h"
#include "sound/wav_files.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

constexpr int kRate = 44100;

TEST(MovieSound, TheTrackPlaysOnChannelZeroWithTheMovie) {
  if (!test::haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  test::TempFolder game;
  std::vector<int16_t> ramp;
  // Half a second, mono; frame k holds k / 2 + 1.
  for (int k = 0; k < kRate / 2; ++k) ramp.push_back(static_cast<int16_t>(k / 2 + 1));
  game.write("ramp.wav", test::makeWav(ramp, 1, kRate));
  ASSERT_TRUE(test::makeGreyStepVideo(game / "g.ogv"));
  const test::ProcessResult packed = test::runTool(
      "vellum-movie", "pack " + (game / "g.ogv").string() + " " + (game / "ramp.wav").string() + " -o " + (game / "m.thor").string());
  ASSERT_EQ(packed.exitCode, 0) << packed.err;
  const std::string script =
      "screen 320, 240, 320, 2\nsetMasterVolume 100\nsd_create\ntheora_create\n"
      "sp_ani 1, \"m.thor\", 0, 1, 4, 0, 0\nstring a\nint s, t, t0, now\nsd_getFile 0, $a\nprint $a\n"
      "timeGetTime %t0\n*w\ndraw2\ntimeGetTime %now\ncal %t = %now - %t0\nif (%t < 1200) goto *w\n";
  test::writeScriptContainer(game, {{"script/0.txt", script}});
  const std::string out = (game / "out.wav").string();
  test::TempFolder runtime;  // the game's one-copy lock of its own
  const char* previous = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = previous ? previous : "";
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  const test::ProcessResult r = test::runTool("vellum", "--game " + game.path().string() + " --headless --audio-out " + out);
  if (previous) {
    setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "m.thor");
  const test::WavData heard = test::readWav(out);
  ASSERT_TRUE(heard.valid);
  const long first = test::findFrame(heard.samples, 1);
  ASSERT_GE(first, 0) << "the movie's sound was never heard";
  // The ramp goes on in order after its start (the recording's clock may fall behind the game's
  // on a busy machine, so only its first quarter second is asked for).
  EXPECT_GE(test::findFrame(heard.samples, static_cast<int16_t>(kRate / 8), static_cast<size_t>(first)), 0);
}

}  // namespace
}  // namespace vellum
