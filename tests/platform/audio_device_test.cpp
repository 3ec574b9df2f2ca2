// The sound device under SDL's dummy driver: what secondary buffers play is what the recording of
// the mix holds, sample for sample at the mixer's own rate, and resampled at other rates.
#include "platform/audio_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "sound/wav_files.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace vellum {
namespace {

using test::findFrame;
using test::readWav;

class AudioDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    ASSERT_TRUE(setAudioRecordingPath((folder / "mix.wav").string(), error)) << error;
    ASSERT_TRUE(openAudioDevice(error)) << error;
  }
  void TearDown() override {
    closeAudioDevice();
    std::string error;
    setAudioRecordingPath("", error);
  }
  // A stereo buffer whose frame i holds (i + 1, -(i + 1)).
  std::shared_ptr<AudioBuffer> countingBuffer(uint32_t frames) {
    std::string error;
    auto buffer = createAudioBuffer(AudioFormat{2, 44100}, frames * 4, error);
    EXPECT_TRUE(buffer) << error;
    uint8_t *first, *second;
    uint32_t firstBytes, secondBytes;
    EXPECT_TRUE(buffer->lock(0, frames * 4, first, firstBytes, second, secondBytes));
    EXPECT_EQ(firstBytes, frames * 4);
    EXPECT_EQ(second, nullptr);
    auto* samples = reinterpret_cast<int16_t*>(first);
    for (uint32_t i = 0; i < frames; ++i) {
      samples[2 * i] = static_cast<int16_t>(i + 1);
      samples[2 * i + 1] = static_cast<int16_t>(-static_cast<int>(i + 1));
    }
    buffer->unlock();
    return buffer;
  }
  test::WavData stopAndRead() {
    closeAudioDevice();
    return readWav(folder / "mix.wav");
  }
  // Until the device has mixed `frames` more frames.
  static bool waitForMixed(uint64_t frames) {
    const uint64_t target = audioFramesMixed() + frames;
    return test::waitUntil([target] { return audioFramesMixed() >= target; });
  }

  test::TempFolder folder;
};

TEST_F(AudioDeviceTest, OneShotIsRecordedSampleForSampleThenSilence) {
  auto buffer = countingBuffer(4410);
  buffer->play(false);
  ASSERT_TRUE(test::waitUntil([&] { return !buffer->playing(); }));
  ASSERT_TRUE(waitForMixed(882));
  const test::WavData wav = stopAndRead();
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.formatTag, 1);
  EXPECT_EQ(wav.channels, 2);
  EXPECT_EQ(wav.sampleRate, 44100);
  EXPECT_EQ(wav.bitsPerSample, 16);
  EXPECT_EQ(wav.declaredDataBytes, wav.samples.size() * 2);
  const long start = findFrame(wav.samples, 1);
  ASSERT_GE(start, 0);
  for (long i = 0; i < 4410; ++i) {
    ASSERT_EQ(wav.samples[static_cast<size_t>(2 * (start + i))], i + 1) << "frame " << i;
    ASSERT_EQ(wav.samples[static_cast<size_t>(2 * (start + i) + 1)], -(i + 1)) << "frame " << i;
  }
  for (size_t i = static_cast<size_t>(2 * (start + 4410)); i < wav.samples.size(); ++i) ASSERT_EQ(wav.samples[i], 0);
}

TEST_F(AudioDeviceTest, LoopingWrapsWithoutAGapAndTheCursorMovesWithTheClock) {
  auto buffer = countingBuffer(2205);
  buffer->play(true);
  const uint32_t before = buffer->currentPosition();
  EXPECT_TRUE(test::waitUntil([&] { return buffer->currentPosition() != before; }));
  ASSERT_TRUE(waitForMixed(6 * 2205));
  EXPECT_TRUE(buffer->playing());
  buffer->stop();
  const test::WavData wav = stopAndRead();
  const long start = findFrame(wav.samples, 1);
  ASSERT_GE(start, 0);
  int wraps = 0;
  for (long i = start + 1; 2 * i + 1 < static_cast<long>(wav.samples.size()); ++i) {
    const int16_t previous = wav.samples[static_cast<size_t>(2 * (i - 1))];
    const int16_t now = wav.samples[static_cast<size_t>(2 * i)];
    if (now == 0) break;  // stopped
    if (previous == 2205) {
      ASSERT_EQ(now, 1) << "frame " << i;
      ++wraps;
    } else {
      ASSERT_EQ(now, previous + 1) << "frame " << i;
    }
  }
  EXPECT_GE(wraps, 4);
}

