// `vellum --headless --audio-out FILE`: the recording holds what the game's channels played, at the
// mixer's rate and channel count, and a run without sound leaves an empty recording.
#include <gtest/gtest.h>

#include <fstream>

#include "sound/wav_files.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

TEST(AudioOut, HeadlessRunRecordsTheMix) {
  test::TempFolder game;
  std::vector<int16_t> ramp;
  for (int k = 0; k < 8000; ++k) ramp.push_back(static_cast<int16_t>(k + 1));  // mono
  std::ofstream(game / "ramp.wav", std::ios::binary) << test::makeWav(ramp, 1, 44100);
  // Ends once the whole ramp (181 ms) has been played, or after ten seconds.
  test::writeScriptContainer(game, {{"script/0.txt",
                                     "int pos, t0, now\nsetMasterVolume 100\nsetSeVolume 100\nsd_create\n"
                                     "sd_load 3, \"ramp.wav\"\nsd_play 3, 0, 100, 0, 1, 0\ngetTimer %t0\n"
                                     "*w\nsleep 10\nsd_nowTime 3, %pos\ngetTimer %now\n"
                                     "if ((%pos < 200) && (%now - %t0 < 10000)) goto *w\n"}});
  const std::string out = (game / "out.wav").string();
  const test::ProcessResult result = test::runTool("vellum", "--game " + game.path().string() + " --headless --audio-out " + out);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const test::WavData wav = test::readWav(out);
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.channels, 2);
  EXPECT_EQ(wav.sampleRate, 44100);
  EXPECT_EQ(wav.declaredDataBytes, wav.samples.size() * 2);
  const long start = test::findFrame(wav.samples, 1);
  ASSERT_GE(start, 0);
  // The mono source is heard in both channels, every sample once.
  for (long k = 0; k < 8000; ++k) {
    ASSERT_EQ(wav.samples[static_cast<size_t>(2 * (start + k))], k + 1) << k;
    ASSERT_EQ(wav.samples[static_cast<size_t>(2 * (start + k) + 1)], k + 1) << k;
  }
}

TEST(AudioOut, RunWithoutSoundLeavesAnEmptyRecording) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "sleep 1\n"}});
  const std::string out = (game / "out.wav").string();
  const test::ProcessResult result = test::runTool("vellum", "--game " + game.path().string() + " --headless --audio-out " + out);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const test::WavData wav = test::readWav(out);
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.declaredDataBytes, 0u);
  EXPECT_TRUE(wav.samples.empty());
}

TEST(AudioOut, UnwritablePathStopsBeforeTheGame) {
  test::TempFolder game;
  test::writeScriptContainer(game, {{"script/0.txt", "sleep 1\n"}});
  const test::ProcessResult result =
      test::runTool("vellum", "--game " + game.path().string() + " --headless --audio-out " + (game / "no/such/x.wav").string());
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("cannot create"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace vellum
