// Sound channels driven by the sd_ commands under the dummy device, checked in the recording of
// the mix: the test signal is a stereo WAV whose frame k holds (k + 1, -(k + 1)), so every gap,
// repeat or jump shows up as a break in the count.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>

#include "base/clock.h"
#include "script/command_registry.h"
#include "engine/startup.h"
#include "platform/audio_device.h"
#include "sound/gain_law.h"
#include "sound/sound_channel.h"
#include "sound/sound_messages.h"
#include "sound/sound_system.h"
#include "sound/sound_timing.h"
#include "sound/wav_files.h"
#include "support/engine_fixture.h"
#include "support/wait_until.h"

namespace vellum {
namespace {

constexpr int kFrames = 20000;

// The engine's clock for the tests that time fades and delays: moved by hand, read by the workers.
std::atomic<uint32_t> handClock{1000};
uint32_t readHandClock() { return handClock; }

std::vector<int16_t> countingSignal(int frames) {
  std::vector<int16_t> samples;
  for (int k = 0; k < frames; ++k) {
    samples.push_back(static_cast<int16_t>(k + 1));
    samples.push_back(static_cast<int16_t>(-(k + 1)));
  }
  return samples;
}

class SoundTest : public test::EngineTest {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EngineTest::SetUp();
    registerAllCommands();
    std::ofstream(game / "count.wav", std::ios::binary) << test::makeWav(countingSignal(kFrames), 2, 44100);
    std::string error;
    ASSERT_TRUE(setAudioRecordingPath((game / "mix.wav").string(), error)) << error;
  }
  void TearDown() override {
    shutdownSound();
    setTickSource(nullptr);  // the workers that read it have ended
    std::string error;
    setAudioRecordingPath("", error);
    EngineTest::TearDown();
  }
  // Full volume everywhere, so the recording holds the file's own samples.
  void runScript(const std::string& lines) {
    addScript("script/0.txt", "setMasterVolume 100\nsetVoVolume 100\nsd_create\n" + lines, 0);
    run();
  }
  static bool bufferPlaying(int channel) {
    auto stream = soundState().channels[channel].stream;
    std::lock_guard lock(stream->mutex);
    return stream->buffer && stream->buffer->playing();
  }
  // Until the device has mixed `frames` frames of the channel's buffer (its worker starts it a
  // moment after the command).
  static bool waitForPlayed(int channel, uint64_t frames) {
    if (!test::waitUntil([channel] { return bufferPlaying(channel); })) return false;
    const uint64_t target = audioFramesMixed() + frames;
    return test::waitUntil([target] { return audioFramesMixed() >= target; });
  }
  // Runs the engine on the hand clock from now on (before any worker starts).
  static void useHandClock() {
    handClock = 1000;
    setTickSource(&readHandClock);
  }
  // The left channel of the recording with the silence before the first sound removed.
  std::vector<int16_t> heard() {
    shutdownSound();
    const test::WavData wav = test::readWav(game / "mix.wav");
    std::vector<int16_t> left;
    bool started = false;
    for (size_t i = 0; i + 1 < wav.samples.size(); i += 2) {
      started = started || wav.samples[i] != 0;
      if (started) left.push_back(wav.samples[i]);
    }
    return left;
  }
  // Expected left values: frames [from, to) of the signal.
  static void appendRange(std::vector<int16_t>& out, int from, int to) {
    for (int k = from; k < to; ++k) out.push_back(static_cast<int16_t>(k + 1));
  }
  static void expectStartsWith(const std::vector<int16_t>& got, const std::vector<int16_t>& want) {
    for (size_t i = 0; i < std::min(want.size(), got.size()); ++i) ASSERT_EQ(got[i], want[i]) << "at " << i;
    ASSERT_GE(got.size(), want.size());
  }
};

TEST_F(SoundTest, OneShotPlaysEverySampleAcrossHalvesThenFinishesSilent) {
  runScript("sd_load 20, \"count.wav\"\nsd_play 20, 0, 100, 0, 1, 0\n");
  EXPECT_EQ(channelState(20), kStatePlaying);
  EXPECT_EQ(channelFileName(20), "count.wav");
  ASSERT_TRUE(test::waitUntil([] { return channelState(20) == kStateStopped; }));
  EXPECT_EQ(channelFileName(20), "");
  const std::vector<int16_t> got = heard();
  std::vector<int16_t> want;
  appendRange(want, 0, kFrames);
  expectStartsWith(got, want);
  for (size_t i = want.size(); i < got.size(); ++i) ASSERT_EQ(got[i], 0) << "after the end, at " << i;
  EXPECT_TRUE(reports.boxes.empty()) << reports.shownBoxes.front();
}

TEST_F(SoundTest, LoopCountsRepeatTheLoopThenPlayToTheEnd) {
  // loops 3: back from the loop end twice, then on through it to the end of the source.
  runScript("sd_load 20, \"count.wav\"\nsd_loopSample 20, 0, 5000, 15000\nsd_play 20, 0, 100, 0, 3, 0\n");
  ASSERT_TRUE(test::waitUntil([] { return channelState(20) == kStateStopped; }));
  std::vector<int16_t> want;
  appendRange(want, 0, 15000);
  appendRange(want, 5000, 15000);
  appendRange(want, 5000, kFrames);
  const std::vector<int16_t> got = heard();
  expectStartsWith(got, want);
  for (size_t i = want.size(); i < got.size(); ++i) ASSERT_EQ(got[i], 0);
}

TEST_F(SoundTest, EndlessLoopAndStartPositionAreSeamless) {
  runScript("sd_load 20, \"count.wav\"\nsd_loopSample 20, 1000, 2000, 3000\nsd_play 20, 0, 100, 0, 0, 0\n");
  std::vector<int16_t> want;
  appendRange(want, 1000, 3000);
  for (int pass = 0; pass < 5; ++pass) appendRange(want, 2000, 3000);
  ASSERT_TRUE(waitForPlayed(20, want.size()));
  EXPECT_EQ(channelState(20), kStatePlaying);
  expectStartsWith(heard(), want);
}

TEST_F(SoundTest, PauseAndResumeSkipNothingAndSeekJumpsExactly) {
  runScript("sd_load 20, \"count.wav\"\nsd_play 20, 0, 100, 0, 1, 0\n");
  // Paused once something was heard, for 100 ms of the device; resumed; moved on well before the
  // sound reaches frame 15000.
  ASSERT_TRUE(test::waitUntil([] { return channelNowSample(20) >= 1000; }));
  pauseChannel(20, true);
  EXPECT_EQ(channelState(20), kStatePaused);
  const int64_t paused = channelNowSample(20);
  const uint64_t target = audioFramesMixed() + 4410;
  ASSERT_TRUE(test::waitUntil([target] { return audioFramesMixed() >= target; }));
  pauseChannel(20, false);
  ASSERT_TRUE(test::waitUntil([paused] { return channelNowSample(20) >= paused + 1000; }));
  seekChannel(20, 15000);
  ASSERT_TRUE(test::waitUntil([] { return channelState(20) == kStateStopped; }));
  // The count goes on without a gap over the pause, then jumps once to frame 15000.
  std::vector<int16_t> nonzero;
  for (int16_t v : heard())
    if (v != 0) nonzero.push_back(v);
  int jumps = 0;
  for (size_t i = 1; i < nonzero.size(); ++i) {
    if (nonzero[i] == nonzero[i - 1] + 1) continue;
    ++jumps;
    EXPECT_EQ(nonzero[i], 15001) << "after " << nonzero[i - 1];
  }
  EXPECT_EQ(jumps, 1);
  EXPECT_EQ(nonzero.back(), kFrames);
}

TEST_F(SoundTest, PositionFollowsTheDevice) {
  using Clock = std::chrono::steady_clock;
  const auto msSince = [](Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
  };
  const Clock::time_point requested = Clock::now();
  runScript("sd_load 20, \"count.wav\"\nsd_seekSample 20, 0\nsd_play 20, 0, 100, 0, 1, 0\n");
  EXPECT_EQ(channelTotalSamples(20), kFrames);
  ASSERT_TRUE(test::waitUntil([] { return bufferPlaying(20); }));
  const Clock::time_point started = Clock::now();
  ASSERT_TRUE(test::waitUntil([] { return channelNowSample(20) >= 8820; }));
  // 200 ms of sound at 44.1 kHz is reached no sooner than 200 ms after the request, less the
  // period the device mixes ahead, and not much later than 200 ms after the worker started it.
  if (test::kTimingChecked) {
    EXPECT_GE(msSince(requested), 200.0 - 20.0 - 1.0);
    EXPECT_LE(msSince(started), 200.0 + 150.0);
  }
}

TEST_F(SoundTest, VolumesFollowTheSettingsAndTheGainLaw) {
  struct Case {
    const char* settingsLines;
    int32_t volume;
  } cases[] = {
      {"setMasterVolume 80\nsetVoVolume 80\n", -387},
      {"setMasterVolume 100\nsetVoVolume 100\n", 0},
      {"setVoMute 0\n", -10000},
      {"setMasterMute 0\n", -10000},
  };
  for (const Case& c : cases) {
    resetAllState();
    registerAllCommands();
    addScript("script/0.txt",
              std::string("sd_create\nsd_load 20, \"count.wav\"\nsd_play 20, 0, 100, 0, 0, 0\n") + c.settingsLines, 0);
    run();
    ASSERT_TRUE(soundState().channels[20].stream);
    EXPECT_EQ(soundState().channels[20].stream->buffer->volume(), c.volume) << c.settingsLines;
  }
}

TEST(SoundGainLaw, VolumesAndPansInHundredthsOfADecibel) {
  EXPECT_EQ(gainToHundredths(100, 100, categoryFactor(1, 1, 100, 100)), 0);
  EXPECT_EQ(gainToHundredths(100, 100, categoryFactor(1, 1, 80, 80)), -387);
  EXPECT_EQ(gainToHundredths(100, 100, categoryFactor(0, 1, 80, 80)), -10000);
  EXPECT_EQ(gainToHundredths(0, 100, 100), -10000);
  EXPECT_EQ(gainToHundredths(100, 30, 100), -1045);
  const struct {
    double pan;
    int32_t want;
  } pans[] = {{-100, -10000}, {-50, -602}, {0, 0}, {50, 602}, {100, 10000}};
  for (const auto& p : pans) EXPECT_EQ(panToHundredths(p.pan), p.want) << p.pan;
}

TEST_F(SoundTest, ASecondLoadBeforePlayDoesNotStall) {
  runScript("sd_load 20, \"count.wav\"\n");
  const uint32_t before = tickMilliseconds();
  addScript("script/0.txt", "sd_load 20, \"count.wav\"\n", 0);
  run();
  // A stall waits for the idle worker's next wake-up, a second away; a busy machine takes far less.
  if (test::kTimingChecked) {
    EXPECT_LT(tickMilliseconds() - before, 500u);
  }
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(SoundTest, BadInputIsReportedAndTheChannelStaysSilent) {
  std::string truncated = test::makeWav(countingSignal(100), 2, 44100);
  truncated.resize(200);
  std::ofstream(game / "short.wav", std::ios::binary) << truncated;
  std::ofstream(game / "text.wav", std::ios::binary) << "not a sound at all";
  const struct {
    const char* line;
    std::string_view text;
  } cases[] = {
      {"sd_load 20, \"short.wav\"\n", sound_messages::kUnsupportedFormat},
      {"sd_load 20, \"text.wav\"\n", sound_messages::kUnsupportedFormat},
      {"sd_load 30, \"count.wav\"\n", sound_messages::kBadChannel},
      {"sd_play -1, 0, 100, 0, 0, 0\n", sound_messages::kBadChannel},
  };
  for (const auto& c : cases) {
    reports.clear();
    runScript(c.line);
    EXPECT_TRUE(reports.anyBoxContains(c.text)) << c.line;
    EXPECT_EQ(channelState(20), kStateStopped) << c.line;
    EXPECT_EQ(channelFileName(20), "") << c.line;
  }
  // Commands on an empty channel do nothing.
  reports.clear();
  runScript("sd_play 5, 0, 100, 0, 0, 0\nsd_stop 5, 0, 0\nsd_pause 5, 1\nsd_seekSample 5, 99999999\n");
  EXPECT_TRUE(reports.boxes.empty());
  const std::vector<int16_t> got = heard();
  for (int16_t v : got) ASSERT_EQ(v, 0);
}

}  // namespace
}  // namespace vellum

