// sp_ani with frame files: an MJPEG AVI made with ffmpeg, and the MJPG container built here from
// PNG frames; frames shown on time in each worker variant, passes, and bad files.
#include <gtest/gtest.h>

#include <fstream>

#include "base/clock.h"
#include "script/command_registry.h"
#include "image/image_io.h"
#include "movie/frame_sequences.h"
#include "movie/movie_test_files.h"
#include "movie/sequence_clock_fixture.h"
#include "scene/frame_sequence_slot.h"
#include "scene/sprite_fixture.h"
#include "script/control_flow.h"
#include "support/fake_clock.h"
#include "support/param_names.h"
#include "support/wait_until.h"

namespace vellum::test {
namespace {

class FrameSequenceTest : public SequenceClockTest {
 protected:
  void SetUp() override {
    SequenceClockTest::SetUp();
    if (IsSkipped()) return;
    registerAllCommands();
  }

  // x.avi: ten 32x24 MJPEG frames in one second, frame i grey 16 + 20 i in video range, which
  // the full-range JPEG frames show as aviGrey(i).
  bool makeAvi() {
    const std::string command =
        "ffmpeg -y -loglevel error -f lavfi -i 'color=c=black:s=32x24:r=10:d=1' -vf \"geq=lum='16+N*20':cb=128:cr=128\" "
        "-c:v mjpeg -pix_fmt yuvj420p -q:v 2 '" + (game / "x.avi").string() + "'";
    return haveFfmpeg() && std::system(command.c_str()) == 0;
  }

  static int aviGrey(int frame) { return (20 * frame * 255 + 109) / 219; }
  static void word(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
  }
  static std::string pngOf(uint32_t argb) {
    Image* image = createImage(8, 8, 32);
    for (int i = 0; i < image->pixelCount; ++i) image->pixels[i] = argb;
    SaveRequest request;
    request.format = SaveFormat::Png;
    request.option1 = 32;
    std::vector<uint8_t> bytes;
    encodeImage(image, request, "frame", bytes);
    freeImage(image);
    return std::string(bytes.begin(), bytes.end());
  }
  // An MJPG container of 8x8 PNG frames: red, green, a repeat of green, then blue.
  void writeContainer(const std::string& name, uint32_t durationMs, const std::string& tagAfterFirst = "00dc") {
    std::string out = "MJPG";
    for (int i = 1; i < 5; ++i) word(out, 0);
    word(out, durationMs);
    word(out, 4);
    word(out, 8);
    word(out, 8);
    word(out, 0);
    word(out, 0);
    const std::string frames[] = {pngOf(0xFFFF0000u), pngOf(0xFF00FF00u), "", pngOf(0xFF0000FFu)};
    for (size_t i = 0; i < 4; ++i) {
      out += i == 1 ? tagAfterFirst : "00dc";
      word(out, static_cast<uint32_t>(frames[i].size()));
      out += frames[i];
    }
    out += "EOF ";
    word(out, 0);
    std::ofstream(game / name, std::ios::binary) << out;
  }

