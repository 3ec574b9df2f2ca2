// .cur and .ani files read in memory, and the cursors made from them and from pictures.
#include <gtest/gtest.h>

#include <fstream>

#include "image/image_io.h"
#include "script/variables.h"
#include "shell/input/custom_cursor.h"
#include "shell/input/cursor_files.h"
#include "support/recorded_reports.h"
#include "cursor_file_builder.h"
#include "shell_test_support.h"
#include "support/param_names.h"

namespace vellum {
namespace {

using test::curFile;
using test::dibPicture;

std::vector<uint8_t> twoByTwo(uint32_t topLeft) {
  return dibPicture(2, 2, {topLeft, 0xFF00FF00, 0x800000FF, 0x00000000}, {false, false, false, true});
}

TEST(CursorFile, ThirtyTwoBitPictureKeepsItsAlphaAndHotSpot) {
  const auto file = curFile(2, 2, 1, 0, twoByTwo(0xFFFF0000));
  CursorFrame frame;
  std::string error;
  ASSERT_TRUE(parseCursorFile(file.data(), file.size(), frame, error)) << error;
  EXPECT_EQ(frame.width, 2);
  EXPECT_EQ(frame.height, 2);
  EXPECT_EQ(frame.hotX, 1);
  EXPECT_EQ(frame.hotY, 0);
  EXPECT_EQ(frame.pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0x800000FF, 0x00000000}));
}

TEST(CursorFile, PictureWithoutAlphaTakesTheMask) {
  const auto picture = dibPicture(2, 1, {0x00112233, 0x00445566}, {false, true}, 24);
  const auto file = curFile(2, 1, 0, 0, picture);
  CursorFrame frame;
  std::string error;
  ASSERT_TRUE(parseCursorFile(file.data(), file.size(), frame, error)) << error;
  EXPECT_EQ(frame.pixels, (std::vector<uint32_t>{0xFF112233, 0x00445566}));
}

TEST(CursorFile, EmbeddedPng) {
  Image* image = createImage(3, 2, 32);
  ASSERT_NE(image, nullptr);
  for (int i = 0; i < 6; ++i) image->pixels[i] = 0xFF000000u | static_cast<uint32_t>(i);
  std::vector<uint8_t> png;
  SaveRequest request;
  request.format = SaveFormat::Png;
  ASSERT_TRUE(encodeImage(image, request, "cursor", png));
  freeImage(image);
  const auto file = curFile(3, 2, 2, 1, png);
  CursorFrame frame;
  std::string error;
  ASSERT_TRUE(parseCursorFile(file.data(), file.size(), frame, error)) << error;
  EXPECT_EQ(frame.width, 3);
  EXPECT_EQ(frame.pixels[5], 0xFF000005u);
  EXPECT_EQ(frame.hotX, 2);
}

struct Damage {
  const char* name;
  size_t cut;     // keep this many bytes (0: all)
  size_t offset;  // overwrite 4 bytes here with 0xFF (0: none)
  const char* error;
};

class CursorFileDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(CursorFileDamage, IsRefusedWithAReason) {
  auto file = curFile(2, 2, 0, 0, twoByTwo(0xFFFFFFFF));
  if (GetParam().cut) file.resize(GetParam().cut);
  if (GetParam().offset)
    for (size_t i = 0; i < 4; ++i) file[GetParam().offset + i] = 0xFF;
  CursorFrame frame;
  std::string error;
  EXPECT_FALSE(parseCursorFile(file.data(), file.size(), frame, error)) << GetParam().name;
  EXPECT_EQ(error, GetParam().error) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CursorFileDamage,
    ::testing::Values(Damage{"empty", 3, 0, "not a cursor file"},
                      Damage{"directory cut", 10, 0, "the picture directory is cut short"},
                      Damage{"picture cut", 40, 0, "the picture lies outside the file"},
                      Damage{"offset past the end", 0, 18, "the picture lies outside the file"},
                      Damage{"huge width", 0, 26, "the bitmap size is out of range"},
                      Damage{"bad header size", 0, 22, "the bitmap header size is wrong"}),
    test::byCaseName);

TEST(AnimatedCursor, FramesFollowTheSequenceAndRates) {
  const auto a = curFile(2, 2, 0, 0, twoByTwo(0xFF0000AA));
  const auto b = curFile(2, 2, 1, 1, twoByTwo(0xFF0000BB));
  const auto file = test::aniFile({a, b}, 6, {6, 12, 30}, {0, 1, 0});
  CursorAnimation animation;
  std::string error;
  ASSERT_TRUE(parseAnimatedCursor(file.data(), file.size(), animation, error)) << error;
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(animation.frames[1].pixels[0], 0xFF0000BBu);
  EXPECT_EQ(animation.sequence, (std::vector<uint32_t>{0, 1, 0}));
  EXPECT_EQ(animation.durationsMs, (std::vector<uint32_t>{100, 200, 500}));
}