namespace vellum {
namespace {

TEST_F(SoundTest, AVoiceOnChannel20DucksMusicAndItComesBack) {
  // The fades run on the hand clock: a worker steps them every 10 ms and finds them where the
  // clock says. Music on channel 1 through sd (volume 2 = BgmMax 30), then a voice on channel 20.
  useHandClock();
  runScript("setBgmVolume 100\nsd 1, \"count.wav\", 0, 0, 100, 0, 0, 0\n");
  const auto volume2 = [] {
    auto stream = soundState().channels[1].stream;
    std::lock_guard lock(stream->mutex);
    return stream->volume2Fade.duration ? stream->volume2Fade.current : stream->volume2;
  };
  const auto fadingTo = [](int32_t target) {
    auto stream = soundState().channels[1].stream;
    std::lock_guard lock(stream->mutex);
    return stream->volume2Fade.duration != 0 && stream->volume2Fade.target == target;
  };
  EXPECT_EQ(volume2(), 30);
  // Down to 15 over 250 ms while the voice plays.
  addScript("script/0.txt", "sd_load 20, \"count.wav\"\nsd_play 20, 0, 100, 0, 0, 0\n", 0);
  run();
  ASSERT_TRUE(test::waitUntil([&] { return fadingTo(15); }));
  handClock += 125;
  ASSERT_TRUE(test::waitUntil([&] { return volume2() < 29; }));
  EXPECT_NEAR(volume2(), 22.5, 0.01);
  handClock += 115;
  ASSERT_TRUE(test::waitUntil([&] { return volume2() < 16; }));
  EXPECT_NEAR(volume2(), 15.6, 0.01);
  handClock += 20;
  ASSERT_TRUE(test::waitUntil([&] { return !fadingTo(15); }));
  EXPECT_EQ(volume2(), 15);
  // Back up four times slower when it stops: 1000 ms.
  addScript("script/0.txt", "sd_stop 20, 0, 0\n", 0);
  run();
  ASSERT_TRUE(test::waitUntil([&] { return fadingTo(30); }));
  handClock += 500;
  ASSERT_TRUE(test::waitUntil([&] { return volume2() > 16; }));
  EXPECT_NEAR(volume2(), 22.5, 0.01);
  handClock += 490;
  ASSERT_TRUE(test::waitUntil([&] { return volume2() > 29; }));
  EXPECT_NEAR(volume2(), 29.85, 0.01);
  handClock += 20;
  ASSERT_TRUE(test::waitUntil([&] { return !fadingTo(30); }));
  EXPECT_EQ(volume2(), 30);
}

}  // namespace
}  // namespace vellum

