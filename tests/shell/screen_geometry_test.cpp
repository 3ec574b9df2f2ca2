// The process-wide geometry as the screen set-up and the display operations keep it, and the
// commands and exports that read it.
#include <gtest/gtest.h>

#include <vellum/exports.h>

#include <string>

#include "script/command_registry.h"
#include "engine/startup.h"
#include "persist/engine_settings.h"
#include "script/variables.h"
#include "shell/display/screen_geometry.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

class ScreenSetUp : public test::EngineTest {
 protected:
  // The set-up's order: presets and ratios, the geometry, frame extents, monitor.
  void setUp(int32_t gameW, int32_t gameH, int32_t flags, const MonitorInfo& monitor, const FrameMetrics& frame = {}) {
    ScreenGeometry& g = screenGeometry();
    g.aspectSwitchable = aspectSwitchableForFlags(flags);
    if (settings().resolution == 0) settings().resolution = gameW;
    setReferenceRatios(gameW, gameW);
    setUpGeometry(gameW, gameH, g.aspectSwitchable);
    applyFrameExtents(computeFrameExtents(frame, settings().windowChange, false));
    updateMonitorGeometry(monitor);
  }
  void runScript(const std::string& text) {
    registerAllCommands();
    ASSERT_TRUE(addScript("script/0.txt", text, 0));
    run();
  }
  int32_t integer(int i) const { return variables().ints[static_cast<size_t>(i)]; }
};

TEST_F(ScreenSetUp, WideGameOnAWideMonitor) {
  settings().resolution = 1280;
  setUp(1280, 720, 0, {0, 0, 1920, 1200, 60});
  const ScreenGeometry& g = screenGeometry();
  EXPECT_EQ(g.gameH, 720);
  EXPECT_EQ(settings().screenAspect, 0);
  EXPECT_EQ(g.renderW, 1280);
  EXPECT_EQ(g.renderH, 720);
  EXPECT_EQ(g.dest[2], (GeoRect{320, 240, 1600, 960}));
  EXPECT_EQ(g.dest[3], (GeoRect{0, 60, 1920, 1140}));
  EXPECT_EQ(g.dest[4], (GeoRect{-107, 0, 2026, 1200}));
  EXPECT_EQ(g.fillW, 2133);
  EXPECT_EQ(g.panMinX, -213);
  EXPECT_EQ(g.panMinY, 0);
  EXPECT_EQ(g.presets[5].label, "1280x 720\x28\xb5\xc8\xb1\xb6\x29");
  EXPECT_EQ(g.aspectA, 16);
  EXPECT_EQ(g.aspectB, 9);
  EXPECT_EQ(g.screenPixels, 1280 * 720);
  EXPECT_FLOAT_EQ(g.halfRenderW, 640.0f);
  // The window starts at the render size; the frame pacing follows the 60 Hz refresh.
  EXPECT_EQ(settings().windowWidth, 1280);
  EXPECT_EQ(settings().windowHeight, 720);
  EXPECT_EQ(settings().pacingMilliseconds, 50);
  EXPECT_EQ(settings().pacingFrames, 3);
}

TEST_F(ScreenSetUp, SwitchedWideGameBecomesFourThree) {
  settings().screenAspect = 1;
  setUp(1280, 720, 0, {0, 0, 1920, 1200, 60});
  const ScreenGeometry& g = screenGeometry();
  EXPECT_EQ(g.gameH, 960);
  EXPECT_EQ(g.renderH, 960);
  EXPECT_EQ(g.presets[0].width, 400);
  EXPECT_EQ(g.presets[9].height, 1200);
}

TEST_F(ScreenSetUp, NonWideGamesKeepTheirCoordinateSpace) {
  setUp(1024, 768, 0, {0, 0, 1920, 1080, 60});
  EXPECT_EQ(settings().screenAspect, 1);
  EXPECT_EQ(screenGeometry().gameH, 768);

  resetAllState();
  setUp(600, 800, 0, {0, 0, 1920, 1080, 60});
  EXPECT_EQ(settings().screenAspect, 1);
  EXPECT_EQ(screenGeometry().gameW, 600);
  EXPECT_EQ(screenGeometry().gameH, 800);
  EXPECT_EQ(screenGeometry().presets[2].label, " 600x 800\x28\xb5\xc8\xb1\xb6\x29");

  resetAllState();
  setUp(720, 1280, 0, {0, 0, 1920, 1080, 60});
  EXPECT_EQ(settings().screenAspect, 0);
  EXPECT_EQ(screenGeometry().gameH, 1280);
}

TEST_F(ScreenSetUp, WithoutTheSwitchTheStoredAspectStands) {
  settings().screenAspect = 1;
  setUp(1280, 720, 8, {0, 0, 1920, 1080, 60});
  EXPECT_EQ(screenGeometry().aspectSwitchable, 0);
  EXPECT_EQ(screenGeometry().gameH, 720);
}

TEST_F(ScreenSetUp, ResolutionScalesTheRenderTarget) {
  settings().resolution = 1920;
  setUp(1280, 720, 0, {0, 0, 1920, 1080, 60});
  const ScreenGeometry& g = screenGeometry();
  EXPECT_FLOAT_EQ(g.scale, 1.5f);
  EXPECT_EQ(g.renderW, 1920);
  EXPECT_EQ(g.renderH, 1080);
  EXPECT_EQ(getScreenWidth(), 1920);
  EXPECT_EQ(getScreenHeight(), 1080);
}

