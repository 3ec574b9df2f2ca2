// A game run with --watch: script sources rewritten while the game waits take effect from the same
// place, with the game's variables kept; a text the label pass refuses is reported and the old one
// goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/live_reload/live_reload.h"
#include "image/image_io.h"
#include "persist/engine_settings.h"
#include "scene/picture_cache.h"
#include "shell/engine_process.h"
#include "support/engine_fixture.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

using test::gbk;

constexpr int kGameEndMs = 30000;

// The source waits in a loop until it is replaced by kFinished.
constexpr const char* kWaiting = "*story\n（等待）\n\n*wait\nsleep 5\ngoto *wait\n";
// The same place, now with a way out that needs the variable set before the reload.
constexpr const char* kFinished =
    "*story\n（等待）\n\n*wait\nsleep 5\nif (%1 == 7) goto *kept\ngoto *wait\n\n*kept\n（新的一行）\n\nend\n";
// The same with a second *wait: the label pass refuses it.
constexpr const char* kBroken = "*story\n（等待）\n\n*wait\nsleep 5\ngoto *wait\n*wait\n";
// Sets the variable, then the loop; `cal %1 = 0` would show a reload that started over.
constexpr const char* kStart = "cal %1 = 7\ngoto *story\n";

class LiveReload : public ::testing::Test {
 protected:
  // The sources as an author keeps them (UTF-8) and the game packed from them.
  void makeGame(const std::string& story) {
    source.write("script/0.txt", kStart);
    source.write("script/story.txt", story);
    test::writeScriptContainer(game, {{"script/0.txt", gbk(kStart)}, {"script/story.txt", gbk(story)}});
  }
  // Replaced whole, as editors that save through a new file do.
  void rewriteStory(const std::string& text) {
    source.write("story.txt.new", text);
    std::filesystem::rename(source / "story.txt.new", source / "script/story.txt");
  }
  std::string out() { return test::readFileBytes(output / "out"); }
  std::string err() { return test::readFileBytes(output / "err"); }

  test::TempFolder source, game, output;
};

TEST_F(LiveReload, ARewrittenScriptGoesOnFromTheSamePlaceWithItsVariables) {
  makeGame(kWaiting);
  test::EngineProcess engine({"--headless", "--game", game.path().string(), "--watch", source.path().string()}, {},
                             output.path());
  ASSERT_TRUE(engine.started());
  ASSERT_TRUE(test::waitForText(output / "out", "（等待）\n", kGameEndMs)) << err();
  rewriteStory(kFinished);
  EXPECT_EQ(engine.waitForExit(kGameEndMs), 0) << err();
  EXPECT_EQ(out(), "（等待）\n（新的一行）\n");
  EXPECT_EQ(err(), "vellum: reloaded script/story.txt\n");
}

TEST_F(LiveReload, ARefusedRewriteIsReportedByPathAndTheOldScriptGoesOn) {
  makeGame(kWaiting);
  test::EngineProcess engine({"--headless", "--game", game.path().string(), "--watch", source.path().string()}, {},
                             output.path());
  ASSERT_TRUE(engine.started());
  ASSERT_TRUE(test::waitForText(output / "out", "（等待）\n", kGameEndMs)) << err();
  rewriteStory(kBroken);
  const std::string refused = "Error: script/story.txt[7] *wait ※ラベルが重複しています\n";
  ASSERT_TRUE(test::waitForText(output / "err", refused, kGameEndMs)) << err();
  // Still waiting in the old text: the fixed one is taken from the same place.
  rewriteStory(kFinished);
  EXPECT_EQ(engine.waitForExit(kGameEndMs), 0) << err();
  EXPECT_EQ(out(), "（等待）\n（新的一行）\n");
  EXPECT_EQ(err(), refused + "vellum: reloaded script/story.txt\n");
}

TEST_F(LiveReload, F5TakesSourcesThatDifferFromThePackedGame) {
  makeGame(kWaiting);
  source.write("script/story.txt", kFinished);  // edited before the run, not packed again
  source.write("input.txt", "200 keydown 116\n250 keyup 116\n");
  test::EngineProcess engine({"--headless", "--game", game.path().string(), "--watch", source.path().string(),
                              "--input", (source / "input.txt").string()},
                             {}, output.path());
  ASSERT_TRUE(engine.started());
  EXPECT_EQ(engine.waitForExit(kGameEndMs), 0) << err();
  EXPECT_EQ(out(), "（等待）\n（新的一行）\n");
  EXPECT_EQ(err(), "vellum: reloaded script/story.txt\n");
}

TEST_F(LiveReload, AWatchedFolderWithoutScriptsIsRefusedAtStart) {
  makeGame(kWaiting);
  const auto result = test::runTool("vellum", "--headless --game " + game.path().string() + " --watch " +
                                                  output.path().string());
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("no script folder in it"), std::string::npos) << result.err;
}

// A picture changed on disk is read afresh the next time it is loaded after a reload (here F5).
class LiveReloadPictures : public test::EngineTest {
 protected:
  uint32_t firstPixelOf(const char* name) {
    Image* picture = loadPicture(name);
    EXPECT_NE(picture, nullptr);
    const uint32_t pixel = picture ? picture->pixels[0] : 0;
    freeImage(picture);
    return pixel;
  }
  test::TempFolder source;
};

TEST_F(LiveReloadPictures, AChangedPictureIsReadAgainAfterAReload) {
  settings().cacheMaxSize = 1 << 20;
  source.write("script/0.txt", "*only\n");
  ASSERT_TRUE(test::writeSolidPicture(game / "bg.png", 4, 4, 0xFFFF0000u));
  setWatchedSourceFolder(source.path().string());
  startWatchingSources();
  EXPECT_EQ(firstPixelOf("bg.png"), 0xFFFF0000u);
  ASSERT_TRUE(test::writeSolidPicture(game / "bg.png", 4, 4, 0xFF0000FFu));
  EXPECT_EQ(firstPixelOf("bg.png"), 0xFFFF0000u);  // still the cached one
  requestSourceReload();
  serviceLiveReload();
  EXPECT_EQ(firstPixelOf("bg.png"), 0xFF0000FFu);
}

}  // namespace
}  // namespace vellum
