// The picture cache and the look-ahead pass: what is kept, what is evicted, what a script's lines
// predict, and that a scene change after the pass decodes nothing on the main thread.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/image_io.h"
#include "script/command_registry.h"
#include "persist/engine_settings.h"
#include "scene/lookahead.h"
#include "scene/picture_cache.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "support/engine_fixture.h"
#include "support/game_builder.h"

namespace vellum::test {
namespace {

class PictureCacheTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    registerAllCommands();
    settings().lookAhead = 1;
  }

  // A square picture of one colour; side × side × 4 bytes when cached.
  void writePicture(const std::string& name, int side, uint32_t argb = 0xFF336699u) {
    std::filesystem::create_directories((game / name).parent_path());
    ASSERT_TRUE(writeSolidPicture(game / name, side, side, argb));
  }

  static void limit(int64_t bytes) { settings().cacheMaxSize = bytes; }

  // Loads and frees; true when the load was served from the cache.
  static bool loadWasHit(const std::string& name) {
    const uint64_t hits = pictureCacheFigures().hits;
    Image* picture = loadPicture(name);
    EXPECT_NE(picture, nullptr) << name;
    freeImage(picture);
    return pictureCacheFigures().hits > hits;
  }

  // Makes the lines slot 0's file with the cursor on line `current`.
  void useScript(const std::string& text, int current = -1) {
    addScript("script/0.txt", text, 0);
    scriptState().cursor.slot = 0;
    scriptState().cursor.line = current;
  }
};

TEST_F(PictureCacheTest, KeepsPicturesWithinTheLimitLeastRecentlyUsedFirst) {
  for (const char* name : {"a.png", "b.png", "c.png"}) writePicture(name, 10);  // 400 bytes each
  limit(1000);
  EXPECT_FALSE(loadWasHit("a.png"));
  EXPECT_FALSE(loadWasHit("b.png"));
  EXPECT_TRUE(loadWasHit("a.png"));   // a is now the most recently used
  EXPECT_FALSE(loadWasHit("c.png"));  // 1200 > 1000: b goes
  EXPECT_EQ(pictureCacheFigures().pictures, 2u);
  EXPECT_EQ(pictureCacheFigures().bytes, 800u);
  EXPECT_TRUE(loadWasHit("a.png"));
  EXPECT_TRUE(loadWasHit("c.png"));
  EXPECT_FALSE(loadWasHit("b.png"));
}

// A batch (a save being loaded) decodes each file once whatever the limit, and keeps nothing after.
TEST_F(PictureCacheTest, ABatchDecodesEachFileOnceAtAnyLimit) {
  writePicture("a.png", 10);
  writePicture("b.png", 10);
  for (int64_t bytes : {int64_t{0}, int64_t{400}}) {  // off; room for one picture only
    SCOPED_TRACE(bytes);
    limit(bytes);
    clearPictureCache();
    {
      const PictureBatch batch;
      EXPECT_FALSE(loadWasHit("a.png"));
      EXPECT_FALSE(loadWasHit("b.png"));  // evicts a from a cache of 400 bytes, not from the batch
      EXPECT_TRUE(loadWasHit("a.png"));
      EXPECT_TRUE(loadWasHit("b.png"));
    }
    if (bytes == 0) {
      EXPECT_FALSE(loadWasHit("a.png"));
    }
  }
}

TEST_F(PictureCacheTest, LimitZeroKeepsNothingAndFreesWhatWasKept) {
  writePicture("a.png", 8);
  limit(4096);
  EXPECT_FALSE(loadWasHit("a.png"));
  EXPECT_EQ(pictureCacheFigures().pictures, 1u);
  limit(0);
  EXPECT_FALSE(loadWasHit("a.png"));
  EXPECT_FALSE(loadWasHit("a.png"));
  EXPECT_EQ(pictureCacheFigures().pictures, 0u);
  EXPECT_EQ(pictureCacheFigures().decodes, 3u);

  useScript("lookahead_set \"bg\", \"%s\", 0\nbg \"a.png\"\n");
  registerLookaheadPattern("bg", "%s", 0);
  runLookaheadPass(2);
  EXPECT_EQ(pictureCacheFigures().pictures, 0u);
}

TEST_F(PictureCacheTest, APictureLargerThanTheLimitStaysOnlyUntilTheNextStore) {
  writePicture("big.png", 20);   // 1600 bytes
  writePicture("small.png", 4);  // 64 bytes
  limit(1000);
  EXPECT_FALSE(loadWasHit("small.png"));
  EXPECT_FALSE(loadWasHit("big.png"));  // empties the cache, then is kept alone
  EXPECT_EQ(pictureCacheFigures().pictures, 1u);
  EXPECT_TRUE(loadWasHit("big.png"));
  EXPECT_FALSE(loadWasHit("small.png"));  // the big one goes first
  EXPECT_EQ(pictureCacheFigures().pictures, 1u);
  EXPECT_EQ(pictureCacheFigures().bytes, 64u);
}

