// The 41 easing curves at four points, and the progress functions built on them.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "scene/easing.h"

namespace vellum {
namespace {

struct CurveCase {
  int32_t e;
  std::array<float, 4> at;  // f(0), f(0.25), f(0.5), f(1)
};

// Worked out independently in double precision from the curves' definitions.
constexpr CurveCase kCurves[] = {
    {-20, {0.000000f, 0.382813f, 0.500000f, 1.000000f}}, {-19, {0.000000f, 0.543849f, 0.500000f, 1.000000f}},
    {-18, {0.000000f, 0.493763f, 0.500000f, 1.000000f}}, {-17, {0.000000f, 0.433013f, 0.500000f, 1.000000f}},
    {-16, {0.000000f, 0.484375f, 0.500000f, 1.000000f}}, {-15, {0.000000f, 0.484375f, 0.500000f, 1.000000f}},
    {-14, {0.000000f, 0.468750f, 0.500000f, 1.000000f}}, {-13, {0.000000f, 0.437500f, 0.500000f, 1.000000f}},
    {-12, {0.000000f, 0.375000f, 0.500000f, 1.000000f}}, {-11, {0.000000f, 0.353553f, 0.500000f, 1.000000f}},
    {-10, {0.000000f, 0.027344f, 0.234375f, 1.000000f}}, {-9, {0.000000f, -0.064137f, -0.087698f, 1.000000f}},
    {-8, {0.000000f, 0.005489f, 0.012473f, 1.000000f}},  {-7, {0.000000f, 0.031754f, 0.133975f, 1.000000f}},
    {-6, {0.000000f, 0.005524f, 0.031250f, 1.000000f}},  {-5, {0.000000f, 0.000977f, 0.031250f, 1.000000f}},
    {-4, {0.000000f, 0.003906f, 0.062500f, 1.000000f}},  {-3, {0.000000f, 0.015625f, 0.125000f, 1.000000f}},
    {-2, {0.000000f, 0.062500f, 0.250000f, 1.000000f}},  {-1, {0.000000f, 0.076120f, 0.292893f, 1.000000f}},
    {0, {0.000000f, 0.250000f, 0.500000f, 1.000000f}},   {1, {0.000000f, 0.382683f, 0.707107f, 1.000000f}},
    {2, {0.000000f, 0.437500f, 0.750000f, 1.000000f}},   {3, {0.000000f, 0.578125f, 0.875000f, 1.000000f}},
    {4, {0.000000f, 0.683594f, 0.937500f, 1.000000f}},   {5, {0.000000f, 0.762695f, 0.968750f, 1.000000f}},
    {6, {0.000000f, 0.823223f, 0.968750f, 1.000000f}},   {7, {0.000000f, 0.661438f, 0.866025f, 1.000000f}},
    {8, {0.000000f, 0.824351f, 0.987527f, 1.000000f}},   {9, {0.000000f, 0.817410f, 1.087697f, 1.000000f}},
    {10, {0.000000f, 0.472656f, 0.765625f, 1.000000f}},  {11, {0.000000f, 0.146447f, 0.500000f, 1.000000f}},
    {12, {0.000000f, 0.125000f, 0.500000f, 1.000000f}},  {13, {0.000000f, 0.062500f, 0.500000f, 1.000000f}},
    {14, {0.000000f, 0.031250f, 0.500000f, 1.000000f}},  {15, {0.000000f, 0.015625f, 0.500000f, 1.000000f}},
    {16, {0.000000f, 0.015625f, 0.500000f, 1.000000f}},  {17, {0.000000f, 0.066987f, 0.500000f, 1.000000f}},
    {18, {0.000000f, -0.000961f, 1.344332f, 1.000000f}}, {19, {0.000000f, -0.099682f, 0.500000f, 1.000000f}},
    {20, {0.000000f, 0.117187f, 0.500000f, 1.000000f}},
};
static_assert(sizeof(kCurves) / sizeof(kCurves[0]) == 41);

TEST(Easing, EveryCurveAtZeroAQuarterAHalfAndOne) {
  constexpr float kT[4] = {0, 0.25f, 0.5f, 1};
  for (const CurveCase& c : kCurves)
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_NEAR(ease(c.e, kT[i], 0, 1), c.at[i], 2e-5) << "curve " << c.e << " at " << kT[i];
      // Start and change scale the curve (elastic's phase depends on the change's sign).
      if ((c.e < 0 ? -c.e : c.e) % 10 == 8) continue;
      EXPECT_NEAR(ease(c.e, kT[i], 10, -4), 10 - 4 * c.at[i], 1e-4) << "curve " << c.e;
    }
}

TEST(Easing, IndexesOutsideTheTableAreLinear) {
  EXPECT_FLOAT_EQ(ease(21, 0.25f, 0, 8), 2);
  EXPECT_FLOAT_EQ(ease(-1000, 0.5f, 0, 8), 4);
}

TEST(Progress, LinearIsExactIntegerArithmeticWithoutWrapping) {
  EXPECT_EQ(progress(255, 1, 4, 0), 63);
  EXPECT_EQ(progress(-255, 1, 4, 0), -63);  // truncated toward zero
  // 3e5 x 1e5 does not fit 32 bits.
  EXPECT_EQ(progress(300000, 100000, 200000, 0), 150000);
  EXPECT_FLOAT_EQ(progressF(300000, 100000, 200000, 0), 150000.0f);
  EXPECT_FLOAT_EQ(progressF(10, 1, 4, 0), 2.5f);
}

TEST(Progress, CurvesAreTruncatedTowardZeroAndAZeroDurationIsFinished) {
  EXPECT_EQ(progress(1000, 1, 4, 2), 437);
  EXPECT_EQ(progress(1000, 1, 2, -9), -87);  // back IN overshoots below the start
  EXPECT_NEAR(progressF(1000, 1, 2, -9), -87.698f, 0.01f);
  EXPECT_EQ(progress(77, 5, 0, 3), 77);
  EXPECT_FLOAT_EQ(progressF(77, 5, -1, 0), 77.0f);
}

TEST(Progress, HugeOvershootsHoldAtTheIntegerRange) {
  EXPECT_EQ(progress(2147483647, 1, 2, 9), INT32_MAX);
  EXPECT_EQ(progress(-2147483647, 1, 2, 9), INT32_MIN);
}

}  // namespace
}  // namespace vellum
