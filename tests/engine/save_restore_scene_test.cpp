// What a load brings back beyond plain pictures: text sprites drawn again in their own fonts, a
// cross-fade that goes on where it was, and a sound that still waits for its delay. Each game saves
// in a first run and loads in a second; the screenshots of the two runs are compared.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "base/clock.h"
#include "engine/save_snapshot.h"
#include "persist/compressed_container.h"
#include "save_run_fixture.h"
#include "scene/animation_tracks.h"
#include "scene/sprite_fixture.h"
#include "sound/wav_files.h"

namespace vellum::test {
namespace {

// The lines every game here starts with: a second run (a save exists) goes to *resume and loads;
// the line after the one after makeSave then sends it on to *restored.
std::string savingGame(const std::string& scene, const std::string& beforeLoad, const std::string& afterLoad) {
  return gbk("screen 320, 240, 320, 2\n"
             "sd_create\n"
             "int loaded\n"
             "existSave 1, 1, %loaded\n"
             "if (%loaded == 1) goto *resume\n" +
             scene +
             "makeSave\n"
             "saveSave 1, 1\n"
             "if (%loaded == 1) goto *restored\n"
             "print \"saved\"\n"
             "end\n"
             "*resume\n" +
             beforeLoad +
             "loadSave 1, 1\n"
             "print \"not resumed\"\n"
             "end\n"
             "*restored\n" +
             afterLoad + "end\n");
}

const char* const kShoot = "draw\nsetScreenShot 320, 240\n";

class SavedScene : public SaveRunTest {
 protected:
  // Runs the game twice: the first run saves (and prints "saved"), the second loads.
  std::string saveThenLoad(const std::string& script) {
    writeScriptContainer(game, {{"script/0.txt", script}});
    const ProcessResult first = play();
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, "saved");
    EXPECT_EQ(first.err, "");
    const ProcessResult second = play();
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(second.err, "");
    return second.out;
  }