TEST_F(PictureCacheTest, TwoLoadsGiveIndependentCopies) {
  writePicture("a.png", 4, 0xFF112233u);
  limit(1 << 20);
  Image* first = loadPicture("a.png");
  Image* second = loadPicture("a.png");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first->pixels, second->pixels);
  first->pixels[0] = 0;
  Image* third = loadPicture("a.png");
  EXPECT_EQ(second->pixels[0], 0xFF112233u);
  EXPECT_EQ(third->pixels[0], 0xFF112233u);
  for (Image* p : {first, second, third}) freeImage(p);
}

TEST_F(PictureCacheTest, AMissingFileIsReportedAndNothingIsKept) {
  limit(1 << 20);
  EXPECT_EQ(loadPicture("none.png"), nullptr);
  EXPECT_TRUE(reports.anyBoxContains(gbk("none.png 不能读入")));
  EXPECT_EQ(pictureCacheFigures().pictures, 0u);
}

struct PredictionCase {
  const char* name;
  const char* script;  // UTF-8; line 0 is the current line
  std::vector<std::string> expected;
};

class LookaheadPredictionTest : public PictureCacheTest, public ::testing::WithParamInterface<PredictionCase> {};

TEST_P(LookaheadPredictionTest, PredictsTheFilesTheLinesWillLoad) {
  registerLookaheadPattern("bg", "bg/%s.png", 0);
  registerLookaheadPattern("chr", "ch/%s.png", 1);
  registerLookaheadPattern("bg", "bg/%s.jpg", 0);  // replaces the first format
  registerLookaheadStop("bg/end.jpg");
  useScript(gbk(GetParam().script), 0);
  std::vector<std::string> expected;
  for (const std::string& name : GetParam().expected) expected.push_back(gbk(name));
  EXPECT_EQ(predictPictures(scriptState().slots[0].lines, 0), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LookaheadPredictionTest,
    ::testing::Values(
        PredictionCase{"current_line_is_not_read", "bg \"now\"\nbg \"next\"\n", {"bg/next.jpg", "bg/end.jpg"}},
        PredictionCase{"labels_text_and_unknown_commands_pass",
                       "x\n*label\n\nHello there\nwait 10\nbg \"room\", 2\nbg room2\n",
                       {"bg/room.jpg", "bg/room2.jpg", "bg/end.jpg"}},
        PredictionCase{"each_name_once", "x\nbg \"a\"\nbg \"b\"\nbg \"a\"\n", {"bg/a.jpg", "bg/b.jpg", "bg/end.jpg"}},
        PredictionCase{"a_stop_name_ends_the_scan", "x\nbg \"a\"\nbg \"end\"\nbg \"after\"\n", {"bg/a.jpg", "bg/end.jpg"}},
        PredictionCase{"tag_pattern_remembers_long_names",
                       "x\nchr \"aya01_M\"\n【彩,001a】\n【彩,105】\nchr \"short\"\n【彩,002】\n",
                       {"ch/aya01_M.png", "ch/ayaS1_S.png", "bg/end.jpg"}},
        PredictionCase{"speaker_picture_needs_M_or_L", "x\nchr \"aya01_X\"\n【彩,001】\n",
                       {"ch/aya01_X.png", "bg/end.jpg"}}),
    [](const ::testing::TestParamInfo<PredictionCase>& info) { return std::string(info.param.name); });

TEST_F(PictureCacheTest, VoiceLookaheadNamesEachVoiceOfTheNextSpeakerLine) {
  useScript(gbk("x\nbg \"a\"\n*l\n\n【彩,aya_0001,kei_0002】\n【彩,aya_0003】\n"), 0);
  EXPECT_EQ(predictVoices(scriptState().slots[0].lines, 0),
            (std::vector<std::string>{"vo/ya_/aya_0001.ogg", "vo/ei_/kei_0002.ogg"}));
  useScript(gbk("x\n这是旁白。\n【彩,aya_0001】\n"), 0);
  EXPECT_TRUE(predictVoices(scriptState().slots[0].lines, 0).empty());
}

TEST_F(PictureCacheTest, TheFormatTakesTheFirstArgument) {
  EXPECT_EQ(expandLookaheadFormat("bg/%s.png", " \"forest\", 3"), "bg/forest.png");
  EXPECT_EQ(expandLookaheadFormat("bg/%s.png", " forest , 3"), "bg/forest.png");
  EXPECT_EQ(expandLookaheadFormat("100%%/%s", "\"x\""), "100%/x");
}

TEST_F(PictureCacheTest, APassWithTwoWorkersLeavesTheSceneNothingToDecode) {
  limit(64 << 20);
  std::string lines = "x\n";
  for (int i = 0; i < 6; ++i) {
    writePicture("bg/p" + std::to_string(i) + ".png", 64);
    lines += "bg \"p" + std::to_string(i) + "\"\n";
  }
  writePicture("old.png", 16);
  EXPECT_FALSE(loadWasHit("old.png"));  // not predicted: the pass drops it
  registerLookaheadPattern("bg", "bg/%s.png", 0);
  useScript(lines, 0);
  runLookaheadPass(2);
  EXPECT_EQ(pictureCacheFigures().pictures, 6u);
  const uint64_t decodes = pictureCacheFigures().decodes;
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(loadWasHit("bg/p" + std::to_string(i) + ".png"));
  EXPECT_EQ(pictureCacheFigures().decodes, decodes);
  EXPECT_FALSE(loadWasHit("old.png"));
}

TEST_F(PictureCacheTest, APredictedFileThatCannotBeReadIsSkippedQuietly) {
  limit(64 << 20);
  writePicture("bg/ok.png", 8);
  std::filesystem::create_directories(game / "bg");
  { std::ofstream(game / "bg/bad.png") << "not a picture"; }
  registerLookaheadPattern("bg", "bg/%s.png", 0);
  useScript("x\nbg \"missing\"\nbg \"bad\"\nbg \"ok\"\n", 0);
  runLookaheadPass(2);
  EXPECT_EQ(pictureCacheFigures().pictures, 1u);
  EXPECT_TRUE(reports.boxes.empty());
  EXPECT_TRUE(reports.lines.empty());
}

TEST_F(PictureCacheTest, ScreenPrefetchTakesTheQuotedPictureFilesOfTheNextLines) {
  useScript(gbk("screen 1280, 720, 1280, 0\nsp 0, \"bg.png\", 0, 0\n*l\nsp 1, \":a;ch/Aya.PNG\", 5, 5\n"
                "mov $0, \"notes.txt\"\nsp 2, \":s/20,20,0;#FFFFFF文字\", 0, 0\nbg \"room.jpg\", 1\n"
                "sp 3, \"bg.png\", 0, 0\n"),
            0);
  EXPECT_EQ(quotedPictureNames(scriptState().slots[0].lines, 0),
            (std::vector<std::string>{"bg.png", "ch/Aya.PNG", "room.jpg"}));
  // The current line is not read.
  EXPECT_EQ(quotedPictureNames(scriptState().slots[0].lines, 1), (std::vector<std::string>{"ch/Aya.PNG", "room.jpg", "bg.png"}));
}

TEST_F(PictureCacheTest, ScreenPrefetchLeavesTheFirstLoadNothingToDecode) {
  limit(64 << 20);
  writePicture("bg.png", 32);
  writePicture("old.png", 8);
  EXPECT_FALSE(loadWasHit("old.png"));
  useScript("screen 640, 480, 640, 0\nsp 0, \"bg.png\", 0, 0\nsp 1, \"missing.png\", 0, 0\n", 0);
  ASSERT_TRUE(startScreenPrefetch());
  finishBackgroundLookahead();
  const uint64_t decodes = pictureCacheFigures().decodes;
  EXPECT_TRUE(loadWasHit("bg.png"));
  EXPECT_EQ(pictureCacheFigures().decodes, decodes);
  EXPECT_TRUE(loadWasHit("old.png"));  // nothing was evicted for it
  EXPECT_TRUE(reports.boxes.empty());  // the missing file is met, and reported, by its own load
  EXPECT_TRUE(reports.lines.empty());
  settings().lookAhead = 0;
  EXPECT_FALSE(startScreenPrefetch());
}

TEST_F(PictureCacheTest, TheCommandsRunThePassAndClearTheCache) {
  limit(1 << 20);
  writePicture("a.png", 8);
  addScript("script/0.txt",
            "lookahead_set \"show\", \"%s\", 0\nlookahead\ngoto *done\nshow \"a.png\"\n*done\nend\n", 0);
  run();
  EXPECT_EQ(pictureCacheFigures().pictures, 1u);
  addScript("script/0.txt", "cacheClear\nend\n", 0);
  run();
  EXPECT_EQ(pictureCacheFigures().pictures, 0u);
  settings().lookAhead = 0;
  addScript("script/0.txt", "lookahead\nend\nshow \"a.png\"\n", 0);
  run();
  EXPECT_EQ(pictureCacheFigures().pictures, 0u);
}

TEST_F(PictureCacheTest, EffectWithItsLookaheadArgumentRunsThePass) {
  limit(1 << 20);
  writePicture("a.png", 8);
  addScript("script/0.txt", "lookahead_set \"show\", \"%s\", 0\neffect 1, 50, 0, \"\", 0, 0\n", 0);
  run();
  EXPECT_EQ(pictureCacheFigures().pictures, 0u);
  addScript("script/0.txt", "effect 1, 50, 0, \"\", 0, 1\nend\nshow \"a.png\"\n", 0);
  run();
  EXPECT_EQ(pictureCacheFigures().pictures, 1u);
}

TEST_F(PictureCacheTest, TheBackgroundPassFillsTheCacheWhileTheMainThreadWaits) {
  limit(1 << 20);
  writePicture("a.png", 8);
  registerLookaheadPattern("bg", "%s", 0);
  useScript("x\nbg \"a.png\"\n", 0);
  ASSERT_TRUE(startBackgroundLookahead());
  finishBackgroundLookahead();
  EXPECT_EQ(pictureCacheFigures().pictures, 1u);
  settings().lookAhead = 0;
  EXPECT_FALSE(startBackgroundLookahead());
}

}  // namespace
}  // namespace vellum::test
