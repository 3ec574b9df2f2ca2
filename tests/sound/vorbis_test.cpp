// Ogg Vorbis sources: the loop comment, the engine's memory reader, and files made with oggenc
// played through the channels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <chrono>
#include <fstream>
#include <thread>

#include "script/command_registry.h"
#include "platform/audio_device.h"
#include "sound/loop_comment.h"
#include "sound/sound_channel.h"
#include "sound/sound_messages.h"
#include "sound/sound_system.h"
#include "sound/vorbis_source.h"
#include "sound/wav_files.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

TEST(LoopComment, ReadsTheFirstCommentOnly) {
  const struct {
    std::vector<std::string_view> comments;
    LoopCommentResult result;
    int64_t start, loopStart, loopEnd;
  } cases[] = {
      {{"COMMENT=setTime 0,5000,60000"}, LoopCommentResult::Found, 0, 220500, 2646000},
      {{"TITLE=x", "COMMENT= setSample 10 , 20 ,30 \n"}, LoopCommentResult::Found, 10, 20, 30},
      {{"COMMENT=setSample 1,2"}, LoopCommentResult::WrongCount, 0, 0, 0},
      {{"COMMENT=setSample 1,'2,3',4,5"}, LoopCommentResult::WrongCount, 0, 0, 0},
      {{"COMMENT=setSample 1,\"2,3\",4"}, LoopCommentResult::Found, 1, 0, 4},  // a quoted item reads as 0
      {{"COMMENT=other 1,2,3"}, LoopCommentResult::None, 0, 0, 0},
      {{"COMMENT"}, LoopCommentResult::None, 0, 0, 0},
      {{"COMMENT=hello", "COMMENT=setSample 1,2,3"}, LoopCommentResult::None, 0, 0, 0},
      {{"COMMENT=setTime 99999999999999999999,0,0"}, LoopCommentResult::Found, INT64_MAX / 384000 * 44100 / 1000, 0, 0},
  };
  for (const auto& c : cases) {
    LoopPoints points;
    EXPECT_EQ(parseLoopComment(c.comments, 44100, points), c.result) << c.comments.back();
    if (c.result != LoopCommentResult::Found) continue;
    EXPECT_EQ(points.start, c.start) << c.comments.back();
    EXPECT_EQ(points.loopStart, c.loopStart) << c.comments.back();
    EXPECT_EQ(points.loopEnd, c.loopEnd) << c.comments.back();
  }
}

