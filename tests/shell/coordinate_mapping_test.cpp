// Client pixels to game coordinates and back in every presentation, and the cursor glide.
#include <gtest/gtest.h>

#include <vellum/exports.h>

#include "shell/display/coordinate_mapping.h"
#include "shell/input/cursor_glide.h"
#include "shell/display/screen_geometry.h"
#include "shell_test_support.h"
#include "support/param_names.h"

namespace vellum {
namespace {

struct MappingCase {
  const char* name;
  PresentationState presentation;
  int32_t clientX, clientY;  // pointer
  int32_t gameX, gameY;      // expected
};

// The geometry of a game at a scale on a monitor, as the set-up computes it.
ScreenGeometry geometryFor(int32_t gameW, int32_t gameH, float scale, int32_t monW, int32_t monH) {
  ScreenGeometry g;
  g.gameW = gameW;
  g.gameH = gameH;
  g.scale = scale;
  const RenderSize r = computeRenderSize(gameW, gameH, static_cast<int32_t>(gameW * scale));
  g.renderW = r.renderW;
  g.renderH = r.renderH;
  g.monW = monW;
  g.monH = monH;
  const FullScreenLayout l = computeFullScreenLayout(g.renderW, g.renderH, monW, monH);
  g.dest = l.dest;
  g.fitW = l.fitW;
  g.fitH = l.fitH;
  g.fillW = l.fillW;
  g.fillH = l.fillH;
  return g;
}

class Mapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(Mapping, PointerToGame) {
  const MappingCase& c = GetParam();
  const ScreenGeometry g = geometryFor(1280, 720, 1.0f, 1920, 1200);
  int32_t x = c.clientX, y = c.clientY;
  clientToGame(g, c.presentation, x, y);
  EXPECT_EQ(x, c.gameX) << c.name;
  EXPECT_EQ(y, c.gameY) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryPresentation, Mapping,
    ::testing::Values(
        MappingCase{"windowed at game size", {0, 3, 1280, 720}, 640, 360, 640, 360},
        MappingCase{"windowed at half size", {0, 3, 640, 360}, 320, 180, 640, 360},
        MappingCase{"windowed, odd size", {0, 3, 1000, 562}, 999, 561, 1278, 718},
        MappingCase{"mode 0: 800x600", {1, 0, 1280, 720}, 400, 300, 640, 360},
        MappingCase{"mode 1: stretched", {1, 1, 1280, 720}, 960, 600, 640, 360},
        // Dest[2] = (320, 240, ...): the corner of the picture is the game's origin.
        MappingCase{"mode 2: 1:1 centred", {1, 2, 1280, 720}, 320, 240, 0, 0},
        MappingCase{"mode 2, inside", {1, 2, 1280, 720}, 330, 260, 10, 20},
        // Dest[3] = (0, 60, 1920, 1140): fit width 1920.
        MappingCase{"mode 3: fitted", {1, 3, 1280, 720}, 960, 600, 640, 360},
        // Dest[4] = (-107, 0, 2026, 1200): fill width 2133.
        MappingCase{"mode 4: filled", {1, 4, 1280, 720}, 0, 0, 64, 0}),
    test::byCaseName);

// A 4:3 game on a 16:9 monitor: the full-screen modes put the picture behind bars at the sides
// (mode 3, the default), in the middle (mode 2) or cut top and bottom (mode 4), so every mode has
// an offset to take off before scaling.
struct LetterboxCase {
  const char* name;
  int32_t fullMode;
  int32_t clientX, clientY;
  int32_t gameX, gameY;
};

void PrintTo(const LetterboxCase& c, std::ostream* out) { *out << c.name; }

class LetterboxMapping : public ::testing::TestWithParam<LetterboxCase> {
 protected:
  // 640x480 on 1920x1080: Dest[2] = (640, 300, 640x480), Dest[3] = (240, 0, 1440x1080),
  // Dest[4] = (0, -180, 1920x1440).
  const ScreenGeometry g = geometryFor(640, 480, 1.0f, 1920, 1080);
  PresentationState presentation() const { return {1, GetParam().fullMode, 640, 480}; }
};

TEST_P(LetterboxMapping, PointerToGame) {
  const LetterboxCase& c = GetParam();
  int32_t x = c.clientX, y = c.clientY;
  clientToGame(g, presentation(), x, y);
  EXPECT_EQ(x, c.gameX);
  EXPECT_EQ(y, c.gameY);
}

TEST_P(LetterboxMapping, GameToClient) {
  const LetterboxCase& c = GetParam();
  // The cases sit on exact pixels of both grids, so the way back is exact too.
  int32_t x = c.gameX, y = c.gameY;
  gameToClient(g, presentation(), x, y);
  EXPECT_EQ(x, c.clientX);
  EXPECT_EQ(y, c.clientY);
}

INSTANTIATE_TEST_SUITE_P(
    FourThreeOnSixteenNine, LetterboxMapping,
    ::testing::Values(LetterboxCase{"Mode3PictureCorner", 3, 240, 0, 0, 0},
                      LetterboxCase{"Mode3Middle", 3, 960, 540, 320, 240},
                      LetterboxCase{"Mode3RightPart", 3, 1500, 810, 560, 360},
                      LetterboxCase{"Mode2PictureCorner", 2, 640, 300, 0, 0},
                      LetterboxCase{"Mode2Inside", 2, 650, 320, 10, 20},
                      LetterboxCase{"Mode4VisibleTop", 4, 0, 0, 0, 60},
                      LetterboxCase{"Mode4Middle", 4, 960, 540, 320, 240},
                      LetterboxCase{"Mode4LowerPart", 4, 1200, 900, 400, 360}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LetterboxMappingBars, PointerOnTheBarsLiesOutsideTheGame) {
  const ScreenGeometry g = geometryFor(640, 480, 1.0f, 1920, 1080);
  // The left bar of mode 3 is left of the picture, the right bar right of it.
  int32_t x = 120, y = 540;
  clientToGame(g, PresentationState{1, 3, 640, 480}, x, y);
  EXPECT_EQ(x, -53);  // (640·-120/1440), truncated toward zero
  EXPECT_EQ(y, 240);
  x = 1800;
  clientToGame(g, PresentationState{1, 3, 640, 480}, x, y = 0);
  EXPECT_EQ(x, 693);
}

TEST(MappingRoundTrip, GameToClientAndBackInEveryMode) {
  const ScreenGeometry g = geometryFor(1280, 720, 1.0f, 1920, 1200);
  const PresentationState modes[] = {{0, 3, 640, 360}, {1, 0, 1280, 720}, {1, 1, 1280, 720},
                                     {1, 2, 1280, 720}, {1, 3, 1280, 720}, {1, 4, 1280, 720}};
  for (const PresentationState& p : modes) {
    int32_t x = 640, y = 360;
    gameToClient(g, p, x, y);
    clientToGame(g, p, x, y);
    // Truncation on the way there and back costs at most two game pixels.
    EXPECT_NEAR(x, 640, 2) << p.fullScreen << "/" << p.fullMode;
    EXPECT_NEAR(y, 360, 2) << p.fullScreen << "/" << p.fullMode;
  }
}

TEST(MappingScaled, ResolutionAboveTheGameSizeDividesByTheScale) {
  const ScreenGeometry g = geometryFor(1280, 720, 1.5f, 1920, 1080);
  EXPECT_EQ(g.renderW, 1920);
  int32_t x = 960, y = 540;
  clientToGame(g, PresentationState{0, 3, 1920, 1080}, x, y);
  EXPECT_EQ(x, 640);
  EXPECT_EQ(y, 360);
  clientToGame(g, PresentationState{1, 2, 1280, 720}, x = 960, y = 540);
  EXPECT_EQ(x, 640);
  EXPECT_EQ(y, 360);
}

TEST(GlideDuration, FollowsDistanceAndSpeed) {
  // (400 | 16) >> 3: 400 already has the 16 bit.
  EXPECT_EQ(glideDuration(100, 0, 4), 50u);
  EXPECT_EQ(glideDuration(60, 80, 4), 50u);
  EXPECT_EQ(glideDuration(0, 0, 4), 2u);     // 16 >> 3
  EXPECT_EQ(glideDuration(100, 0, 1), 14u);  // (100 | 16) >> 3 = 116 >> 3
}

class CursorGlide : public test::ShellTest {};

TEST_F(CursorGlide, EasesOutAndEndsExactlyOnTheTarget) {
  setUpScreen(1280, 720);
  ::setCursorPos(100, 100, 0, 1);
  int32_t x = 0, y = 0;
  getCursorPos(&x, &y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 100);

  ::setCursorPos(200, 100, 4, 1);
  ASSERT_TRUE(cursorGlideRunning());
  EXPECT_EQ(cursorGlideLength(), 50u);
  const uint32_t start = cursorGlideStart();
  // Half the time covers 1 - 0.5^3 = 87.5% of the way.
  stepCursorGlideAt(start + 25);
  getCursorPos(&x, &y);
  EXPECT_EQ(x, 187);
  EXPECT_TRUE(cursorGlideRunning());
  stepCursorGlideAt(start + 49);
  EXPECT_TRUE(cursorGlideRunning());
  stepCursorGlideAt(start + 50);
  EXPECT_FALSE(cursorGlideRunning());
  getCursorPos(&x, &y);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 100);
}

TEST_F(CursorGlide, FarOffPointsMeanTheMonitorCentre) {
  setUpScreen(1280, 720);
  ::setCursorPos(-5000, 10, 0, 1);
  int x = 0, y = 0;
  pointerPosition(x, y);
  EXPECT_EQ(x, 960);
  EXPECT_EQ(y, 540);
}

TEST_F(CursorGlide, CommandDoesNothingWithCursorMoveOff) {
  setUpScreen(1280, 720);
  settings().cursorMove = 0;
  addScript("script/0.txt", "setCursorPos 300, 200, 0\n", 0);
  run();
  int32_t x = -1, y = -1;
  getCursorPos(&x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST_F(CursorGlide, CommandJumpsAtSpeedZero) {
  setUpScreen(1280, 720);
  addScript("script/0.txt", "setCursorPos 300, 200, 0\n", 0);
  run();
  int32_t x = -1, y = -1;
  getCursorPos(&x, &y);
  EXPECT_EQ(x, 300);
  EXPECT_EQ(y, 200);
}

TEST_F(CursorGlide, FitModeMappingOfThePointerBesideSideBars) {
  // A 4:3 game on the 1920x1080 headless monitor in the default fit mode: the picture is
  // 1440x1080 with 240-pixel bars at either side.
  settings().fullScreen = 1;
  settings().fullMode = 3;
  setUpScreen(640, 480, kSetUpNoDialog | kSetUpNoAspectSwitch);
  const ScreenGeometry& g = screenGeometry();
  ASSERT_EQ(g.monW, 1920);
  ASSERT_EQ(g.dest[3].left, 240);
  ASSERT_EQ(g.dest[3].top, 0);
  replay("0 move 0 0\n");
  int x = 0, y = 0;
  pointerPosition(x, y);
  EXPECT_EQ(x, 240);
  EXPECT_EQ(y, 0);
  int32_t gx = -1, gy = -1;
  getCursorPos(&gx, &gy);
  EXPECT_EQ(gx, 0);
  EXPECT_EQ(gy, 0);
  drain();  // a replayed move waits until the one before it has been taken
  replay("0 move 320 240\n");
  pointerPosition(x, y);
  EXPECT_EQ(x, 960);
  EXPECT_EQ(y, 540);
  getCursorPos(&gx, &gy);
  EXPECT_EQ(gx, 320);
  EXPECT_EQ(gy, 240);
}

TEST_F(CursorGlide, ModeTwoMappingOfThePointer) {
  // A 1280x600 game on the 1920x1080 headless monitor: Dest[2] starts at (320, 240).
  settings().fullScreen = 1;
  settings().fullMode = 2;
  setUpScreen(1280, 600, kSetUpNoDialog | kSetUpNoAspectSwitch);
  const ScreenGeometry& g = screenGeometry();
  ASSERT_EQ(g.monW, 1920);
  ASSERT_EQ(g.dest[2].left, 320);
  ASSERT_EQ(g.dest[2].top, 240);
  replay("0 move 0 0\n");
  int x = 0, y = 0;
  pointerPosition(x, y);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 240);
  int32_t gx = -1, gy = -1;
  getCursorPos(&gx, &gy);
  EXPECT_EQ(gx, 0);
  EXPECT_EQ(gy, 0);
}

}  // namespace
}  // namespace vellum
