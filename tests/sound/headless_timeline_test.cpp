// Headless, the sound keeps to the same clock as the script: the recording of a run is as long as
// the time `getTimer` saw pass, and a playing sound's position moves as fast as `getTimer`.
#include <gtest/gtest.h>

#include <cstdio>

#include "sound/wav_files.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

TEST(HeadlessTimeline, RecordingAndSoundPositionKeepToTheTimer) {
  test::TempFolder game;
  // Six seconds of a quiet saw, mono, longer than the run so its position never wraps.
  std::vector<int16_t> saw;
  for (int k = 0; k < 6 * 44100; ++k) saw.push_back(static_cast<int16_t>(k % 441 + 1));
  game.write("saw.wav", test::makeWav(saw, 1, 44100));
  test::writeScriptContainer(game, {{"script/0.txt",
                                     "int t0, t1, pos\nsetMasterVolume 100\nsetSeVolume 100\nsd_create\n"
                                     "sd_load 3, \"saw.wav\"\ngetTimer %t0\nsd_play 3, 0, 100, 0, 1, 0\nsleep 5000\n"
                                     "sd_nowTime 3, %pos\ngetTimer %t1\nprint %t0, \" \", %t1, \" \", %pos\n"}});
  const std::string out = (game / "out.wav").string();
  const test::ProcessResult result = test::runTool("vellum", "--game " + game.path().string() + " --headless --audio-out " + out);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  long t0 = 0, t1 = 0, position = 0;
  ASSERT_EQ(std::sscanf(result.out.c_str(), "%ld %ld %ld", &t0, &t1, &position), 3) << result.out;
  const double span = static_cast<double>(t1 - t0);
  ASSERT_GE(span, 5000.0);
  const test::WavData wav = test::readWav(out);
  ASSERT_TRUE(wav.valid);
  ASSERT_EQ(wav.sampleRate, 44100);
  const double recordedMs = static_cast<double>(wav.samples.size()) / wav.channels * 1000.0 / wav.sampleRate;
  // The recording runs from sd_create to the end of the run, a little more than the span; a device
  // that falls behind the clock (0.86 of it) records far less.
  EXPECT_GE(recordedMs, span * 0.97) << "span " << span << " ms";
  EXPECT_LE(recordedMs, span * 1.03 + 500) << "span " << span << " ms";
  // Played from just after t0 to just before t1. A channel whose stream worker is starved at its
  // start (a busy machine, a sanitizer build) begins a few hundred milliseconds late; a device
  // behind the clock (0.86 of it) would be 700 ms off by the end.
  EXPECT_NEAR(static_cast<double>(position), span, span * 0.08);
}

}  // namespace
}  // namespace vellum
