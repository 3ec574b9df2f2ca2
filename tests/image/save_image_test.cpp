// saveImage: files on disk, game paths, and the console messages of the writers (Shift-JIS texts
// with the file name), including the TLG6 writer's failures, which are reports, not exceptions.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/engine_state.h"
#include "image_test_util.h"
#include "support/engine_fixture.h"

namespace vellum::image_test {
namespace {

// 画像データが空です, 画像を保存出来ませんでした, メモリを確保出来ませんでした in Shift-JIS.
const std::string kEmptySjis = "\x89\xe6\x91\x9c\x83\x66\x81\x5b\x83\x5e\x82\xaa\x8b\xf3\x82\xc5\x82\xb7";
const std::string kCannotSaveSjis =
    "\x89\xe6\x91\x9c\x82\xf0\x95\xdb\x91\xb6\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";

TEST(SaveImage, WritesAFileThatLoadsBack) {
  test::TempFolder folder;
  ImagePtr source = randomImage(20, 10, 32, 1);
  for (int format = 0; format <= 3; ++format) {
    const std::string path = (folder.path() / ("picture" + std::to_string(format))).string();
    ASSERT_TRUE(saveImage(path, source.get(), SaveRequest{static_cast<SaveFormat>(format), 0, format == 2 ? 90 : 1, 0}));
    const std::string bytes = test::readFileBytes(path);
    ImagePtr back(loadImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_NE(back, nullptr) << format;
    EXPECT_EQ(back->width, 20);
  }
}

TEST(SaveImage, RelativeGamePathsLandInTheGameFolder) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder.path() / "save");
  const std::string previous = engine().exeDirectory;
  engine().exeDirectory = folder.withSlash();
  ImagePtr source = randomImage(4, 4, 24, 2);
  EXPECT_TRUE(saveImage("save\\shot.bmp", source.get(), SaveRequest{SaveFormat::Bmp}));
  engine().exeDirectory = previous;
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "save" / "shot.bmp"));
}

TEST(SaveImage, AnEmptyPictureIsReportedForEachFormat) {
  const char* kinds[] = {"BMP", "PNG", "JPEG", "TLG"};
  for (int format = 0; format <= 3; ++format) {
    ConsoleRecorder console;
    EXPECT_FALSE(saveImage("out.bin", nullptr, SaveRequest{static_cast<SaveFormat>(format)}));
    ASSERT_EQ(console.lineBytes.size(), 1u) << format;
    EXPECT_EQ(console.lineBytes[0], std::string(kinds[format]) + ": \"out.bin\" " + kEmptySjis);
    EXPECT_EQ(console.lines[0], std::string(kinds[format]) + ": \"out.bin\" 画像データが空です");
  }
}

TEST(SaveImage, AFileThatCannotBeOpenedIsReported) {
  ImagePtr source = randomImage(4, 4, 24, 3);
  const char* kinds[] = {"BMP", "PNG", "JPEG", "TLG"};
  for (int format = 0; format <= 3; ++format) {
    ConsoleRecorder console;
    EXPECT_FALSE(saveImage("/nonexistent-folder/x.pic", source.get(), SaveRequest{static_cast<SaveFormat>(format)}));
    ASSERT_EQ(console.lineBytes.size(), 1u);
    EXPECT_EQ(console.lineBytes[0], std::string(kinds[format]) + ": \"/nonexistent-folder/x.pic\" " + kCannotSaveSjis);
  }
}

TEST(SaveImage, UnsupportedBitsAreReported) {
  ImagePtr source = randomImage(4, 4, 24, 4);
  struct Expect {
    SaveFormat format;
    int option2;
    const char* text;
  };
  const Expect expected[] = {{SaveFormat::Tlg, 1, "SaveTLG6: Unsupported Color Type"},
                             {SaveFormat::Tlg, 0, "SaveTLG5: Unsupported Color Type"},
                             {SaveFormat::Png, 6, "PNG: 16 bits per pixel cannot be written"},
                             {SaveFormat::Bmp, 0, "BMP: 16 bits per pixel cannot be written"}};
  for (const Expect& e : expected) {
    ConsoleRecorder console;
    Bytes out;
    EXPECT_FALSE(encodeImage(source.get(), SaveRequest{e.format, 16, e.option2, 0}, "x", out));
    EXPECT_TRUE(console.printed(e.text)) << joined(console.lines);
  }
}

TEST(SaveImage, UnknownFormatIsReported) {
  ImagePtr source = randomImage(4, 4, 24, 5);
  ConsoleRecorder console;
  EXPECT_FALSE(saveImage("x", source.get(), SaveRequest{static_cast<SaveFormat>(7)}));
  EXPECT_TRUE(console.printed("unknown format 7"));
}

TEST(SaveImage, OwnBitsFollowThePicture) {
  ImagePtr grey = randomImage(5, 5, 8, 6);
  const Bytes tlg = encode(*grey, SaveFormat::Tlg, 0, 1);
  EXPECT_EQ(tlg[11], 1);
  ImagePtr colour = randomImage(5, 5, 24, 6);
  EXPECT_EQ(encode(*colour, SaveFormat::Tlg, 0, 0)[11], 3);
  ImagePtr alpha = randomImage(5, 5, 32, 6);
  EXPECT_EQ(encode(*alpha, SaveFormat::Tlg, 0, 1)[11], 4);
  EXPECT_EQ(encode(*alpha, SaveFormat::Png, 0, 6)[25], 6);  // RGBA
  EXPECT_EQ(encode(*grey, SaveFormat::Png, 0, 6)[25], 0);   // grey
}

// The PNG text chunks: hexadecimal position, decimal mode, written uncompressed as tEXt.
TEST(SaveImage, PngTextChunks) {
  ImagePtr source = randomImage(3, 3, 24, 7);
  setLayer(*source, "bg.bmp", -2, 255, -7);
  const Bytes png = encode(*source, SaveFormat::Png, 0, 6);
  const std::string text(png.begin(), png.end());
  EXPECT_NE(text.find(std::string("tEXtName\0bg.png", 15)), std::string::npos);
  EXPECT_NE(text.find(std::string("tEXtLeft\0fffffffe", 17)), std::string::npos);
  EXPECT_NE(text.find(std::string("tEXtTop\0ff", 10)), std::string::npos);
  EXPECT_NE(text.find(std::string("tEXtMode\0-7", 11)), std::string::npos);
}

// The TLG0 tags chunk as the writer lays it out.
TEST(SaveImage, TlgTagsLayout) {
  ImagePtr source = randomImage(3, 3, 24, 8);
  setLayer(*source, "ab.png", 16, -1, 3);
  const Bytes tlg = encode(*source, SaveFormat::Tlg, 0, 0);
  ASSERT_EQ(std::string(tlg.begin(), tlg.begin() + 6), "TLG0.0");
  const std::string text(tlg.begin(), tlg.end());
  const std::string expected = std::string("tags", 4) + std::string("\x2D\x00\x00\x00", 4) + "1:\x02=4:" +
                               std::string("\x10\x00\x00\x00", 4) + ",1:\x03=4:\xFF\xFF\xFF\xFF,1:\x04=4:" +
                               std::string("\x03\x00\x00\x00", 4) + ",1:\x01=6:ab.tlg";
  EXPECT_NE(text.find(expected), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 6), "ab.tlg");
}

}  // namespace
}  // namespace vellum::image_test
