// Where the render target lands on the monitor in each full-screen mode, and the largest client.
#include <gtest/gtest.h>

#include "shell/display/screen_geometry.h"
#include "support/param_names.h"

namespace vellum {
namespace {

TEST(FullScreenLayout, WideRenderOnATallerMonitor) {
  const FullScreenLayout l = computeFullScreenLayout(1280, 720, 1920, 1200);
  for (int m = 1; m <= 4; ++m) EXPECT_EQ(l.src[static_cast<size_t>(m)], (GeoRect{0, 0, 1280, 720})) << m;
  EXPECT_EQ(l.dest[1], (GeoRect{0, 0, 1920, 1200}));
  EXPECT_EQ(l.dest[2], (GeoRect{320, 240, 1600, 960}));
  EXPECT_EQ(l.dest[3], (GeoRect{0, 60, 1920, 1140}));
  EXPECT_EQ(l.fitW, 1920);
  EXPECT_EQ(l.fitH, 1080);
  EXPECT_EQ(l.dest[4], (GeoRect{-107, 0, 2026, 1200}));
  EXPECT_EQ(l.fillW, 2133);
  EXPECT_EQ(l.fillH, 1200);
  EXPECT_EQ(l.panMinX, -213);
  EXPECT_EQ(l.panMinY, 0);
}

struct LayoutCase {
  int32_t renderW, renderH, monW, monH;
  GeoRect dest2, dest3, dest4;
  int32_t panMinX, panMinY;
};

class LayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, GivesTheDestinations) {
  const LayoutCase& c = GetParam();
  const FullScreenLayout l = computeFullScreenLayout(c.renderW, c.renderH, c.monW, c.monH);
  EXPECT_EQ(l.dest[1], (GeoRect{0, 0, c.monW, c.monH}));
  EXPECT_EQ(l.dest[2], c.dest2);
  EXPECT_EQ(l.dest[3], c.dest3);
  EXPECT_EQ(l.dest[4], c.dest4);
  EXPECT_EQ(l.panMinX, c.panMinX);
  EXPECT_EQ(l.panMinY, c.panMinY);
  EXPECT_LE(l.panMinX, 0);
  EXPECT_LE(l.panMinY, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LayoutTable,
    ::testing::Values(
        // Same aspect: fit and fill are the whole monitor.
        LayoutCase{1280, 720, 1920, 1080, {320, 180, 1600, 900}, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 0, 0},
        // 4:3 on 16:9: pillarbox when fitting, cropped top and bottom when filling.
        LayoutCase{800, 600, 1920, 1080, {560, 240, 1360, 840}, {240, 0, 1680, 1080}, {0, -180, 1920, 1260}, 0,
                   -360},
        // A render larger than the monitor: the 1:1 mode hangs over every edge (shift halves downward).
        LayoutCase{1921, 1081, 1920, 1080, {-1, -1, 1920, 1080}, {0, 0, 1919, 1080}, {0, 0, 1920, 1080}, 0, 0},
        // Portrait game on a landscape monitor.
        LayoutCase{600, 800, 1920, 1080, {660, 140, 1260, 940}, {555, 0, 1365, 1080}, {0, -740, 1920, 1820}, 0,
                   -1480},
        // No render size: nothing is shown, and nothing is divided by zero.
        LayoutCase{0, 720, 1920, 1080, {960, 540, 960, 540}, {960, 540, 960, 540}, {960, 540, 960, 540}, 0, 0},
        LayoutCase{1280, 0, 1920, 1080, {960, 540, 960, 540}, {960, 540, 960, 540}, {960, 540, 960, 540}, 0, 0},
        // No monitor size: empty destinations at the origin.
        LayoutCase{1280, 720, 0, 0, {-640, -360, 640, 360}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0, 0}),
    test::namedBy([](const LayoutCase& c) {
      return test::testNameOf(test::sizeText(c.renderW, c.renderH), "on", test::sizeText(c.monW, c.monH));
    }));

struct MaxClientCase {
  int32_t fitW, fitH, frameW, frameH, renderW, renderH, monW, monH;
  GeoSize expected;
};

class MaxClientTable : public ::testing::TestWithParam<MaxClientCase> {};

TEST_P(MaxClientTable, KeepsTheRenderAspectOnTheMonitor) {
  const MaxClientCase& c = GetParam();
  EXPECT_EQ(computeMaxClientSize(c.fitW, c.fitH, c.frameW, c.frameH, c.renderW, c.renderH, c.monW, c.monH), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MaxClientTable,
    ::testing::Values(
        // 16:9 on 1920x1200 with a 16 x 59 frame: the height is the limit (1080 - 1 - 59), the width follows.
        MaxClientCase{1920, 1080, 16, 59, 1280, 720, 1920, 1200, {1814, 1020}},
        // Same aspect monitor, frame without odd parts.
        MaxClientCase{1920, 1080, 0, 0, 1280, 720, 1920, 1080, {1920, 1080}},
        // 4:3 pillarboxed: the height is the limit.
        MaxClientCase{1440, 1080, 16, 40, 800, 600, 1920, 1080, {1387, 1040}},
        // A wide frame leaves a client taller than the aspect: the height follows the width.
        MaxClientCase{1920, 1080, 100, 0, 1280, 720, 1920, 1080, {1820, 1024}},
        // ... unless that height does not fit with the frame: then the width follows the height.
        MaxClientCase{1920, 1080, 100, 1, 1280, 720, 1920, 1024, {1917, 1078}},
        // Frames larger than the monitor never give a negative client.
        MaxClientCase{100, 100, 300, 300, 100, 100, 100, 100, {0, 0}},
        // No render size: no client.
        MaxClientCase{1920, 1080, 16, 59, 0, 0, 1920, 1080, {0, 0}}),
    test::namedBy([](const MaxClientCase& c) {
      return test::testNameOf("fit", test::sizeText(c.fitW, c.fitH), "frame", test::sizeText(c.frameW, c.frameH),
                              "render", test::sizeText(c.renderW, c.renderH), "on", test::sizeText(c.monW, c.monH));
    }));

TEST(OuterFitsMonitor, OnlyStrictlyInside) {
  EXPECT_TRUE(outerFitsMonitor(1919, 1199, 1920, 1200));
  EXPECT_FALSE(outerFitsMonitor(1920, 1000, 1920, 1200));
  EXPECT_FALSE(outerFitsMonitor(1000, 1200, 1920, 1200));
}

}  // namespace
}  // namespace vellum