namespace vellum {
namespace {

TEST_F(SoundTest, DelayedStartsAndStopsWaitForTheirTime) {
  useHandClock();
  runScript("sd 20, \"count.wav\", 0, 100, 100, 0, 0, 0\nsd 21, \"missing.wav\", 0, 50, 100, 0, 0, 0\n");
  EXPECT_TRUE(delayedSoundPending(20));
  EXPECT_EQ(channelState(20), kStateStopped);
  handClock += 49;
  processDelayedSounds(tickMilliseconds());
  EXPECT_TRUE(delayedSoundPending(20));
  EXPECT_TRUE(delayedSoundPending(21));
  handClock += 51;
  reports.clear();
  processDelayedSounds(tickMilliseconds());
  EXPECT_FALSE(delayedSoundPending(20));
  EXPECT_EQ(channelState(20), kStatePlaying);
  // The start that cannot load is reported once and dropped.
  EXPECT_FALSE(delayedSoundPending(21));
  const size_t reported = reports.boxes.size();
  EXPECT_GT(reported, 0u);
  processDelayedSounds(tickMilliseconds());
  EXPECT_EQ(reports.boxes.size(), reported);
  // A delayed stop.
  addScript("script/0.txt", "sd_stop 20, 0, 50\n", 0);
  run();
  EXPECT_TRUE(delayedSoundPending(20));
  handClock += 49;
  processDelayedSounds(tickMilliseconds());
  EXPECT_TRUE(delayedSoundPending(20));
  handClock += 1;
  processDelayedSounds(tickMilliseconds());
  EXPECT_EQ(channelState(20), kStateStopped);
  EXPECT_EQ(channelFileName(20), "");
}

}  // namespace
}  // namespace vellum