  uint32_t shownColour() {
    updateFrameSequences();
    script("draw\n");
    return capture().at(2, 2);  // the sprite is centred on the corner
  }
  // Whether the screen comes to show the colour (the workers may need a moment to deliver it).
  bool comesToShow(uint32_t colour, uint32_t& shown) {
    return waitUntil([&] { return (shown = shownColour()) == colour; });
  }
};

class AviVariants : public FrameSequenceTest, public ::testing::WithParamInterface<int> {};

TEST_P(AviVariants, ShowEachFrameOnTimeAndEndAfterTheirPass) {
  if (!makeAvi()) GTEST_SKIP() << "ffmpeg is not installed";
  useFakeClock();
  const uint32_t start = fakeNow;
  script("sp_ani 1, \"x.avi\", 0, 1, " + std::to_string(GetParam()) + ", 0, 0\n");
  ASSERT_NE(movieState(1), 0) << (reports.boxes.empty() ? "" : reports.boxes[0]);
  ASSERT_TRUE(reports.boxes.empty()) << reports.boxes[0];
  // The clock stands still at each time: the frame due then shows, and no later one.
  for (uint32_t at : {250u, 550u, 850u}) {
    fakeNow = start + at;
    const int due = static_cast<int>(at / 100);
    int grey = -1;
    EXPECT_TRUE(waitUntil([&] {
      grey = static_cast<int>(shownColour() & 0xFF);
      return std::abs(grey - aviGrey(due)) <= 6;  // the neighbours are 23 apart
    })) << "at " << at << " ms, variant " << GetParam() << ": grey " << grey;
  }
  fakeNow = start + 1150;
  shownColour();
  script("draw\n");
  EXPECT_FALSE(sprite(1).inUse());  // one pass, then the sprite goes
}

INSTANTIATE_TEST_SUITE_P(Workers, AviVariants, ::testing::Values(0, 1, 2),
                         test::namedBy([](int variant) { return "variant " + std::to_string(variant); }));

TEST_F(FrameSequenceTest, TheContainerRepeatsFramesAndLoopsWithoutEnd) {
  writeContainer("c.mjpg", 400);
  useFakeClock();
  const uint32_t start = fakeNow;
  script("sp_ani 2, \"c.mjpg\", 0, 0, 0, 0, 0\n");
  ASSERT_TRUE(reports.boxes.empty()) << reports.boxes[0];
  const uint32_t expected[] = {0xFF0000u, 0x00FF00u, 0x00FF00u, 0x0000FFu};
  for (uint32_t at : {50u, 150u, 250u, 350u, 450u}) {
    fakeNow = start + at;
    uint32_t shown = 0;
    EXPECT_TRUE(comesToShow(expected[(at % 400) / 100], shown)) << std::hex << shown << " at " << std::dec << at;
  }
  EXPECT_TRUE(sprite(2).inUse());  // pass count 0: it goes on
}

// A frame file asked for while fast-forwarding shows its placeholder until the fast-forward ends,
// then plays at once, its delay no longer waited for.
TEST_F(FrameSequenceTest, AFrameFileAskedForWhileFastForwardingPlaysWhenItEnds) {
  writeContainer("c.mjpg", 400);
  useFakeClock();
  script("setJump\nsp_ani 2, \"c.mjpg\", 0, 0, 0, 0, 100000\n");
  ASSERT_TRUE(reports.boxes.empty()) << reports.boxes[0];
  EXPECT_TRUE(sprite(2).inUse());
  EXPECT_FALSE(hasFrameSequence(2));
  EXPECT_EQ(shownColour(), 0x000000u);  // the placeholder
  endFastForward();
  ASSERT_TRUE(hasFrameSequence(2));
  fakeNow += 50;
  uint32_t shown = 0;
  EXPECT_TRUE(comesToShow(0xFF0000u, shown)) << std::hex << shown;
}

struct BadFrames {
  const char* name;
  const char* says;
};

class FrameSequenceBadInput : public FrameSequenceTest, public ::testing::WithParamInterface<BadFrames> {};

TEST_P(FrameSequenceBadInput, IsReported) {
  const std::string name = GetParam().name;
  if (name == "bad_tag") writeContainer("f.mjpg", 400, "junk");
  if (name == "bad_frame") {
    writeContainer("f.mjpg", 400);
    std::fstream f(game / "f.mjpg", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(52);
    f.write("XXXX", 4);  // the first frame's PNG signature
  }
  if (name == "avi_codec") {
    std::string avi = "RIFF";
    avi.resize(200, '\0');
    avi.replace(112, 4, "XVID");
    std::ofstream(game / "f.mjpg", std::ios::binary) << avi;
  }
  script("sp_ani 3, \"f.mjpg\", 0, 1, 0, 0, 0\n");
  // Some faults show only when the worker reaches the frame; the frame update passes them on.
  EXPECT_TRUE(waitUntil([&] {
    updateFrameSequences();
    return reports.anyBoxContains(GetParam().says);
  })) << (reports.boxes.empty() ? "no report" : reports.boxes.back());
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrameSequenceBadInput,
    ::testing::Values(BadFrames{"bad_tag", " CHUNK READ ERROR 3 6B6E756A"}, BadFrames{"bad_frame", "bufferThread0 loadJpegImage"},
                      BadFrames{"avi_codec", "AVI\xd0\xce\xca\xbd\xb2\xbb\xd5\xfd\xc8\xb7 44495658"}),
    [](const ::testing::TestParamInfo<BadFrames>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum::test
