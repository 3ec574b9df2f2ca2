// What the channels keep and take over beyond playing: preloaded files handed over once, the
// settings re-applied after they are read, an endless `sd` met while fast-forwarding, a sound track
// cut out of a larger file, the buffer placement settings and the device error names.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "script/command_registry.h"
#include "persist/engine_settings.h"
#include "platform/audio_device.h"
#include "script/script_state.h"
#include "sound/sound_channel.h"
#include "sound/sound_device_errors.h"
#include "sound/sound_loading.h"
#include "sound/sound_messages.h"
#include "sound/sound_preload.h"
#include "sound/sound_system.h"
#include "sound/wav_files.h"
#include "support/engine_fixture.h"
#include "support/wait_until.h"
#include <vellum/exports.h>

namespace vellum {
namespace {

std::string rampWav(int frames, int16_t first = 1) {
  std::vector<int16_t> samples;
  for (int k = 0; k < frames; ++k) samples.push_back(static_cast<int16_t>(first + k));
  return test::makeWav(samples, 1, 44100);
}

class SoundStateTest : public test::EngineTest {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EngineTest::SetUp();
    registerAllCommands();
    game.write("ramp.wav", rampWav(20000));
    std::string error;
    ASSERT_TRUE(setAudioRecordingPath((game / "mix.wav").string(), error)) << error;
  }
  void TearDown() override {
    shutdownSound();
    setAudioAppFocus(true);
    std::string error;
    setAudioRecordingPath("", error);
    EngineTest::TearDown();
  }
  void runScript(const std::string& lines) {
    addScript("script/0.txt", lines, 0);
    run();
  }
  int32_t volume2Of(int channel) {
    auto stream = soundState().channels[channel].stream;
    if (!stream) return -1;
    std::lock_guard lock(stream->mutex);
    return stream->volume2;
  }
};

TEST_F(SoundStateTest, PreloadedFileIsHandedOverOnce) {
  runScript("sd_create\n");
  ASSERT_TRUE(preloadSound("ramp.wav"));
  EXPECT_EQ(preloadedSoundCount(), 1u);
  std::filesystem::remove(game / "ramp.wav");  // only the preloaded bytes are left
  runScript("sd_load 3, \"ramp.wav\"\n");
  EXPECT_EQ(channelTotalSamples(3), 20000);
  EXPECT_EQ(preloadedSoundCount(), 0u);
  EXPECT_EQ(preloadedSoundBytes(), 0u);
  runScript("sd_load 4, \"ramp.wav\"\n");  // handed over already: read again, and it is gone
  EXPECT_EQ(channelTotalSamples(4), 0);
  EXPECT_FALSE(reports.boxes.empty());
}

TEST_F(SoundStateTest, PreloadCacheIsBoundedAndDroppedWhenNoChannelCanTakeIt) {
  for (size_t i = 0; i < kPreloadMaxEntries + 4; ++i) {
    const std::string name = "v" + std::to_string(i) + ".wav";
    game.write(name, rampWav(100));
    ASSERT_TRUE(preloadSound(name));
  }
  EXPECT_EQ(preloadedSoundCount(), kPreloadMaxEntries);
  // The oldest made room: v0 is read from the file again, v19 comes from the cache.
  EXPECT_FALSE(takePreloadedSound(crc64_hash("v0.wav")).has_value());
  EXPECT_TRUE(takePreloadedSound(crc64_hash("v19.wav")).has_value());
  // Loading before sd_create fails, and the preloaded copy does not stay behind.
  ASSERT_TRUE(preloadSound("ramp.wav"));
  const size_t before = preloadedSoundCount();
  runScript("sd_load 3, \"ramp.wav\"\n");
  EXPECT_EQ(preloadedSoundCount(), before - 1);
  EXPECT_EQ(channelTotalSamples(3), 0);
  EXPECT_FALSE(preloadSound("missing.wav"));
}

TEST_F(SoundStateTest, ReadingTheSettingsPutsMusicAndEffectsBackAtTheirNormalLevel) {
  std::ofstream(game / "save.dat");  // the saves stay in the game folder
  runScript("sd_create\nsd_load 1, \"ramp.wav\"\nsd_load 5, \"ramp.wav\"\nsd_load 20, \"ramp.wav\"\n"
            "sd_volume2 1, 7, 0\nsd_volume2 5, 8, 0\nsd_volume2 20, 9, 0\nsetBgmVolume 50\n");
  // A volume setter re-applies the gain only.
  EXPECT_EQ(volume2Of(1), 7);
  runScript("loadSetting \"/Co/\", \"Game/\"\n");
  EXPECT_EQ(volume2Of(1), settings().bgmMax);
  EXPECT_EQ(volume2Of(5), settings().seMax);
  EXPECT_EQ(volume2Of(20), 9);  // voices keep theirs
}

TEST_F(SoundStateTest, EndlessSoundMetWhileFastForwardingIsKeptForTheSave) {
  runScript("sd_create\nsd 2, \"ramp.wav\", 0, 0, 100, 0, 0, 0\n");
  ASSERT_EQ(channelState(2), kStatePlaying);
  scriptState().fastForwardMode = 1;
  runScript("sd 2, \"ramp.wav\", 500, 0, 70, -20, 0, 0\nsd_volume 2, 40, 0\nsd_panpot 2, 30, 0\n"
            "sd 3, \"ramp.wav\", 0, 0, 70, 0, 1, 0\n");
  scriptState().fastForwardMode = 0;
  // Stopped at once, nothing loaded, but the endless one is remembered with its latest values.
  EXPECT_EQ(channelState(2), kStateStopped);
  EXPECT_EQ(soundState().channels[2].stream, nullptr);
  const ChannelSnapshot kept = channelSnapshot(2);
  EXPECT_EQ(kept.fileName, "ramp.wav");
  EXPECT_EQ(kept.loopsRemaining, -1);
  EXPECT_EQ(kept.volume, 40);
  EXPECT_EQ(kept.pan, 30);
  EXPECT_EQ(channelSnapshot(3).fileName, "");  // loops 1: nothing to keep
  // The next load or stop of the channel forgets it.
  runScript("sd_stop 2, 0, 0\n");
  EXPECT_EQ(channelSnapshot(2).fileName, "");
}

TEST_F(SoundStateTest, SnapshotOfAPlayingChannel) {
  runScript("sd_create\nsd 3, \"ramp.wav\", 0, 0, 60, 25, 0, 0\n");
  const ChannelSnapshot now = channelSnapshot(3);
  EXPECT_EQ(now.fileName, "ramp.wav");
  EXPECT_EQ(now.loopsRemaining, -1);
  EXPECT_EQ(now.volume, 60);
  EXPECT_EQ(now.pan, 25);
}

TEST_F(SoundStateTest, SoundTrackIsCutFromTheLargerFile) {
  const std::string track = rampWav(3000, 100);
  const std::string head(44, 'H');
  game.write("movie.bin", head + track + std::string(500, 'T'));
  runScript("sd_create\n");
  ASSERT_TRUE(loadSoundTrack(0, "movie.bin", head.size(), track.size()));
  EXPECT_EQ(channelTotalSamples(0), 3000);
  EXPECT_EQ(channelFileName(0), "movie.bin");
  EXPECT_TRUE(reports.boxes.empty());
  // A range outside the file fails quietly (the movie says what it could not open)...
  EXPECT_FALSE(loadSoundTrack(0, "movie.bin", head.size(), track.size() + 501));
  EXPECT_FALSE(loadSoundTrack(0, "movie.bin", ~0ull, 2));
  EXPECT_TRUE(reports.boxes.empty());
  EXPECT_EQ(channelTotalSamples(0), 0);
  // ...bytes that are no sound are reported as such.
  EXPECT_FALSE(loadSoundTrack(0, "movie.bin", 0, 40));
  EXPECT_TRUE(reports.anyBoxContains(sound_messages::kUnsupportedFormat));
}

TEST_F(SoundStateTest, HardwareBuffersFallBackToSoftwareOnceForTheRestOfTheRun) {
  settings().hardwareSound = 1;
  runScript("sd_create\nsd_load 3, \"ramp.wav\"\nsd_load 4, \"ramp.wav\"\n");
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0], sound_messages::kHardwareBufferFailed);
  EXPECT_EQ(settings().hardwareSound, 0);
  EXPECT_EQ(channelTotalSamples(3), 20000);
  EXPECT_EQ(channelTotalSamples(4), 20000);
}

