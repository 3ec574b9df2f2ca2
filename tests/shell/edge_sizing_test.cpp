// Dragging the window's edges keeps the client at the render aspect, between preset 0 and the
// largest client size.
#include <gtest/gtest.h>

#include "shell/display/screen_geometry.h"
#include "support/param_names.h"

namespace vellum {
namespace {

// 16:9 render, a 16 x 59 frame, preset 0 of the 16:9 row, the largest client of a 1920x1200 monitor.
SizingLimits wideLimits() {
  SizingLimits l;
  l.aspect = 1280.0f / 720.0f;
  l.frameW = 16;
  l.frameH = 59;
  l.minimum = {480, 270};
  l.maximum = {1814, 1020};
  return l;
}

// The outer rectangle of a client of w x h at (x, y).
GeoRect outer(int32_t x, int32_t y, int32_t w, int32_t h) { return {x, y, x + w + 16, y + h + 59}; }

struct SizingCase {
  const char* what;
  SizingEdge edge;
  GeoRect proposed, expected;
};

class EdgeSizing : public ::testing::TestWithParam<SizingCase> {};

TEST_P(EdgeSizing, CorrectsTheRectangle) {
  const SizingCase& c = GetParam();
  EXPECT_EQ(sizeKeepingAspect(c.edge, c.proposed, wideLimits()), c.expected) << c.what;
}

using E = SizingEdge;

INSTANTIATE_TEST_SUITE_P(
    KeepAspect, EdgeSizing,
    ::testing::Values(
        // Side edges: the height follows the width (1100 → 619), the top stays.
        SizingCase{"right", E::Right, outer(100, 100, 1100, 541), {100, 100, 1216, 778}},
        SizingCase{"left", E::Left, outer(100, 100, 1100, 541), {100, 100, 1216, 778}},
        // Top and bottom: the width follows the height (600 → 1067), the left stays.
        SizingCase{"top", E::Top, outer(100, 100, 1100, 600), {100, 100, 1183, 759}},
        SizingCase{"bottom", E::Bottom, outer(100, 100, 1100, 600), {100, 100, 1183, 759}},
        // Corners: a client narrower than the aspect gets its width from the height (700 → 1244),
        // a wider one its height from the width (1500 → 844), on the dragged side.
        SizingCase{"top-left narrow", E::TopLeft, outer(100, 100, 1000, 700), {-144, 100, 1116, 859}},
        SizingCase{"top-left wide", E::TopLeft, outer(100, 100, 1500, 700), {100, -44, 1616, 859}},
        SizingCase{"top-right narrow", E::TopRight, outer(100, 100, 1000, 700), {100, 100, 1360, 859}},
        SizingCase{"top-right wide", E::TopRight, outer(100, 100, 1500, 700), {100, -44, 1616, 859}},
        SizingCase{"bottom-left narrow", E::BottomLeft, outer(100, 100, 1000, 700), {-144, 100, 1116, 859}},
        SizingCase{"bottom-left wide", E::BottomLeft, outer(100, 100, 1500, 700), {100, 100, 1616, 1003}},
        SizingCase{"bottom-right narrow", E::BottomRight, outer(100, 100, 1000, 700), {100, 100, 1360, 859}},
        SizingCase{"bottom-right wide", E::BottomRight, outer(100, 100, 1500, 700), {100, 100, 1616, 1003}},
        // Already at the aspect: nothing moves.
        SizingCase{"exact top-left", E::TopLeft, outer(100, 100, 1280, 720), outer(100, 100, 1280, 720)},
        SizingCase{"exact bottom-right", E::BottomRight, outer(100, 100, 1280, 720), outer(100, 100, 1280, 720)}),
    test::namedBy([](const SizingCase& c) { return c.what; }));

INSTANTIATE_TEST_SUITE_P(
    Snap, EdgeSizing,
    ::testing::Values(
        // Below preset 0 (either side): preset 0, keeping the edge opposite the dragged one.
        SizingCase{"small bottom-right", E::BottomRight, outer(100, 100, 300, 200), outer(100, 100, 480, 270)},
        SizingCase{"small right", E::Right, outer(100, 100, 300, 600), outer(100, 100, 480, 270)},
        SizingCase{"small bottom", E::Bottom, outer(100, 100, 900, 200), outer(100, 100, 480, 270)},
        SizingCase{"small left", E::Left, {500, 100, 816, 359}, {320, 100, 816, 429}},
        SizingCase{"small bottom-left", E::BottomLeft, {500, 100, 816, 359}, {320, 100, 816, 429}},
        SizingCase{"small top", E::Top, {500, 500, 816, 759}, {500, 430, 996, 759}},
        SizingCase{"small top-right", E::TopRight, {500, 500, 816, 759}, {500, 430, 996, 759}},
        SizingCase{"small top-left", E::TopLeft, {500, 500, 816, 759}, {320, 430, 816, 759}},
        // Above the largest client: the largest client.
        SizingCase{"big bottom-right", E::BottomRight, outer(100, 100, 1900, 1100), outer(100, 100, 1814, 1020)},
        SizingCase{"big width only", E::Right, outer(100, 100, 1900, 500), outer(100, 100, 1814, 1020)},
        SizingCase{"big top-left", E::TopLeft, {0, 0, 1916, 1159}, {86, 80, 1916, 1159}}),
                         test::namedBy([](const SizingCase& c) { return c.what; }));

TEST(EdgeSizingRefit, LeavingTheMaximisedStateFitsTheHeightFirst) {
  SizingLimits l = wideLimits();
  l.refitHeightFirst = true;
  // 1100 x 900 becomes 1100 x 619 by the bottom edge, which is then at the aspect.
  EXPECT_EQ(sizeKeepingAspect(SizingEdge::BottomRight, outer(100, 100, 1100, 900), l), (GeoRect{100, 100, 1216, 778}));
}

TEST(EdgeSizingGuards, AZeroAspectOrHeightDividesByNothing) {
  SizingLimits l = wideLimits();
  l.aspect = 0.0f;  // taken as 1:1
  l.minimum = {0, 0};
  EXPECT_EQ(sizeKeepingAspect(SizingEdge::Right, outer(0, 0, 500, 300), l), outer(0, 0, 500, 500));
  // A zero-height client against a zero minimum: the width follows (to 0).
  EXPECT_EQ(sizeKeepingAspect(SizingEdge::Top, outer(0, 0, 500, 0), l), outer(0, 0, 0, 0));
}

struct PositionCase {
  const char* what;
  int32_t cx, cy;
  int32_t expectedCx, expectedCy;
  bool widthCorrected, heightCorrected;
};

class PositionChanging : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PositionChanging, CorrectsTheOuterSizeToTheAspect) {
  const PositionCase& c = GetParam();
  PositionChange p;
  p.cx = c.cx;
  p.cy = c.cy;
  const PositionChange r = correctToAspect(p, {1280, 720}, 1280.0f / 720.0f, 16, 59);
  EXPECT_EQ(r.cx, c.expectedCx) << c.what;
  EXPECT_EQ(r.cy, c.expectedCy) << c.what;
  EXPECT_EQ(r.widthCorrected, c.widthCorrected) << c.what;
  EXPECT_EQ(r.heightCorrected, c.heightCorrected) << c.what;
  if (r.widthCorrected || r.heightCorrected) {
    EXPECT_EQ(r.client, (GeoSize{r.cx - 16, r.cy - 59})) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, PositionChanging,
                         ::testing::Values(PositionCase{"wider", 1516, 659, 1083, 659, true, false},
                                           PositionCase{"taller", 1116, 759, 1116, 678, false, true},
                                           PositionCase{"current size", 1296, 779, 1296, 779, false, false},
                                           PositionCase{"negative client", 10, 779, 10, 779, false, false},
                                           PositionCase{"zero height", 1016, 59, 16, 59, true, false}),
                         test::namedBy([](const PositionCase& c) { return c.what; }));

}  // namespace
}  // namespace vellum
