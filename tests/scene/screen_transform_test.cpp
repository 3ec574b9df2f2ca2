// The quake and the camera as the player sees them, and eased position tracks on screen.
#include <cmath>

#include "base/clock.h"
#include "scene/animation_update.h"
#include "scene/easing.h"
#include "scene/screen_transform.h"
#include "script/script_state.h"
#include "sprite_fixture.h"

namespace vellum::test {
namespace {


class ScreenTransforms : public SpriteScreenTest {
 protected:
  void SetUp() override {
    SpriteScreenTest::SetUp();
    if (IsSkipped()) return;
    fakeNow = 50000;
    setTickSource(&fakeClock);
    writePicture("w.png", 20, 20, 0xFFFFFFFF);
  }
  void TearDown() override {
    setTickSource(nullptr);
    scriptState().fastForwardMode = 0;
    SpriteScreenTest::TearDown();
  }
  void frameAt(uint32_t at) {
    fakeNow = 50000 + at;
    script("draw\n");
  }
  // The first column from the left whose pixel on row y is lit, or -1.
  static int firstLit(const Screen& s, int y) {
    for (int x = 0; x < s.w; ++x)
      if ((s.at(x, y) & 0xFF) > 0x80) return x;
    return -1;
  }
};

TEST_F(ScreenTransforms, ZoomDoublesACentredSpriteAndPushesOthersOutward) {
  // A 640x480 game, so that a sprite 100 px right of the centre stays on screen when zoomed; the
  // window (and so the shot) stays 320x240: every game pixel is half a shot pixel.
  setUpScreen(640, 480);
  script("sp 1, \"w.png\", 0, 0\nsp_xy 1, 320, 240\nsp 2, \"w.png\", 0, 0\nsp_xy 2, 420, 100\ndraw\n");
  expectRectangle(capture(), 155, 115, 165, 125, 0xFFFFFF, 0x000000);
  script("sc_w 200, 0, 0, 0\ndraw\n");
  const Screen s = capture();
  expectRectangle(s, 150, 115, 170, 125, 0xFFFFFF, 0x000000);  // twice as wide, same centre
  expectRectangle(s, 250, 45, 270, 55, 0xFFFFFF, 0x000000);    // 100 px right of centre: 100 px further
}

TEST_F(ScreenTransforms, ACameraMoveWithoutTimeShowsAtTheNextDraw) {
  script("sp 1, \"w.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\ndraw\nsc_x 50, 0, 0, 0\n");
  expectRectangle(capture(), 100, 100, 120, 120, 0xFFFFFF, 0x000000);
  script("draw\n");
  expectRectangle(capture(), 150, 100, 170, 120, 0xFFFFFF, 0x000000);
  // Screen-fixed sprites stay where they are.
  script("sp 2, \"w.png\", 2, 0\nsp_cxy 2, 0, 0\nsp_xy 2, 10, 10\ndraw\n");
  expectRectangle(capture(), 10, 10, 30, 30, 0xFFFFFF, 0x000000);
}

TEST_F(ScreenTransforms, AnEasedCameraTrackPansAndEndsAtItsValue) {
  script("sp 1, \"w.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\ndraw\nsc_y 40, 200, 0, 0\n");
  EXPECT_TRUE(animationsActive());
  frameAt(100);
  EXPECT_NEAR(screenTransform().camera[kCameraY].current, 20.0f, 0.01);
  frameAt(200);
  EXPECT_FALSE(animationsActive());
  expectRectangle(capture(), 100, 140, 120, 160, 0xFFFFFF, 0x000000);
  // A later move without time stands: the finished track does not bring its end back.
  script("sc_y 40, 200, 0, 0\nsc_y 0, 0, 0, 0\ndraw\n");
  frameAt(500);
  expectRectangle(capture(), 100, 100, 120, 120, 0xFFFFFF, 0x000000);
}

TEST_F(ScreenTransforms, AQuakeMovesTheSceneAndPeriodNineStopsIt) {
  script("sp 1, \"w.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\ndraw\nsc_qx 1, 10, 100, 0, 0, 1, 0\n");
  frameAt(25);
  expectRectangle(capture(), 110, 100, 130, 120, 0xFFFFFF, 0x000000);
  frameAt(75);
  expectRectangle(capture(), 90, 100, 110, 120, 0xFFFFFF, 0x000000);
  script("sc_qx 1, 10, 9, 0, 0, 1, 0\n");
  EXPECT_FALSE(animationsActive());
  frameAt(80);
  expectRectangle(capture(), 100, 100, 120, 120, 0xFFFFFF, 0x000000);
}

// Screen-fixed sprites (flags 1 or 2) quake only when the mask's bit 1 asks for it, and those with
// flag 2 never; the message text follows the same rule.
TEST_F(ScreenTransforms, ScreenFixedSpritesAndTextQuakeOnlyWhenTargeted) {
  script("sp 1, \"w.png\", 1, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 100\nsp 2, \"w.png\", 2, 0\nsp_cxy 2, 0, 0\n"
         "sp_xy 2, 200, 100\ndraw\nsc_qx 1, 10, 100, 0, 0, 1, 0\n");
  frameAt(25);
  Screen s = capture();
  expectRectangle(s, 100, 100, 120, 120, 0xFFFFFF, 0x000000);
  expectRectangle(s, 200, 100, 220, 120, 0xFFFFFF, 0x000000);
  float dx = 1, dy = 1;
  messageQuakeOffset(dx, dy);
  EXPECT_EQ(dx, 0.0f);
  script("sc_qx 3, 10, 100, 0, 0, 1, 0\n");  // starts at 25
  frameAt(100);
  s = capture();
  expectRectangle(s, 90, 100, 110, 120, 0xFFFFFF, 0x000000);
  expectRectangle(s, 200, 100, 220, 120, 0xFFFFFF, 0x000000);
  messageQuakeOffset(dx, dy);
  EXPECT_EQ(dx, -10.0f);
  EXPECT_EQ(dy, 0.0f);
}

TEST_F(ScreenTransforms, FastForwardSkipsFiniteQuakesAndMovesTheCameraAtOnce) {
  scriptState().fastForwardMode = 1;
  script("sc_qx 1, 10, 100, 3, 0, 1, 0\nsc_x 30, 1000, 0, 0\n");
  EXPECT_FALSE(animationsActive());
  EXPECT_EQ(screenTransform().camera[kCameraX].current, 30.0f);
}

TEST_F(ScreenTransforms, APositionTrackEndsWhereItsEasingSays) {
  script("sp 1, \"w.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 0, 100\ndraw\nsp_ax 1, 200, 300, 2, 0x100\n");
  frameAt(151);
  const int expected = static_cast<int>(std::lround(progressF(200, 151, 302, 2)));
  EXPECT_NEAR(firstLit(capture(), 110), expected, 1);
  frameAt(302);
  expectRectangle(capture(), 200, 100, 220, 120, 0xFFFFFF, 0x000000);
}

}  // namespace
}  // namespace vellum::test