TEST(AnimatedCursor, WithoutSequenceTheFramesRunInOrderAtTheDefaultRate) {
  const auto a = curFile(2, 2, 0, 0, twoByTwo(0xFF0000AA));
  const auto file = test::aniFile({a, a}, 3, {}, {});
  CursorAnimation animation;
  std::string error;
  ASSERT_TRUE(parseAnimatedCursor(file.data(), file.size(), animation, error)) << error;
  EXPECT_EQ(animation.sequence, (std::vector<uint32_t>{0, 1}));
  EXPECT_EQ(animation.durationsMs, (std::vector<uint32_t>{50, 50}));
}

// The last frame of the list has an odd length and the list ends without its pad byte (the
// pad of the list itself follows): the frame is read and the walk stops at the list's end,
// whether the file ends there or another chunk follows.
TEST(AnimatedCursor, AnOddLastFrameWithoutItsPadByteEndsTheList) {
  auto odd = curFile(2, 2, 0, 0, twoByTwo(0xFF0000AA));
  odd.push_back(0);  // a byte the picture does not use
  ASSERT_EQ(odd.size() % 2, 1u);
  for (const bool chunkAfter : {true, false}) {
    SCOPED_TRACE(chunkAfter ? "a chunk after the list" : "the list at the end");
    auto file = test::aniFile({odd}, 3, {}, {});
    // Take the frame's pad byte out of the list: the list's length becomes odd.
    const size_t listLength = 4 + 8 + odd.size();
    const size_t list = file.size() - 1 - listLength - 8;
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(&file[list]), 4), "LIST");
    file.pop_back();
    for (size_t i = 0; i < 4; ++i) file[list + 4 + i] = static_cast<uint8_t>(listLength >> (8 * i));
    if (chunkAfter) {
      file.push_back(0);  // the list's own pad byte
      test::chunk(file, "icon", {});
    }
    for (size_t i = 0; i < 4; ++i) file[4 + i] = static_cast<uint8_t>((file.size() - 8) >> (8 * i));
    CursorAnimation animation;
    std::string error;
    ASSERT_TRUE(parseAnimatedCursor(file.data(), file.size(), animation, error)) << error;
    ASSERT_EQ(animation.frames.size(), 1u);
    EXPECT_EQ(animation.frames[0].pixels[0], 0xFF0000AAu);
  }
}

TEST(AnimatedCursor, DamagedFilesAreRefused) {
  const auto a = curFile(2, 2, 0, 0, twoByTwo(0xFF0000AA));
  CursorAnimation animation;
  std::string error;
  const auto missingFrame = test::aniFile({a}, 3, {}, {0, 4});
  EXPECT_FALSE(parseAnimatedCursor(missingFrame.data(), missingFrame.size(), animation, error));
  EXPECT_EQ(error, "the sequence names a missing frame");
  auto cut = test::aniFile({a}, 3, {}, {});
  cut.resize(cut.size() - 10);
  EXPECT_FALSE(parseAnimatedCursor(cut.data(), cut.size(), animation, error));
  const std::vector<uint8_t> notRiff = {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'A', 'C', 'O', 'N'};
  EXPECT_FALSE(parseAnimatedCursor(notRiff.data(), notRiff.size(), animation, error));
  EXPECT_EQ(error, "not an animated cursor file");
}

class CustomCursor : public test::ShellTest {
 protected:
  void write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(game / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
};

TEST_F(CustomCursor, SetCursorStoresTheFileAndGetCursorReturnsIt) {
  setUpScreen(640, 480);
  write("arrow.cur", curFile(2, 2, 0, 0, twoByTwo(0xFFFFFFFF)));
  addScript("script/0.txt", "string c\nsetCursor \"arrow.cur\"\ngetCursor $c\n", 0);
  test::RecordedReports recorded;
  run();
  EXPECT_EQ(settings().cursorFile, "arrow.cur");
  EXPECT_EQ(variables().namedStrings["c"], "arrow.cur");
  EXPECT_TRUE(recorded.boxes.empty());
}

TEST_F(CustomCursor, DamagedCursorIsReported) {
  setUpScreen(640, 480);
  write("bad.ani", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'C', 'O', 'N'});
  test::RecordedReports recorded;
  setCursorFile("bad.ani");
  ASSERT_EQ(recorded.boxes.size(), 1u);
  EXPECT_EQ(recorded.boxes[0], "CreateAlphaCursor\nbad.ani\nthe animation header is missing");
}

}  // namespace
}  // namespace vellum
