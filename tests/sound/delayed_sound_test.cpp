// `sd` and `sd_stop` with a delay are carried out by the frames a headless game draws: until then
// the channel reports the request as pending, and nothing is heard before the delay.
#include <gtest/gtest.h>

#include <cstdlib>

#include "sound/wav_files.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

constexpr int kRate = 44100;

// A screen, the device, then `request`; prints the status and name right away, draws frames for
// `drawMs` (and on until channel 3 has played `heardMs`, for at most ten seconds), prints them again.
std::string gameScript(const std::string& request, int drawMs, int heardMs = 0) {
  return "screen 320, 240, 320, 2\nsetMasterVolume 100\nsetSeVolume 100\nsd_create\n"
         "string a, b\nint s, t, t0, now, pos\n" +
         request +
         "sd_status 3, %s\nsd_getFile 3, $a\nprint %s, \",\", $a, \";\"\n"
         "timeGetTime %t0\n*w\ndraw2\ntimeGetTime %now\ncal %t = %now - %t0\nif (%t < " +
         std::to_string(drawMs) +
         ") goto *w\n"
         "sd_nowTime 3, %pos\ntimeGetTime %now\ncal %t = %now - %t0\n"
         "if ((%pos < " + std::to_string(heardMs) + ") && (%t < 10000)) goto *w\n"
         "sd_status 3, %s\nsd_getFile 3, $b\nprint %s, \",\", $b\n";
}

struct Played {
  test::ProcessResult result;
  test::WavData heard;
};

Played runGame(const std::string& script) {
  test::TempFolder game;
  std::vector<int16_t> ramp;
  // One second, mono; frame k holds k / 2 + 1, so a value tells how far the sound had got.
  for (int k = 0; k < kRate; ++k) ramp.push_back(static_cast<int16_t>(k / 2 + 1));
  game.write("ramp.wav", test::makeWav(ramp, 1, kRate));
  test::writeScriptContainer(game, {{"script/0.txt", script}});
  const std::string out = (game / "out.wav").string();
  Played played;
  // A runtime folder of its own: a window holds the game's one-copy lock there, and other runs of
  // the same game (other suites, other checkouts) must not meet it.
  test::TempFolder runtime;
  const char* previous = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = previous ? previous : "";
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  played.result = test::runTool("vellum", "--game " + game.path().string() + " --headless --audio-out " + out);
  if (previous) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  else unsetenv("XDG_RUNTIME_DIR");
  played.heard = test::readWav(out);
  return played;
}

TEST(DelayedSound, StartsWhenFramesReachItsTime) {
  const Played p = runGame(gameScript("sd 3, \"ramp.wav\", 0, 500, 100, 0, 1, 0\n", 1000, 100));
  ASSERT_EQ(p.result.exitCode, 0) << p.result.err;
  ASSERT_FALSE(p.result.out.empty()) << p.result.err;
  // Pending right after the request (status 0, no name yet), then playing the file.
  EXPECT_EQ(p.result.out, "0,;0,ramp.wav");
  ASSERT_TRUE(p.heard.valid);
  const long first = test::findFrame(p.heard.samples, 1);
  ASSERT_GE(first, 0) << "the delayed sound was never heard";
  // The recording starts at sd_create, just before the request, and keeps to the clock: the sound
  // was not heard before its delay (less 100 ms, for a mixer that a busy machine holds back and that
  // then makes up the periods it owes).
  EXPECT_GE(first, kRate * 2 / 5);
}

TEST(DelayedSound, StopWaitsForItsTime) {
  const Played p = runGame(gameScript("sd 3, \"ramp.wav\", 0, 0, 100, 0, 0, 0\nsd_stop 3, 0, 400\n", 800));
  ASSERT_EQ(p.result.exitCode, 0) << p.result.err;
  ASSERT_FALSE(p.result.out.empty()) << p.result.err;
  // The stop is pending at first (status 0 while queued, the file still named), then done.
  EXPECT_EQ(p.result.out, "0,ramp.wav;2,");
  ASSERT_TRUE(p.heard.valid);
  const long first = test::findFrame(p.heard.samples, 1);
  ASSERT_GE(first, 0);
  // Played for about the delay: heard past 100 ms of the ramp, stopped well before its end.
  EXPECT_GE(test::findFrame(p.heard.samples, static_cast<int16_t>(kRate / 10 / 2), static_cast<size_t>(first)), 0);
  EXPECT_LT(test::findFrame(p.heard.samples, static_cast<int16_t>(kRate * 9 / 10 / 2), static_cast<size_t>(first)), 0);
}

}  // namespace
}  // namespace vellum