TEST_F(AudioDeviceTest, VolumeAndPanScaleTheChannels) {
  struct Case {
    int32_t volume, pan;
    double left, right;
  } cases[] = {
      {0, 0, 1.0, 1.0},           {-600, 0, 0.501, 0.501}, {kAudioSilence, 0, 0.0, 0.0},
      {0, kAudioPanRight, 0.0, 1.0}, {0, -602, 1.0, 0.5},     {0, 602, 0.5, 1.0},
  };
  for (const Case& c : cases) {
    SetUp();
    std::string error;
    auto buffer = createAudioBuffer(AudioFormat{1, 44100}, 44100 * 2 / 10, error);
    ASSERT_TRUE(buffer) << error;
    uint8_t *first, *second;
    uint32_t firstBytes, secondBytes;
    ASSERT_TRUE(buffer->lock(0, buffer->size(), first, firstBytes, second, secondBytes));
    auto* samples = reinterpret_cast<int16_t*>(first);
    for (uint32_t i = 0; i < firstBytes / 2; ++i) samples[i] = 20000;
    buffer->unlock();
    buffer->setVolume(c.volume);
    buffer->setPan(c.pan);
    buffer->play(false);
    ASSERT_TRUE(test::waitUntil([&] { return !buffer->playing(); }));
    const test::WavData wav = stopAndRead();
    int16_t left = 0, right = 0;
    for (size_t i = 0; i + 1 < wav.samples.size(); i += 2) {
      left = std::max(left, wav.samples[i]);
      right = std::max(right, wav.samples[i + 1]);
    }
    EXPECT_NEAR(left, 20000 * c.left, 30) << c.volume << " " << c.pan;
    EXPECT_NEAR(right, 20000 * c.right, 30) << c.volume << " " << c.pan;
    TearDown();
  }
}

TEST_F(AudioDeviceTest, OtherRatesAreResampledToThePitch) {
  // 441 Hz at 22050 Hz mono must still be 441 Hz in the 44100 Hz mix: 882 zero crossings a second.
  std::string error;
  auto buffer = createAudioBuffer(AudioFormat{1, 22050}, 22050 * 2, error);
  ASSERT_TRUE(buffer) << error;
  uint8_t *first, *second;
  uint32_t firstBytes, secondBytes;
  ASSERT_TRUE(buffer->lock(0, buffer->size(), first, firstBytes, second, secondBytes));
  auto* samples = reinterpret_cast<int16_t*>(first);
  for (uint32_t i = 0; i < 22050; ++i) samples[i] = static_cast<int16_t>(10000 * std::sin(2 * M_PI * 441 * i / 22050.0));
  buffer->unlock();
  buffer->play(false);
  // Until the one-shot has been consumed, then 100 ms more for the converter's last frames.
  ASSERT_TRUE(test::waitUntil([&] { return !buffer->playing(); }));
  ASSERT_TRUE(waitForMixed(4410));
  const test::WavData wav = stopAndRead();
  // Sign changes counted with a little hysteresis: the band-limited edges of the tone ring for a
  // few samples at a level far below it.
  int crossings = 0, peak = 0, sign = 0;
  for (size_t i = 0; i < wav.samples.size(); i += 2) {
    const int v = wav.samples[i];
    const int now = v >= 100 ? 1 : v <= -100 ? -1 : 0;
    if (now != 0 && sign != 0 && now != sign) ++crossings;
    if (now != 0) sign = now;
    peak = std::max(peak, v);
  }
  EXPECT_NEAR(crossings, 882, 6);
  EXPECT_NEAR(peak, 10000, 150);
}

TEST(AudioDeviceClosedTest, BuffersNeedAnOpenDevice) {
  closeAudioDevice();
  std::string error;
  EXPECT_FALSE(createAudioBuffer(AudioFormat{2, 44100}, 4096, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vellum