#include <vellum/exports.h>

namespace vellum {
namespace {

TEST_F(SoundTest, PluginsReachTheSettingsAndTheChannels) {
  int* volume = nullptr;
  int* flag = nullptr;
  getSoundBgm(&volume, &flag);
  EXPECT_EQ(volume, &settings().volume(VolumeCategory::Bgm).volume);
  EXPECT_EQ(flag, &settings().volume(VolumeCategory::Bgm).mute);
  getVolumeMute(0, &volume, &flag);
  EXPECT_EQ(volume, &settings().streamBufferSize);
  getVolumeMute(7, &volume, &flag);
  EXPECT_EQ(volume, &settings().volume(VolumeCategory::SysVo).volume);
  int* untouched = nullptr;
  getVolumeMute(8, &untouched, &untouched);
  EXPECT_EQ(untouched, nullptr);

  runScript("");
  EXPECT_EQ(sd(20, "missing.wav", 0, 0, 100, 0, 1, 0), -1);
  EXPECT_EQ(sd(20, "count.wav", 0, 0, 100, 0, 1, 0), 0);
  EXPECT_EQ(sd_status(20), kStatePlaying);
  EXPECT_EQ(sd_stop(20, 0, 0), 0);
  EXPECT_EQ(sd_status(20), kStateStopped);
  EXPECT_EQ(sd_status(99), kStateStopped);
}

}  // namespace
}  // namespace vellum