TEST_F(SoundStateTest, WithoutGlobalFocusABufferIsSilentWhileTheGameIsAway) {
  settings().globalFocus = 0;
  settings().volume(VolumeCategory::Master).volume = 100;
  settings().volume(VolumeCategory::Se).volume = 100;
  setAudioAppFocus(false);
  runScript("sd_create\nsd 3, \"ramp.wav\", 0, 0, 100, 0, 1, 0\n");
  // Away while the first 150 ms play, back for the rest (the device runs in real time, and a busy
  // machine may hold it back: the waits are for where the sound has got to, long and bounded).
  ASSERT_TRUE(test::waitUntil([] { return channelNowSample(3) >= 44100 * 15 / 100; }));
  setAudioAppFocus(true);
  ASSERT_TRUE(test::waitUntil([] { return channelNowSample(3) >= 20000; }));
  shutdownSound();
  const test::WavData wav = test::readWav(game / "mix.wav");
  ASSERT_TRUE(wav.valid);
  // Not heard from its start; heard once the focus came back, from where it had got to.
  EXPECT_EQ(test::findFrame(wav.samples, 1), -1);
  long first = -1;
  for (size_t i = 0; i < wav.samples.size(); i += 2)
    if (wav.samples[i] != 0) {
      first = static_cast<long>(i);
      break;
    }
  ASSERT_GE(first, 0) << "never heard";
  EXPECT_GT(wav.samples[static_cast<size_t>(first)], 44100 / 10);
}

TEST(SoundErrorNames, KnownCodesByNameOthersInHex) {
  struct Case {
    uint32_t code;
    const char* name;
  };
  for (const Case c : {Case{0, "DS_OK"}, Case{0x0878000A, "DS_NO_VIRTUALIZATION"}, Case{0x80004001, "DSERR_UNSUPPORTED"},
                       Case{0x80070057, "DSERR_INVALIDPARAM"}, Case{0x88780064, "DSERR_BADFORMAT"},
                       Case{0x88780078, "DSERR_NODRIVER"}, Case{0x88781161, "DSERR_OBJECTNOTFOUND"},
                       Case{0x887800DC, "DSERR_FXUNAVAILABLE"}})
    EXPECT_EQ(soundErrorName(c.code), c.name);
  EXPECT_EQ(soundErrorName(0x1234ABCD), "DSERR_NOTFAUND " + itos16(0x1234ABCD));
  EXPECT_EQ(soundErrorName(soundResultOf(AudioError::Unsupported)), "DSERR_UNSUPPORTED");
  EXPECT_EQ(soundErrorName(soundResultOf(AudioError::NotOpen)), "DSERR_UNINITIALIZED");
}

}  // namespace
}  // namespace vellum
