// High-resolution picture variants: which name the loader resolves, the cache key and look-ahead
// eviction by the resolved name, and sprites drawn from a variant at their base-screen size on a
// screen rendered at twice the game size.
#include <filesystem>
#include <string>

#include "image/image_io.h"
#include "persist/engine_settings.h"
#include "scene/lookahead.h"
#include "scene/picture_cache.h"
#include "script/expression.h"
#include "script/script_state.h"
#include "shell/display/screen_geometry.h"
#include "sprite_fixture.h"

namespace vellum::test {
namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// A game of 320 x 240 rendered at 640 x 480: render scale 2.
class HighResolution : public SpriteScreenTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    settings().vSyncWait = 0;
    settings().resolution = 2 * kGameW;
    setUpScreen(kGameW, kGameH);
    ASSERT_FLOAT_EQ(screenGeometry().scale, 2.0f);
    if (!rendererReady()) GTEST_SKIP() << "no GL 3.3 core context here";
    settings().cacheMaxSize = 64 << 20;
    std::filesystem::create_directories(game / "z");
  }

  int32_t intVariable(const std::string& name) {
    const int32_t* v = findIntVariable("%" + name);
    return v ? *v : -12345;
  }

  // The base picture w x h in red and its variant at twice the size in green.
  void writePair(const std::string& name, int w, int h) {
    writePicture(name, w, h, kRed);
    writePicture("z/" + name, 2 * w, 2 * h, kGreen);
  }
};

TEST_F(HighResolution, TheVariantIsTakenOnlyWhenAskedForScaledAndPresent) {
  writePair("a.png", 10, 10);
  writePicture("plain.png", 10, 10, kRed);
  struct Case {
    const char* name;
    bool asked;
    float scale;
    const char* resolved;
    int32_t kind;
  };
  const Case cases[] = {
      {"a.png", true, 2.0f, "z/a.png", kScaleHighResolution},
      {"a.png", false, 2.0f, "a.png", kScaleNormal},
      {"a.png", true, 1.0f, "a.png", kScaleNormal},
      {"plain.png", true, 2.0f, "plain.png", kScaleNormal},
      {"", true, 2.0f, "", kScaleNormal},
  };
  for (const Case& c : cases) {
    screenGeometry().scale = c.scale;
    int32_t kind = -1;
    EXPECT_EQ(resolvePictureName(c.name, c.asked, &kind), c.resolved) << c.name << " " << c.scale;
    EXPECT_EQ(kind, c.kind) << c.name << " " << c.scale;
  }
  screenGeometry().scale = 2.0f;
  EXPECT_EQ(highResolutionName("bg/a.png"), "z/bg/a.png");
}

TEST_F(HighResolution, TheCacheKeepsAVariantUnderItsOwnName) {
  writePair("a.png", 10, 10);
  int32_t kind = -1;
  Image* picture = loadPicture("a.png", true, true, &kind);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(kind, kScaleHighResolution);
  EXPECT_EQ(picture->width, 20);
  freeImage(picture);
  EXPECT_TRUE(touchCachedPicture(pictureKey("z/a.png")));
  EXPECT_FALSE(touchCachedPicture(pictureKey("a.png")));
}

TEST_F(HighResolution, TheLookaheadPrefetchesAndKeepsTheVariant) {
  settings().lookAhead = 1;
  writePair("a.png", 10, 10);
  registerLookaheadPattern("bg", "%s", 0);
  addScript("script/0.txt", "x\nbg \"a.png\"\n", 0);
  scriptState().cursor.slot = 0;
  scriptState().cursor.line = 0;
  // The variant is cached first: a pass that predicts its base name keeps it.
  Image* first = loadPicture("a.png", true, true);
  ASSERT_NE(first, nullptr);
  freeImage(first);
  const uint64_t decodes = pictureCacheFigures().decodes;
  runLookaheadPass(1);
  EXPECT_EQ(pictureCacheFigures().pictures, 1u);
  EXPECT_TRUE(touchCachedPicture(pictureKey("z/a.png")));
  EXPECT_EQ(pictureCacheFigures().decodes, decodes);
  // From an empty cache the pass fetches the variant, not the base picture.
  clearPictureCache();
  runLookaheadPass(1);
  EXPECT_TRUE(touchCachedPicture(pictureKey("z/a.png")));
  EXPECT_FALSE(touchCachedPicture(pictureKey("a.png")));
}

TEST_F(HighResolution, ASpriteFromAVariantKeepsItsBaseSize) {
  writePair("a.png", 40, 20);
  script("int w\nint h\nint pw\nint ph\nint x\nint y\nsp 1, \"a.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 50, 30\ndraw\n"
         "sp_gsz 1, %w, %h\nsp_giwh 1, %pw, %ph\nsp_gxy 1, 2, 2, %x, %y\n");
  EXPECT_EQ(sprite(1).frontImage().picture.scaleKind, kScaleHighResolution);
  EXPECT_EQ(intVariable("w"), 40);   // base-screen pixels
  EXPECT_EQ(intVariable("h"), 20);
  EXPECT_EQ(intVariable("pw"), 80);  // the picture itself
  EXPECT_EQ(intVariable("ph"), 40);
  EXPECT_EQ(intVariable("x"), 90);   // the far corner of the cell, in base-screen pixels
  EXPECT_EQ(intVariable("y"), 50);
  // On the 640 x 480 screen the 80 x 40 variant covers (50, 30)-(90, 50) in game pixels, pixel for
  // pixel (less the half game pixel every sprite is placed up and left by: one render pixel here).
  expectRectangle(capture(), 99, 59, 179, 99, 0x00FF00, 0x000000);
}

TEST_F(HighResolution, FlagBitTwoKeepsTheBasePicture) {
  writePair("a.png", 40, 20);
  script("int w\nint h\nsp 1, \"a.png\", 4, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 50, 30\ndraw\nsp_gsz 1, %w, %h\n");
  EXPECT_EQ(sprite(1).frontImage().picture.scaleKind, kScaleNormal);
  EXPECT_EQ(intVariable("w"), 40);
  expectRectangle(capture(), 99, 59, 179, 99, 0xFF0000, 0x000000);
}

TEST_F(HighResolution, AClipRectangleCutsTheSamePartOfTheVariant) {
  // Left half blue, right half green in the variant.
  writePicture("c.png", 40, 20, kRed);
  writePicture("z/c.png", 80, 40, [](int x, int) { return x < 40 ? kBlue : kGreen; });
  script("int pw\nint ph\nsp_cut 1, \"c.png\", 0, 0, 20, 0, 20, 20\nsp_cxy 1, 0, 0\nsp_xy 1, 10, 10\ndraw\nsp_giwh 1, %pw, %ph\n");
  EXPECT_EQ(intVariable("pw"), 40);
  EXPECT_EQ(intVariable("ph"), 40);
  expectRectangle(capture(), 19, 19, 59, 59, 0x00FF00, 0x000000);
}

TEST_F(HighResolution, ABaseMaskIsEnlargedToCoverTheVariant) {
  writePair("m.png", 40, 20);
  // The mask hides the left half (black) and shows the right half (white).
  writePicture("mask.png", 40, 20, [](int x, int) { return x < 20 ? 0xFF000000u : kWhite; });
  script("sp 1, \"m.png?mask.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 0, 0\ndraw\n");
  const Screen s = capture();
  EXPECT_EQ(s.at(10, 20), 0x000000u);  // hidden, well inside the left half
  EXPECT_EQ(s.at(70, 20), 0x00FF00u);  // shown, well inside the right half
}

}  // namespace
}  // namespace vellum::test
