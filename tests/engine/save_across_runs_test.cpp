// A game saves mid-scene and ends; a second run of the engine loads the slot and goes on at the
// saved line with its variables, sprites, music, message window and camera.
#include <gtest/gtest.h>

#include <fstream>

#include "persist/compressed_container.h"
#include "save_run_fixture.h"
#include "sound/wav_files.h"

namespace vellum::test {
namespace {

namespace fs = std::filesystem;

// The first run sets the scene and saves; the second jumps to *resume, loads, and the restored
// position (two lines after makeSave) sends it to *restored, since `loaded` is not saved.
const char* kScript =
    "screen 320, 240, 320, 2\n"
    "sd_create\n"
    "int loaded\n"
    "existSave 1, 1, %loaded\n"
    "if (%loaded == 1) goto *resume\n"
    "int g_score = 42\n"
    "string g_name = \"Ann, 'B' `100%\"\n"
    "setMessXY 30, 40\n"
    "sp 10, \"bg.png\", 0, 0\n"
    "sp_cxy 10, 0, 0\n"
    "sp_xy 10, 20, 30\n"

    "sd 1, \"music.wav\", 0, 0, 100, 0, 0, 0\n"
    "sc_x 40, 0, 0, 0\n"
    "draw\n"
    "sp_aa 10, 255, 100000, 0, 0\n"
    "makeSave\n"
    "saveSave 1, 1\n"
    "if (%loaded == 1) goto *restored\n"
    "print \"saved\"\n"
    "end\n"
    "*resume\n"
    "int g_score = 0\n"
    "loadSave 1, 1\n"
    "print \"not resumed\"\n"
    "end\n"
    "*restored\n"
    "int x, y\n"
    "string f\n"
    "sp_gxy 10, 0, 0, %x, %y\n"
    "sd_getFile 1, $f\n"
    "print %g_score, \"|\", $g_name, \"|\", %x, \",\", %y, \"|\", $f\n"
    "clearSave\n"
    "makeSave\n"
    "saveSave 2, 0\n"
    "draw\n"
    "setScreenShot 320, 240\n"
    "saveScreenShot \"p.png\", 1, 24, 9, 0\n"
    "end\n";

using SaveAcrossRuns = SaveRunTest;

TEST_F(SaveAcrossRuns, TheSecondRunResumesWithTheSavedScene) {
  writePicture("bg.png", 100, 60, 0xFFFF0000);
  std::vector<int16_t> tone;
  for (int k = 0; k < 44100; ++k) tone.push_back(static_cast<int16_t>((k % 100) * 100));
  std::ofstream(game / "music.wav", std::ios::binary) << makeWav(tone, 1, 44100);
  writeScriptContainer(game, {{"script/0.txt", gbk(kScript)}});

  const ProcessResult first = play();
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(first.out, "saved");
  EXPECT_EQ(first.err, "");
  ASSERT_TRUE(fs::is_regular_file(game / "save/save001.dat"));

  const ProcessResult second = play();
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(second.out, "42|Ann, 'B' `100%|20,30|music.wav") << second.err;
  EXPECT_EQ(second.err, "");

  // The state composed again after the load matches the saved one line for line.
  std::string saved;
  ASSERT_EQ(unpackContainer(readFileBytes(game / "save/save001.dat"), true, saved), ContainerFault::None);
  const std::string again = readFileBytes(game / "save/save002.txt");
  for (const char* key : {"ScXYWH", "Image10", "Window", "Massage", "Integer", "String", "Font"})
    EXPECT_EQ(line(again, key), line(saved, key)) << key;
  EXPECT_EQ(line(again, "Sound1").substr(0, 24), "Sound1=music.wav,0,100,0");
  // The alpha track goes on from where it was: its time since the start grew, the rest is the same.
  const std::string track = line(saved, "ImageA10_0"), trackAgain = line(again, "ImageA10_0");
  ASSERT_NE(track, "<none>");
  ASSERT_NE(trackAgain, "<none>");
  const size_t comma = track.find(','), commaAgain = trackAgain.find(',');
  EXPECT_EQ(track.substr(comma), trackAgain.substr(commaAgain));
  EXPECT_EQ(track.substr(comma), ",0,0, 255,255,100002,0");
  EXPECT_GE(std::stol(trackAgain.substr(11, commaAgain - 11)), std::stol(track.substr(11, comma - 11)));

  // The picture: the red 100 x 60 sprite at (20, 30), moved 40 pixels right by the camera.
  ASSERT_TRUE(fs::is_regular_file(game / "p.png"));
  const std::string png = readFileBytes(game / "p.png");
  Image* shot = loadImage(reinterpret_cast<const uint8_t*>(png.data()), png.size());
  ASSERT_NE(shot, nullptr);
  const auto at = [&](int x, int y) { return shot->pixels[y * shot->width + x] & 0xFFFFFF; };
  EXPECT_EQ(at(65, 35), 0xFF0000u);
  EXPECT_EQ(at(155, 85), 0xFF0000u);
  EXPECT_EQ(at(55, 35), 0x000000u);   // left of 20 + 40
  EXPECT_EQ(at(165, 85), 0x000000u);  // right of 20 + 40 + 100
  EXPECT_EQ(at(100, 25), 0x000000u);  // above y 30
  EXPECT_EQ(at(100, 95), 0x000000u);  // below y 90
  freeImage(shot);
}

// Saved in the subroutine that waits after a message: the load shows that message again.
TEST_F(SaveAcrossRuns, ASaveMadeWhileAMessageWaitsShowsThatMessageAgain) {
  writeScriptContainer(game, {{"script/0.txt", gbk("int n, c\n"
                                                   "existSave 1, 1, %n\n"
                                                   "if (%n == 1) goto *resume\n"
                                                   "setMessLine 2, 2\n"
                                                   "sufMessGosub \"*wait\"\n"
                                                   "第一行。\n"
                                                   "第二行。\n"
                                                   "\n"
                                                   "end\n"
                                                   "\n"
                                                   "*wait\n"
                                                   "cal %c = %c + 1\n"
                                                   "if (%c == 2) makeSave : saveSave 1, 1 : print \"[saved]\"\n"
                                                   "return\n"
                                                   "\n"
                                                   "*resume\n"
                                                   "cal %c = 5\n"
                                                   "loadSave 1, 1\n"
                                                   "end\n")}});
  const ProcessResult first = play();
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(first.out, "第一行。\n第二行。\n[saved]") << first.err;
  EXPECT_EQ(first.err, "");
  const ProcessResult second = play();
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(second.out, "第二行。\n") << second.err;
  EXPECT_EQ(second.err, "");
}

}  // namespace
}  // namespace vellum::test
