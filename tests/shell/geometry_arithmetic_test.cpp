// Render size, ratios, frame extents, frame pacing, panning, letterbox bars, re-fitted placements
// and the image-cache default.
#include <gtest/gtest.h>

#include "shell/display/screen_geometry.h"
#include "support/param_names.h"

namespace vellum {
namespace {

struct RenderCase {
  int32_t gameW, gameH, resolution;
  float scale;
  int32_t renderW, renderH, rate, screenHeight;
};

class RenderSizes : public ::testing::TestWithParam<RenderCase> {};

TEST_P(RenderSizes, ScaleTheGameToTheResolution) {
  const RenderCase& c = GetParam();
  const RenderSize r = computeRenderSize(c.gameW, c.gameH, c.resolution);
  EXPECT_FLOAT_EQ(r.scale, c.scale);
  EXPECT_EQ(r.renderW, c.renderW);
  EXPECT_EQ(r.renderH, c.renderH);
  EXPECT_EQ(screenRate(r.scale), c.rate);
  EXPECT_EQ(screenHeightForWidth(c.gameW, c.gameH, r.renderW), c.screenHeight);
  if (r.renderH > 0) {
    EXPECT_FLOAT_EQ(r.aspect, static_cast<float>(r.renderW) / static_cast<float>(r.renderH));
  } else {
    EXPECT_FLOAT_EQ(r.aspect, 1.0f);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RenderSizes,
                         ::testing::Values(RenderCase{1280, 720, 1920, 1.5f, 1920, 1080, 150, 1080},
                                           RenderCase{1280, 720, 1280, 1.0f, 1280, 720, 100, 720},
                                           RenderCase{800, 600, 1024, 1.28f, 1024, 768, 128, 768},
                                           // 1366/1280: the width is still the Resolution, the height rounds.
                                           RenderCase{1280, 720, 1366, 1.0671875f, 1366, 768, 106, 768},
                                           RenderCase{1280, 720, 640, 0.5f, 640, 360, 50, 360},
                                           // No game width, or no usable Resolution: 1:1.
                                           RenderCase{0, 720, 1920, 1.0f, 0, 720, 100, 0},
                                           RenderCase{1280, 720, 0, 1.0f, 1280, 720, 100, 720},
                                           RenderCase{1280, 720, -5, 1.0f, 1280, 720, 100, 720},
                                           RenderCase{1280, 0, 1920, 1.5f, 1920, 0, 150, 0}),
                         test::namedBy([](const RenderCase& c) {
                           return test::testNameOf(test::sizeText(c.gameW, c.gameH), "at", c.resolution);
                         }));

TEST(ReferenceRatios, DivideByTheReferenceWidthOrGiveOne) {
  const ReferenceRatios r = computeReferenceRatios(1280, 1920, 1920);
  EXPECT_FLOAT_EQ(r.refToGame, 1.5f);
  EXPECT_FLOAT_EQ(r.gameToRef, 1280.0f / 1920.0f);
  EXPECT_FLOAT_EQ(r.resolutionToRef, 1.0f);
  const ReferenceRatios none = computeReferenceRatios(0, 0, 1920);
  EXPECT_FLOAT_EQ(none.refToGame, 1.0f);
  EXPECT_FLOAT_EQ(none.gameToRef, 1.0f);
  EXPECT_FLOAT_EQ(none.resolutionToRef, 1.0f);
}

TEST(SafeArithmetic, MulDivAndRatios) {
  EXPECT_EQ(mulDiv(720, 1920, 1280), 1080);
  EXPECT_EQ(mulDiv(720, 1920, 0), 0);
  EXPECT_EQ(mulDiv(-7, 1, 2), -3);  // toward zero
  EXPECT_EQ(mulDiv(2147483647, 2147483647, 1), 2147483647);
  EXPECT_EQ(mulDiv(-2147483647, 2147483647, 1), -2147483647 - 1);
  EXPECT_FLOAT_EQ(ratioOr(3, 2, 9), 1.5f);
  EXPECT_FLOAT_EQ(ratioOr(3, 0, 9), 9.0f);
}

TEST(ScreenRate, TruncatesAndSurvivesNonsense) {
  EXPECT_EQ(screenRate(1.999f), 199);
  EXPECT_EQ(screenRate(1e30f), 0);
  EXPECT_EQ(screenRate(-1e30f), 0);
}

TEST(FrameExtents, FixedOrSizingFrameAndTheMenu) {
  const FrameMetrics m{3, 3, 8, 8, 23, 20};
  EXPECT_EQ(computeFrameExtents(m, 1, false), (FrameExtents{6, 29, 26}));
  EXPECT_EQ(computeFrameExtents(m, 0, false), (FrameExtents{16, 39, 31}));
  EXPECT_EQ(computeFrameExtents(m, 0, true), (FrameExtents{16, 59, 31}));
  EXPECT_EQ(computeFrameExtents(FrameMetrics{}, 0, true), (FrameExtents{0, 0, 0}));
}

struct PacingCase {
  int32_t rate;
  FramePacing expected;
};

class Pacing : public ::testing::TestWithParam<PacingCase> {};

TEST_P(Pacing, ReducesMillisecondsAndFrames) { EXPECT_EQ(framePacingFor(GetParam().rate), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Table, Pacing,
                         ::testing::Values(PacingCase{60, {50, 3}}, PacingCase{59, {1000, 59}}, PacingCase{75, {40, 3}},
                                           PacingCase{120, {25, 3}}, PacingCase{144, {125, 18}},
                                           PacingCase{1000, {1, 1}}, PacingCase{0, {0, 0}}, PacingCase{-60, {0, 0}}),
                         test::namedBy([](const PacingCase& c) { return std::to_string(c.rate) + " Hz"; }));

TEST(ZoomPanning, MovesTowardTheNearEdgeUntilTheLimit) {
  // The 1920x1200 monitor at (0, 0) showing 2133x1200: panMinX -213, left starts at -107.
  GeoRect d{-107, 0, 2026, 1200};
  EXPECT_EQ(panZoomDestination(d, 10, 600, 0, 0, 1920, 1200, -213, 0), 1);
  EXPECT_EQ(d, (GeoRect{-103, 0, 2030, 1200}));
  EXPECT_EQ(panZoomDestination(d, 500, 600, 0, 0, 1920, 1200, -213, 0), 0);  // middle: stays
  // To the left edge: fours, then the last pixels one at a time, then nothing.
  int moves = 0;
  while (panZoomDestination(d, 0, 600, 0, 0, 1920, 1200, -213, 0) != 0) ++moves;
  EXPECT_EQ(d.left, 0);
  EXPECT_EQ(d.width(), 2133);
  EXPECT_EQ(moves, 25 + 3);  // -103 → -3 by 25 fours, then 3 ones
  // To the right edge: down to panMinX exactly.
  while (panZoomDestination(d, 1919, 600, 0, 0, 1920, 1200, -213, 0) != 0) {
  }
  EXPECT_EQ(d.left, -213);
  EXPECT_EQ(d.right, 1920);
  // The vertical limit is 0: no vertical move even at the top edge.
  EXPECT_EQ(panZoomDestination(d, 960, 0, 0, 0, 1920, 1200, -213, 0), 0);
}

TEST(ZoomPanning, VerticalUsesSixtyPixelsAtTheTopAndAMonitorOffset) {
  GeoRect d{0, -180, 1920, 1260};
  EXPECT_EQ(panZoomDestination(d, 2500, 1000 + 59, 1920, 1000, 1920, 1080, 0, -360), 1);
  EXPECT_EQ(d.top, -176);
  EXPECT_EQ(panZoomDestination(d, 2500, 1000 + 60, 1920, 1000, 1920, 1080, 0, -360), 0);
  EXPECT_EQ(panZoomDestination(d, 2500, 1000 + 1041, 1920, 1000, 1920, 1080, 0, -360), 1);
  EXPECT_EQ(d.top, -180);
  // Both directions in one pass count two moves.
  GeoRect both{-10, -10, 2000, 1200};
  EXPECT_EQ(panZoomDestination(both, 0, 0, 0, 0, 1920, 1080, -80, -120), 2);
  EXPECT_EQ(both, (GeoRect{-6, -6, 2004, 1204}));
}

TEST(Letterbox, BarsAroundThePicture) {
  const GeoRect client{0, 0, 1920, 1200};
  const LetterboxBars fit = letterboxBars(client, {0, 60, 1920, 1140});
  ASSERT_EQ(fit.count, 2);
  EXPECT_EQ(fit.bars[0], (GeoRect{0, 0, 1920, 60}));
  EXPECT_EQ(fit.bars[1], (GeoRect{0, 1140, 1920, 1200}));
  const LetterboxBars centred = letterboxBars(client, {320, 240, 1600, 960});
  ASSERT_EQ(centred.count, 4);
  EXPECT_EQ(centred.bars[2], (GeoRect{0, 240, 320, 960}));
  EXPECT_EQ(centred.bars[3], (GeoRect{1600, 240, 1920, 960}));
  EXPECT_EQ(letterboxBars(client, {-1, -1, 1921, 1201}).count, 0);
  const LetterboxBars outside = letterboxBars(client, {3000, 0, 3100, 100});
  ASSERT_EQ(outside.count, 1);
  EXPECT_EQ(outside.bars[0], client);
  EXPECT_EQ(letterboxBars(client, {960, 600, 960, 600}).count, 1);  // an empty picture
  EXPECT_TRUE(modeHasLetterbox(1, 2));
  EXPECT_TRUE(modeHasLetterbox(1, 3));
  EXPECT_FALSE(modeHasLetterbox(1, 4));
  EXPECT_FALSE(modeHasLetterbox(0, 3));
}

TEST(RefitPlacement, FollowsTheRightAndBottomEdgesOrTakesTheMonitor) {
  const GeoRect wide{0, 0, 1920, 1080}, small{0, 0, 800, 600};
  // Too big for the new monitor: the monitor.
  EXPECT_EQ(refitPlacement({100, 100, 1100, 700}, wide, small), small);
  // Fits: shifted by the edges' change, but not past the left or top.
  EXPECT_EQ(refitPlacement({1500, 800, 1800, 1000}, wide, small), (GeoRect{380, 320, 680, 520}));
  EXPECT_EQ(refitPlacement({100, 100, 400, 300}, wide, small), (GeoRect{0, 0, 300, 200}));
  // Back to the larger monitor.
  EXPECT_EQ(refitPlacement({380, 320, 680, 520}, small, wide), (GeoRect{1500, 800, 1800, 1000}));
}

struct CacheCase {
  int64_t totalMiB, configuredMiB, expectedMiB;
};

class CacheSize : public ::testing::TestWithParam<CacheCase> {};

TEST_P(CacheSize, FollowsThePhysicalMemory) {
  constexpr int64_t kMiB = int64_t{1} << 20;
  const CacheCase& c = GetParam();
  EXPECT_EQ(defaultImageCacheSize(c.totalMiB * kMiB, c.configuredMiB * kMiB), c.expectedMiB * kMiB);
}

INSTANTIATE_TEST_SUITE_P(Table, CacheSize,
                         ::testing::Values(CacheCase{16384, 64, 512}, CacheCase{1025, 64, 512},
                                           CacheCase{1024, 64, 256}, CacheCase{513, 64, 256},
                                           CacheCase{512, 300, 108}, CacheCase{256, 300, 108},
                                           // A configured limit under 192 MiB: no cache, never a negative one.
                                           CacheCase{300, 100, 0}, CacheCase{300, 192, 0}, CacheCase{255, 300, 0},
                                           CacheCase{0, 300, 0}, CacheCase{-1, 300, 0}),
                         test::namedBy([](const CacheCase& c) {
                           return test::testNameOf(c.totalMiB, "MiB configured", c.configuredMiB);
                         }));

}  // namespace
}  // namespace vellum