  std::string savedText() {
    std::string text;
    EXPECT_EQ(unpackContainer(readFileBytes(game / "save/save001.dat"), true, text), ContainerFault::None);
    return text;
  }
};

// Two text sprites in fonts of their own, and a third font set afterwards: after the load both look
// as they did, and a new string sprite uses the font set last.
TEST_F(SavedScene, TextSpritesComeBackDrawnInTheirOwnFonts) {
  writePicture("bg.png", 320, 240, 0xFF203040);
  const std::string scene =
      "sp 50, \"bg.png\", 0, 0\nsp_cxy 50, 0, 0\n"
      "setMessLog 20, 0, 0, 0, 2, 4\n"
      "ssp_set \"黑体\", 24, 16, 16711680, 16776960, 0\n"
      "ssp 5, \"Saved text\", 0\nsp_cxy 5, 0, 0\nsp_xy 5, 10, 10\n"
      "ssp_set \"黑体\", 20, 17, 65280, 255, 0\n"
      "logsp 6, \"ab\x0c{漢字/かんじ}\", 0, 2\nsp_cxy 6, 0, 0\nsp_xy 6, 10, 60\n"
      "ssp_set \"黑体\", 16, 17, 16777215, 0, 0\n" +
      std::string(kShoot) + "saveScreenShot \"before.png\", 1, 24, 9, 0\n";
  const std::string afterLoad = std::string(kShoot) +
                                "saveScreenShot \"after.png\", 1, 24, 9, 0\n"
                                "int w, h\nssp 7, \"ABCD\", 0\nsp_giwh 7, %w, %h\nprint %w, \",\", %h\n";
  // The second run sets a large font before it loads: the save's font must replace it.
  const std::string out =
      saveThenLoad(savingGame(scene, "ssp_set \"黑体\", 40, 16, 255, 255, 0\n", afterLoad));
  EXPECT_EQ(out, "40,24");  // 16 pixels, bold: even-up(4 x 16 / 2 + 5) + 2, even-up(16 + 5) + 2

  const std::string font = line(savedText(), "Font");
  // The text-sprite part: the font set last, style 17, its three colours and its pixel size.
  ASSERT_NE(font.rfind(gbk("黑体")), std::string::npos) << font;
  EXPECT_EQ(font.substr(font.rfind(gbk("黑体"))), gbk("黑体") + ",11,FFFFFF,0,0,16");

  Image* before = shot("before.png");
  Image* after = shot("after.png");
  ASSERT_NE(before, nullptr);
  ASSERT_NE(after, nullptr);
  ASSERT_EQ(before->width, after->width);
  ASSERT_EQ(before->height, after->height);
  int differ = 0, red = 0, green = 0;
  for (int i = 0; i < before->pixelCount; ++i) {
    const uint32_t a = before->pixels[i] & 0xFFFFFF, b = after->pixels[i] & 0xFFFFFF;
    differ += a != b;
    red += b == 0xFF0000;
    green += b == 0x00FF00;
  }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(red, 40);    // the string sprite's red body
  EXPECT_GT(green, 20);  // the log sprite's green body
  freeImage(before);
  freeImage(after);
}

// A standing picture fading from red to blue is saved just after the fade began: after the load it
// still shows red and turns blue when the fade's time is up.
TEST_F(SavedScene, ACrossFadeGoesOnAfterTheLoad) {
  writePicture("red.png", 100, 80, 0xFFFF0000);
  writePicture("blue.png", 100, 80, 0xFF0000FF);
  const std::string scene =
      "sp_st 10, \"red.png\", 0, 100, 80, 0, 0\nsp_cxy 10, 0, 0\nsp_xy 10, 20, 20\ndraw\n"
      "sp_st 10, \"blue.png\", 0, 100, 80, 3000, 0\ndraw\n";
  const std::string afterLoad = std::string(kShoot) + "saveScreenShot \"during.png\", 1, 24, 9, 0\n" +
                                "sleep 3300\n" + kShoot + "saveScreenShot \"end.png\", 1, 24, 9, 0\n" +
                                "string n\nsp_gn 10, $n\nprint $n\n";
  EXPECT_EQ(saveThenLoad(savingGame(scene, "", afterLoad)), "blue.png");

  const std::string fade = line(savedText(), "ImageS10_0");
  ASSERT_NE(fade, "<none>");
  EXPECT_EQ(fade.substr(fade.find(',')), ",0,1, 1,256,3002,0,1:100:80:red.png");

  for (const auto& [name, expected] : {std::pair{"during.png", 0xFF0000u}, std::pair{"end.png", 0x0000FFu}}) {
    Image* picture = shot(name);
    ASSERT_NE(picture, nullptr) << name;
    const uint32_t centre = picture->pixels[60 * picture->width + 70] & 0xFFFFFF;
    // Within a fifth of the way: the fade may have moved on while the second run started.
    for (int shift : {0, 8, 16}) {
      const int got = static_cast<int>((centre >> shift) & 0xFF), want = static_cast<int>((expected >> shift) & 0xFF);
      EXPECT_NEAR(got, want, 52) << name << " " << std::hex << centre;
    }
    freeImage(picture);
  }
}

// A sound queued with a long delay is saved still waiting: after the load it waits again for the
// time that was left, instead of starting at once.
TEST_F(SavedScene, ADelayedSoundStillWaitsAfterTheLoad) {
  std::vector<int16_t> tone(4410, 1000);
  std::ofstream(game / "music.wav", std::ios::binary) << makeWav(tone, 1, 44100);
  const std::string scene = "sd 1, \"music.wav\", 250, 60000, 80, 0, 0, 0\n";
  const std::string afterLoad =
      "string f\nint s\nsd_getFile 1, $f\nsd_status 1, %s\nprint \"[\", $f, \"]\", %s\n"
      "clearSave\nmakeSave\nsaveSave 2, 0\n";
  EXPECT_EQ(saveThenLoad(savingGame(scene, "", afterLoad)), "[]0");

  for (const std::string& text : {savedText(), readFileBytes(game / "save/save002.txt")}) {
    const std::string sound = line(text, "Sound1");
    ASSERT_EQ(sound.substr(0, 25), "Sound1=music.wav,0,80,0,0") << sound;
    const size_t delayAt = sound.find(',', 25) + 1, fadeAt = sound.find(',', delayAt);
    const long left = std::stol(sound.substr(delayAt, fadeAt - delayAt));
    EXPECT_GT(left, 50000) << sound;
    EXPECT_LE(left, 60000) << sound;
    EXPECT_EQ(sound.substr(fadeAt), ",250");
  }
}

// The same restore in the test process (where the sanitizers watch it): a block composed mid-fade
// with a text sprite restores to the same picture, the fade waiting at its saved point.
class RestoredInProcess : public SpriteScreenTest {};

TEST_F(RestoredInProcess, TextSpritesAndACrossFadeLookAsTheyDid) {
  setTickSource(&fakeClock);
  fakeNow = 5000;
  writePicture("red.png", 100, 80, 0xFFFF0000);
  writePicture("blue.png", 100, 80, 0xFF0000FF);
  script(gbk("ssp_set \"黑体\", 24, 16, 65280, 0, 0\nssp 5, \"Kept\", 0\nsp_cxy 5, 0, 0\nsp_xy 5, 150, 150\n"
             "sp_st 10, \"red.png\", 0, 100, 80, 0, 0\nsp_cxy 10, 0, 0\nsp_xy 10, 20, 20\ndraw\n"
             "sp_st 10, \"blue.png\", 0, 100, 80, 1000, 0\ndraw\n"));
  const Screen before = capture();
  const std::string block = composeSaveBlock();
  ASSERT_TRUE(restoreSaveBlock(block, false));
  EXPECT_TRUE(sprite(10).crossFade);
  EXPECT_EQ(trackSegmentCount(10, track::CrossFade), 1);
  EXPECT_EQ(sprite(10).sourceName, "blue.png");
  const Screen after = capture();
  ASSERT_EQ(before.pixels.size(), after.pixels.size());
  int differ = 0, green = 0;
  for (size_t i = 0; i < after.pixels.size(); ++i) {
    differ += (before.pixels[i] & 0xFFFFFF) != (after.pixels[i] & 0xFFFFFF);
    green += (after.pixels[i] & 0xFFFFFF) == 0x00FF00;
  }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(green, 20);
  EXPECT_GE(after.at(70, 60) >> 16, 0xF0u);  // the fade has only begun: red, a trace of blue
  EXPECT_LE(after.at(70, 60) & 0xFF, 0x10u);
  setTickSource(nullptr);
}

// A restore reuses the textures of the scene it takes down: sprites of one size swap textures
// among themselves, and each still shows its own picture.
TEST_F(RestoredInProcess, SpritesOfOneSizeShowTheirOwnPicturesInReusedTextures) {
  writePicture("red.png", 40, 30, 0xFFFF0000);
  writePicture("blue.png", 40, 30, 0xFF0000FF);
  writePicture("wide.png", 90, 30, 0xFF00FF00);
  std::string lines;
  const struct {
    int n;
    const char* file;
    int x, y;
  } placed[] = {{1, "red.png", 10, 10}, {2, "blue.png", 60, 10}, {3, "red.png", 110, 10}, {4, "wide.png", 10, 60}};
  for (const auto& p : placed)
    lines += "sp " + std::to_string(p.n) + ", \"" + p.file + "\", 0, 0\nsp_cxy " + std::to_string(p.n) +
             ", 0, 0\nsp_xy " + std::to_string(p.n) + ", " + std::to_string(p.x) + ", " + std::to_string(p.y) + "\n";
  script(lines + "draw\n");
  const auto textures = [] {
    std::set<gpu::Texture*> held;
    for (int n = 1; n <= 4; ++n)
      for (const SpriteImage& b : sprite(n).buffers)
        for (const SpriteTile& t : b.picture.tiles) held.insert(t.texture);
    return held;
  };
  const Screen before = capture();
  const std::set<gpu::Texture*> old = textures();
  ASSERT_EQ(old.size(), 4u);
  ASSERT_TRUE(restoreSaveBlock(composeSaveBlock(), false));
  EXPECT_EQ(textures(), old);
  script("draw\n");
  const Screen after = capture();
  ASSERT_EQ(before.pixels.size(), after.pixels.size());
  EXPECT_EQ(before.pixels, after.pixels);
  EXPECT_EQ(after.at(70, 20), 0x0000FFu);
  EXPECT_EQ(after.at(120, 20), 0xFF0000u);
  EXPECT_EQ(after.at(50, 70), 0x00FF00u);
}

// Loading over another scene built from the same pictures: every sprite shows what the save holds,
// not what its reused texture or the shared cached picture showed a moment before.
TEST_F(RestoredInProcess, ALoadOverAnotherSceneShowsOnlyTheSavedScene) {
  writePicture("red.png", 40, 30, 0xFFFF0000);
  writePicture("blue.png", 40, 30, 0xFF0000FF);
  const auto placeAll = [](std::initializer_list<std::pair<int, const char*>> sprites) {
    std::string lines;
    for (const auto& [n, file] : sprites)
      lines += "sp " + std::to_string(n) + ", \"" + file + "\", 0, 0\nsp_cxy " + std::to_string(n) + ", 0, 0\nsp_xy " +
               std::to_string(n) + ", " + std::to_string(n * 50) + ", 10\n";
    return lines + "draw\n";
  };
  script(placeAll({{1, "red.png"}, {2, "blue.png"}, {3, "red.png"}}));
  const Screen saved = capture();
  const std::string block = composeSaveBlock();
  script("sp_d 3\n" + placeAll({{1, "blue.png"}, {2, "red.png"}, {4, "blue.png"}}));
  ASSERT_NE(capture().pixels, saved.pixels);
  ASSERT_TRUE(restoreSaveBlock(block, false));
  script("draw\n");
  const Screen after = capture();
  EXPECT_EQ(after.pixels, saved.pixels);
  EXPECT_EQ(after.at(60, 20), 0xFF0000u);
  EXPECT_EQ(after.at(110, 20), 0x0000FFu);
  EXPECT_EQ(after.at(210, 20), 0u);
}

}  // namespace
}  // namespace vellum::test