TEST(MemoryReaderCallbacks, StayInsideTheData) {
  const uint8_t bytes[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  MemoryReader reader{bytes, sizeof bytes, 0};
  uint8_t into[16] = {};
  EXPECT_EQ(memoryRead(into, 4, 2, &reader), 2u);
  EXPECT_EQ(memoryRead(into, 4, 2, &reader), 0u);  // 2 bytes left: no whole element
  EXPECT_EQ(memoryRead(into, 0, 5, &reader), 0u);
  EXPECT_EQ(memoryRead(into, 1, 5, nullptr), 0u);
  EXPECT_EQ(memorySeek(&reader, 20, SEEK_SET), -1);
  EXPECT_EQ(memoryTell(&reader), 10);
  EXPECT_EQ(memorySeek(&reader, -30, SEEK_END), -1);
  EXPECT_EQ(memoryTell(&reader), 0);
  EXPECT_EQ(memorySeek(&reader, -3, SEEK_END), 0);
  EXPECT_EQ(memoryTell(&reader), 7);
  EXPECT_EQ(memorySeek(&reader, 1, 7), -1);
  EXPECT_EQ(memorySeek(nullptr, 0, SEEK_SET), -1);
  EXPECT_EQ(memoryTell(nullptr), -1);
  EXPECT_EQ(memoryClose(&reader), 0);
  EXPECT_EQ(memoryClose(nullptr), -1);
  EXPECT_EQ(memoryRead(into, 1, 16, &reader), 3u);
  EXPECT_EQ(into[0], 8);
}

class VorbisTest : public test::EngineTest {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EngineTest::SetUp();
    registerAllCommands();
    if (std::system("command -v oggenc >/dev/null 2>&1") != 0) GTEST_SKIP() << "oggenc is not installed";
    std::string error;
    ASSERT_TRUE(setAudioRecordingPath((game / "mix.wav").string(), error)) << error;
  }
  void TearDown() override {
    shutdownSound();
    std::string error;
    setAudioRecordingPath("", error);
    EngineTest::TearDown();
  }
  // The device plays in real time, and a busy machine may hold it back: the wait is long and bounded.
  static void waitUntilStopped(int channel) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (channelState(channel) != kStateStopped && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // One second of 441 Hz at half scale, mono 44100 Hz, encoded with `comment`.
  void makeOgg(const std::string& name, const std::string& comment) {
    std::vector<int16_t> sine;
    for (int i = 0; i < 44100; ++i) sine.push_back(static_cast<int16_t>(16000 * std::sin(2 * M_PI * 441 * i / 44100.0)));
    std::ofstream(game / "sine.wav", std::ios::binary) << test::makeWav(sine, 1, 44100);
    const std::string command = "oggenc -Q -c '" + comment + "' -o '" + (game / name).string() + "' '" +
                                (game / "sine.wav").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
};

TEST_F(VorbisTest, DecodesToTheLengthWithItsLoopCommentAndIsHeardAtPitchAndLevel) {
  makeOgg("a.ogg", "COMMENT=setSample 0,11025,33075");
  addScript("script/0.txt",
            "setMasterVolume 100\nsetVoVolume 100\nsd_create\nsd_load 20, \"a.ogg\"\nsd_play 20, 0, 100, 0, 1, 0\n", 0);
  run();
  EXPECT_TRUE(reports.boxes.empty());
  EXPECT_EQ(channelTotalSamples(20), 44100);
  {
    auto stream = soundState().channels[20].stream;
    ASSERT_TRUE(stream);
    std::lock_guard lock(stream->mutex);
    EXPECT_EQ(stream->loopStart, 11025);
    EXPECT_EQ(stream->loopEnd, 33075);
  }
  waitUntilStopped(20);
  EXPECT_EQ(channelState(20), kStateStopped);
  shutdownSound();
  const test::ToneHeard tone = test::measureLeftTone(test::readWav(game / "mix.wav").samples);
  EXPECT_NEAR(tone.crossings, 882, 10);
  EXPECT_NEAR(tone.peak, 16000, 800);
}

TEST_F(VorbisTest, BadStreamsAndBadCommentsAreReported) {
  makeOgg("count.ogg", "COMMENT=setSample 1,2");
  std::ifstream in(game / "count.ogg", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(game / "cut.ogg", std::ios::binary) << bytes.substr(0, 60);
  addScript("script/0.txt", "sd_create\nsd_load 20, \"count.ogg\"\nsd_load 21, \"cut.ogg\"\n", 0);
  run();
  EXPECT_TRUE(reports.anyBoxContains(sound_messages::kLoopCommentCount));
  EXPECT_EQ(channelTotalSamples(20), 44100);  // played without a loop comment
  EXPECT_TRUE(reports.anyBoxContains(sound_messages::kOpenFailed));
  EXPECT_EQ(channelFileName(21), "");
}

TEST_F(VorbisTest, OpusPlaysAtItsOwnRateWithTheSameLoopComment) {
  if (std::system("command -v opusenc >/dev/null 2>&1") != 0) GTEST_SKIP() << "opusenc is not installed";
  makeOgg("a.ogg", "x=y");  // writes sine.wav
  const std::string command = "opusenc --quiet --comment 'COMMENT=setTime 0,250,750' '" + (game / "sine.wav").string() +
                              "' '" + (game / "a.opus").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  addScript("script/0.txt",
            "setMasterVolume 100\nsetVoVolume 100\nsd_create\nsd_load 20, \"a.opus\"\nsd_play 20, 0, 100, 0, 1, 0\n", 0);
  run();
  EXPECT_TRUE(reports.boxes.empty());
  EXPECT_EQ(channelTotalSamples(20), 48000);  // one second at the decoder's 48 kHz
  {
    auto stream = soundState().channels[20].stream;
    ASSERT_TRUE(stream);
    std::lock_guard lock(stream->mutex);
    EXPECT_EQ(stream->loopStart, 12000);
    EXPECT_EQ(stream->loopEnd, 36000);
  }
  waitUntilStopped(20);
  shutdownSound();
  const test::ToneHeard tone = test::measureLeftTone(test::readWav(game / "mix.wav").samples);
  EXPECT_NEAR(tone.crossings, 882, 12);
  EXPECT_NEAR(tone.peak, 16000, 1000);
}

}  // namespace
}  // namespace vellum