TEST_F(ScreenSetUp, AWindowThatDoesNotFitShrinksToTheLargestClient) {
  settings().windowWidth = 1920;
  settings().windowHeight = 1080;
  setUp(1280, 720, 0, {0, 0, 1920, 1200, 60}, FrameMetrics{3, 3, 8, 8, 23, 20});
  const ScreenGeometry& g = screenGeometry();
  // Frame 16 x 39; fit 1920 x 1080 → 1904 x 1040 → the width follows the height.
  EXPECT_EQ(g.maxClientW, 1849);
  EXPECT_EQ(g.maxClientH, 1040);
  EXPECT_EQ(settings().windowWidth, 1849);
  EXPECT_EQ(settings().windowHeight, 1040);
  EXPECT_EQ(g.outerW, 1849 + 16);
  EXPECT_EQ(g.outerH, 1040 + 39);
}

TEST_F(ScreenSetUp, FullScreenKeepsTheWindowSizeAndLimitFpsKeepsItsPacing) {
  settings().fullScreen = 1;
  settings().limitFps = 30;
  settings().pacingMilliseconds = 100;
  settings().pacingFrames = 3;
  settings().windowWidth = 4000;
  settings().windowHeight = 2250;
  setUp(1280, 720, 0, {0, 0, 1920, 1080, 60});
  EXPECT_EQ(settings().windowWidth, 4000);
  EXPECT_EQ(settings().pacingMilliseconds, 100);
}

TEST_F(ScreenSetUp, ClientSizeZeroKeepsASide) {
  setUp(1280, 720, 0, {0, 0, 1920, 1080, 60});
  setClientSize(960, 0);
  EXPECT_EQ(settings().windowWidth, 960);
  EXPECT_EQ(settings().windowHeight, 720);
}

TEST_F(ScreenSetUp, NothingSetUpReadsAsZeroWithoutDividing) {
  const ScreenGeometry& g = screenGeometry();
  EXPECT_FLOAT_EQ(g.scale, 1.0f);
  EXPECT_EQ(getScreenWidth(), 0);
  EXPECT_EQ(getScreenHeight(), 0);
  setUp(0, 0, 0, {0, 0, 0, 0, 0});
  EXPECT_EQ(g.renderW, 0);
  EXPECT_FLOAT_EQ(g.aspect, 1.0f);
  EXPECT_EQ(g.maxClientW, 0);
  EXPECT_EQ(settings().pacingMilliseconds, 0);
}

TEST_F(ScreenSetUp, ResetForgetsEverything) {
  setUp(1280, 720, 0, {0, 0, 1920, 1080, 60});
  resetAllState();
  EXPECT_EQ(screenGeometry().renderW, 0);
  EXPECT_EQ(screenGeometry().presets[0].label, "");
  EXPECT_EQ(screenGeometry().aspectSwitchable, 0);
}

TEST_F(ScreenSetUp, CommandsReadTheGeometry) {
  settings().resolution = 1920;
  setUp(1280, 720, 0, {0, 0, 1920, 1080, 60});
  runScript("getScreenRate %1\ngetScreenWidth %2\ngetScreenHeight %3\ngetScreenAspect2 %4\n");
  EXPECT_EQ(integer(1), 150);
  EXPECT_EQ(integer(2), 1920);
  EXPECT_EQ(integer(3), 1080);
  EXPECT_EQ(integer(4), 1);
  EXPECT_TRUE(reports.shownBoxes.empty());
}

TEST_F(ScreenSetUp, CommandsBeforeTheScreen) {
  runScript("getScreenRate %1\ngetScreenWidth %2\ngetScreenHeight %3\ngetScreenAspect2 %4\n");
  EXPECT_EQ(integer(1), 100);
  EXPECT_EQ(integer(2), 0);
  EXPECT_EQ(integer(3), 0);
  EXPECT_EQ(integer(4), 0);
}

TEST_F(ScreenSetUp, SizingLimitsAndPanningUseTheRecord) {
  setUp(1280, 720, 0, {100, 50, 1920, 1200, 60}, FrameMetrics{3, 3, 8, 8, 23, 20});
  const SizingLimits l = currentSizingLimits(true);
  EXPECT_FLOAT_EQ(l.aspect, 1280.0f / 720.0f);
  EXPECT_EQ(l.frameW, 16);
  EXPECT_EQ(l.frameH, 39);
  EXPECT_EQ(l.minimum, (GeoSize{480, 270}));
  EXPECT_EQ(l.maximum, (GeoSize{1849, 1040}));
  EXPECT_TRUE(l.refitHeightFirst);
  // The monitor starts at (100, 50): the left band is 100..139.
  EXPECT_EQ(panZoomView(139, 600), 1);
  EXPECT_EQ(screenGeometry().dest[4].left, -103);
  EXPECT_EQ(panZoomView(140, 600), 0);
}

TEST(FrameChangeShift, KeepsTheClientInPlace) {
  const FrameMetrics m{3, 3, 8, 8, 23, 20};
  EXPECT_EQ(frameChangeShift(m, 0, 1), (GeoSize{5, 5}));
  EXPECT_EQ(frameChangeShift(m, 1, 0), (GeoSize{-5, -5}));
  EXPECT_EQ(frameChangeShift(m, 0, 0), (GeoSize{0, 0}));
}

}  // namespace
}  // namespace vellum
