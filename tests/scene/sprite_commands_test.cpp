// The sprite commands' bookkeeping: tiling, cells, anchors, lists, deletion, the refusals and their
// report bytes, and the screenshot options.
#include <filesystem>
#include <fstream>

#include "render/renderer_state.h"
#include "scene/scene_messages.h"
#include "script/script_state.h"
#include "script/expression.h"
#include "shell/display/screen_geometry.h"
#include "sprite_fixture.h"

namespace vellum::test {
namespace {


class SpriteCommands : public SpriteScreenTest {
 protected:
  int32_t intVariable(const std::string& name) {
    const int32_t* v = findIntVariable("%" + name);
    return v ? *v : -12345;
  }
};

TEST_F(SpriteCommands, APictureWiderThanTheLimitIsCutIntoTiles) {
  renderer().caps.textureMax = 1024;
  writePicture("wide.png", 3000, 500, 0xFF808080);
  script("sp 1, \"wide.png\", 0, 0\n");
  const SpritePicture& p = sprite(1).backImage().picture;
  ASSERT_EQ(p.tiles.size(), 3u);
  EXPECT_EQ(p.columns, 3);
  EXPECT_EQ(p.rows, 1);
  for (const SpriteTile& t : p.tiles) EXPECT_EQ(t.textureW, 1024);
  EXPECT_EQ(p.tiles[2].sourceW, 952);
  // Drawn across the tile seams without gaps.
  script("sp_cxy 1, 0, 0\nsp_xy 1, 0, 0\ndraw\n");
  const Screen s = capture();
  for (int x = 0; x < kGameW; ++x) ASSERT_EQ(s.at(x, 10), 0x808080u) << x;
}

TEST_F(SpriteCommands, TooManyTilesFailAndTheSpriteKeepsItsPicture) {
  writePicture("small.png", 8, 8, 0xFF00FF00);
  writePicture("huge.png", 576, 512, 0xFF808080);
  script("sp 1, \"small.png\", 0, 0\ndraw\n");
  renderer().caps.textureMax = 64;
  reports.clear();
  script("sp 1, \"huge.png\", 0, 0\n");
  EXPECT_TRUE(reports.anyBoxContains("Sprite Size Over 9,8"));
  EXPECT_EQ(sprite(1).frontImage().picture.width, 8);
  EXPECT_FALSE(sprite(1).backImage().picture.present());
  EXPECT_EQ(sprite(1).pending, 0u);
}

TEST_F(SpriteCommands, AnchorsAndCellSizesAnswerTheGetters) {
  writePicture("cells.png", 40, 30, 0xFFFFFFFF);
  script("int x\nint y\nint w\nint h\nint d\nint pw\nint ph\nint e\nint a\nstring n\nsp 1, \"cells.png\", 0, 50\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 50\nsp_gxy 1, 2, 2, %x, %y\n"
         "sp_gsz 1, %w, %h\nsp_gcl 1, %d\nsp_giwh 1, %pw, %ph\nsp_exist 1, %e\nsp_ga 1, %a\nsp_gn 1, $n\n");
  EXPECT_EQ(intVariable("x"), 110);
  EXPECT_EQ(intVariable("y"), 60);
  EXPECT_EQ(intVariable("w"), 10);
  EXPECT_EQ(intVariable("h"), 10);
  EXPECT_EQ(intVariable("d"), 0x32);
  EXPECT_EQ(intVariable("pw"), 40);
  EXPECT_EQ(intVariable("ph"), 30);
  EXPECT_EQ(intVariable("e"), 2);
  EXPECT_EQ(intVariable("a"), 255);
  const std::string* name = findStringVariable("$n");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(*name, "cells.png");
}

TEST_F(SpriteCommands, DeletingARangeTakesTheCanvasChildrenWithIt) {
  writePicture("p.png", 10, 10, 0xFFFFFFFF);
  script("int before\nint a\nint b\nint c\nint d\nint e\nsp 10, \"p.png\", 0, 0\nspg 11, 50, 50, 0\nsp 12, \"p.png\", 0, 0\nsp 20, \"p.png\", 0, 0\n"
         "sp 13, \"p.png\", 0, 0\ndraw\nsp_g 20, 11\nsp_dx 10, 12\nsp_exist 10, %before\ndraw\n"
         "sp_exist 10, %a\nsp_exist 11, %b\nsp_exist 12, %c\nsp_exist 20, %d\nsp_exist 13, %e\n");
  EXPECT_EQ(intVariable("before"), 1);
  EXPECT_EQ(intVariable("a"), 0);
  EXPECT_EQ(intVariable("b"), 0);
  EXPECT_EQ(intVariable("c"), 0);
  EXPECT_EQ(intVariable("d"), 0);
  EXPECT_EQ(intVariable("e"), 2);
  EXPECT_EQ(spriteTable().lists.count(11), 0u);
}

TEST_F(SpriteCommands, NumbersOutsideTheTableAreRefusedEverywhere) {
  writePicture("p.png", 10, 10, 0xFFFFFFFF);
  script("sp 5, \"p.png\", 0, 0\ndraw\n");
  reports.clear();
  script("sp -1, \"p.png\", 0, 0\nsp 1000, \"p.png\", 0, 0\nsp_x -1, 5\nsp_d 1000\nsp_dx -5, 5\nsp_dx 5, 1000\n"
         "sp_g 5, 1000\nsp_g -2, 5\nspg 1000, 10, 10, 0\nsp_neg -1, 1\nsp_ref 1000\ndraw\n");
  EXPECT_EQ(reports.boxes.size(), 11u);
  EXPECT_TRUE(reports.anyBoxContains("-1 sprite number outside 0-999"));
  EXPECT_TRUE(reports.anyBoxContains("1000 sprite number outside 0-999"));
  EXPECT_EQ(sprite(5).pending, 0u);
  EXPECT_TRUE(sprite(5).frontImage().picture.present());
}

TEST_F(SpriteCommands, ParentsMustBeOtherCanvasesOutsideTheSprite) {
  writePicture("p.png", 10, 10, 0xFFFFFFFF);
  script("spg 1, 50, 50, 0\nspg 2, 50, 50, 0\nsp 3, \"p.png\", 0, 0\ndraw\nsp_g 2, 1\n");
  reports.clear();
  script("sp_g 1, 1\nsp_g 1, 2\nsp_g 2, 3\n");
  ASSERT_EQ(reports.boxes.size(), 3u);
  EXPECT_TRUE(reports.anyBoxContains("1 sprite cannot be drawn into itself or its own child 1"));
  EXPECT_TRUE(reports.anyBoxContains("1 sprite cannot be drawn into itself or its own child 2"));
  EXPECT_TRUE(reports.anyBoxContains("3 parent is not a canvas sprite"));
  EXPECT_EQ(sprite(1).listParent, 0);
  EXPECT_EQ(sprite(2).listParent, 1);
}

TEST_F(SpriteCommands, ReportsForMissingPicturesAndOrdersCarryTheirExactBytes) {
  script("sp_x 7, 5\n");
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_TRUE(reports.anyBoxContains("7" + kNoPicture));
  reports.clear();
  writePicture("p.png", 10, 10, 0xFFFFFFFF);
  script("sp 7, \"p.png\", 0, 0\n");
  sprite(7).listed = false;  // a sprite missing from its list
  script("sp_o 7, 3\n");
  EXPECT_TRUE(reports.anyBoxContains(std::string("7") + scene_messages::kNotListed));
}

TEST_F(SpriteCommands, BadPicturesAreReportedAndChangeNothing) {
  writePicture("p.png", 10, 10, 0xFFFFFFFF);
  std::ofstream(game / "bad.png", std::ios::binary) << "\x89PNG\r\n\x1a\nnot really";
  script("sp 1, \"p.png\", 0, 0\ndraw\n");
  reports.clear();
  script("sp 1, \"missing.png\", 0, 0\nsp 1, \"bad.png\", 0, 0\nsp 1, \"p.png\", 0, 255\nspg 1, 0, 10, 0\n"
         "sp 1, \"p.png?missing.png\", 0, 0\n");
  EXPECT_TRUE(reports.anyBoxContains("missing.png \xb2\xbb\xc4\xdc\xb6\xc1\xc8\xeb"));
  EXPECT_TRUE(reports.anyBoxContains("bad.png \xb2\xbb\xc4\xdc\xb6\xc1\xc8\xeb"));
  EXPECT_TRUE(reports.anyBoxContains("Sprite Division Over 16,16"));
  EXPECT_TRUE(reports.anyBoxContains("Sprite Canvas Size 0,10"));
  EXPECT_EQ(sprite(1).pending, 0u);
  EXPECT_EQ(sprite(1).sourceName, "p.png");
  EXPECT_TRUE(sprite(1).frontImage().picture.present());
  EXPECT_FALSE(sprite(1).backImage().picture.present());
}

TEST_F(SpriteCommands, LongSourceNamesAreKeptWhole) {
  const std::string dir(150, 'd');
  std::filesystem::create_directories(game / dir);
  writePicture(dir + "/p.png", 4, 4, 0xFFFFFFFF);
  script("string n\nsp 1, \"" + dir + "/p.png\", 0, 0\nsp_gn 1, $n\n");
  ASSERT_NE(findStringVariable("$n"), nullptr);
  EXPECT_EQ(*findStringVariable("$n"), dir + "/p.png");
}

TEST_F(SpriteCommands, ReloadTestsTheFrontBuffer) {
  writePicture("p.png", 10, 10, 0xFFFF0000);
  script("sp 1, \"p.png\", 0, 0\ndraw\n");
  // The front is buffer 1 now; buffer 0 is empty.
  ASSERT_EQ(sprite(1).front, 1);
  writePicture("p.png", 10, 10, 0xFF00FF00);
  script("sp_reload 1\ndraw3\n");
  const Image* shown = sprite(1).frontImage().picture.pixels;
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->pixels[0], 0xFF00FF00u);
  // The reloaded picture replaced the cached one.
  script("sp 2, \"p.png\", 0, 0\ndraw\n");
  ASSERT_NE(sprite(2).frontImage().picture.pixels, nullptr);
  EXPECT_EQ(sprite(2).frontImage().picture.pixels->pixels[0], 0xFF00FF00u);
}

TEST_F(SpriteCommands, SaveScreenShotCorrectsBadOptions) {
  script("draw\nsetScreenShot 32, 24\nsaveScreenShot \"shot.png\", 1, 24, 12, 0\n");
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_TRUE(reports.anyBoxContains(scene_messages::kBadCompression));
  const std::string bytes = readFileBytes(game / "shot.png");
  Image* image = loadImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(image->height, 24);
  freeImage(image);
  reports.clear();
  script("saveScreenShot \"shot.jpg\", 2, 7, 101, 3\nsaveScreenShot \"shot.bmp\", 0, 24, 0, 0\n");
  ASSERT_EQ(reports.boxes.size(), 3u);
  EXPECT_TRUE(reports.anyBoxContains(scene_messages::kBadDepth));
  EXPECT_TRUE(reports.anyBoxContains(scene_messages::kBadQuality));
  EXPECT_TRUE(reports.anyBoxContains(scene_messages::kBadJpegOption));
  EXPECT_TRUE(std::filesystem::exists(game / "shot.jpg"));
  EXPECT_TRUE(std::filesystem::exists(game / "shot.bmp"));
}

TEST_F(SpriteCommands, FastForwardRebuildsTheScreenFromTheSprites) {
  writePicture("red.png", 20, 10, 0xFFFF0000);
  script("sp 1, \"red.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 30, 40\ndraw3\n");
  scriptState().fastForwardMode = 1;
  takeScreenShot(kGameW, kGameH);
  scriptState().fastForwardMode = 0;
  const Image* shot = screenShot();
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->pixels[45 * kGameW + 35] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(shot->pixels[45 * kGameW + 29] & 0xFFFFFF, 0u);
}

TEST_F(SpriteCommands, LuaAndSquirrelReachTheSameBodies) {
  writePicture("p.png", 10, 10, 0xFFFFFFFF);
  std::filesystem::create_directories(game / "lua");
  std::ofstream(game / "lua" / "s.lua") << "sp(4, 'p.png', 0, 0)\nsp_xy(4, 10, 20)\nsp_a(4, sp_ga(4) - 55)\n";
  std::filesystem::create_directories(game / "squ");
  std::ofstream(game / "squ" / "s.nut") << "sp(5, \"p.png\", 0, 0);\nsp_o(5, -3);\nsp_a(5, sp_go(5) + 10);\n";
  script("loadLua \"lua/s.lua\"\nloadSqu \"squ/s.nut\"\n");
  EXPECT_TRUE(reports.boxes.empty()) << reports.shownBoxes.front();
  EXPECT_EQ(sprite(4).backImage().props.x, 10.0f);
  EXPECT_EQ(sprite(4).backImage().props.alpha, 200);
  EXPECT_EQ(sprite(5).backImage().props.alpha, 7);
}

TEST_F(SpriteCommands, LayerKeysHoldLargeOrders) {
  writePicture("p.png", 10, 10, 0xFFFFFFFF);
  script("sp 1, \"p.png\", 0, 0\nsp 2, \"p.png\", 0, 0\nsp_o 1, 3000000\nsp_o 2, -3000000\n");
  EXPECT_EQ(sprite(1).listKey, 3000000LL * 1024 + 1);
  EXPECT_EQ(sprite(2).listKey, -3000000LL * 1024 + 2);
  EXPECT_EQ(spriteTable().lists[0].begin()->second, 1);
}

TEST_F(SpriteCommands, StandingPicturesStandOnTheBottomEdgeOfTheirCanvas) {
  writePicture("st.png", 40, 20, 0xFFFF0000);
  script("int l\nint t\nint w\nint h\nsp_st 3, \"st.png\", 0, 100, 100, 0, 0\nsp_gixy 3, %l, %t\nsp_giwh 3, %w, %h\n"
         "sp_cxy 3, 0, 0\nsp_xy 3, 0, 0\ndraw\n");
  EXPECT_EQ(intVariable("l"), 30);
  EXPECT_EQ(intVariable("t"), 80);
  EXPECT_EQ(intVariable("w"), 100);
  EXPECT_EQ(intVariable("h"), 100);
  const Screen s = capture();
  EXPECT_EQ(s.at(35, 85), 0xFF0000u);
  EXPECT_EQ(s.at(35, 75), 0u);
  EXPECT_EQ(sprite(3).sourceKind, SourceKind::Standing);
}

class WideGameAtFourThree : public SpriteScreenTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    settings().vSyncWait = 0;
    settings().screenAspect = 1;
    setUpScreen(1280, 720);
    if (!rendererReady()) GTEST_SKIP() << "no GL 3.3 core context here";
  }
};

TEST_F(WideGameAtFourThree, CapturesTheSixteenByNinePart) {
  if (screenGeometry().aspectSwitchable == 0) GTEST_SKIP() << "no aspect switch on this display";
  EXPECT_EQ(rendererDisplay().renderH, 960);
  // Red below the 16:9 part: cut off, not squeezed in.
  writePicture("low.png", 1280, 240, 0xFFFF0000);
  script("sp 1, \"low.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 0, 720\ndraw\n");
  takeScreenShot(1280, 720);
  ASSERT_NE(screenShot(), nullptr);
  EXPECT_EQ(screenShot()->width, 1280);
  EXPECT_EQ(screenShot()->height, 720);
  EXPECT_EQ(screenShot()->pixels[719 * 1280 + 10] & 0xFFFFFF, 0u);
}

}  // namespace
}  // namespace vellum::test
