#include "services/fast_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "vellum/exports.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

class FastMath : public ::testing::Test {
 protected:
  void SetUp() override { vellum::initMathTables(); }
};

TEST_F(FastMath, TablesHoldSineAndArctangent) {
  vellum::initMathTables();  // a second call changes nothing
  const float* sine = vellum::sineTable();
  EXPECT_EQ(sine[0], 0.0f);
  EXPECT_FLOAT_EQ(sine[16384], 1.0f);
  EXPECT_FLOAT_EQ(sine[49152], -1.0f);
  const float* arctangent = vellum::arctangentTable();
  EXPECT_EQ(arctangent[0], 0.0f);
  EXPECT_FLOAT_EQ(arctangent[128], std::atan(0.5f));
  EXPECT_FLOAT_EQ(arctangent[256], kPi / 4);
}

struct AngleCase {
  float radians;
  float sine;
  float cosine;
};

TEST_F(FastMath, SineAndCosineAreTableLookUps) {
  const AngleCase cases[] = {
      {0, 0, 1},
      {kPi / 2, 1, 0},
      {kPi, 0, -1},
      {-kPi / 2, -1, 0},
      {1.0f, std::sin(1.0f), std::cos(1.0f)},
      {-2.5f, std::sin(-2.5f), std::cos(-2.5f)},
      {100.0f, std::sin(100.0f), std::cos(100.0f)},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(sin_simd(c.radians), c.sine, 2e-4f) << c.radians;
    EXPECT_NEAR(cos_simd(c.radians), c.cosine, 2e-4f) << c.radians;
    float sine = 9;
    float cosine = 9;
    sincos_simd(c.radians, &sine, &cosine);
    EXPECT_EQ(sine, sin_simd(c.radians));
    EXPECT_EQ(cosine, cos_simd(c.radians));
  }
}

TEST_F(FastMath, TheIndexTruncatesTowardZero) {
  const float step = 2 * kPi / 65536;
  const float* sine = vellum::sineTable();
  EXPECT_EQ(sin_simd(step * 10.5f), sine[10]);
  EXPECT_EQ(sin_simd(-step * 10.5f), sine[65536 - 10]);
  // Angles too large for any index, and NaN, still read the table.
  EXPECT_EQ(sin_simd(1e30f), sine[0]);
  EXPECT_EQ(sin_simd(std::nanf("")), sine[0]);
}

struct Atan2Case {
  int32_t y;
  int32_t x;
  float expected;
};

TEST_F(FastMath, Atan2CoversEveryOctantAndTheDiagonals) {
  const Atan2Case cases[] = {
      {0, 0, 0},
      {0, 5, 0},
      {5, 5, kPi / 4},
      {5, 0, kPi / 2},
      {5, -5, 3 * kPi / 4},
      {0, -5, kPi},
      {-5, -5, -3 * kPi / 4},
      {-5, 0, -kPi / 2},
      {-5, 5, -kPi / 4},
      {1, 2, std::atan2(1.0f, 2.0f)},
      {2, 1, std::atan2(2.0f, 1.0f)},
      {-1, 2, std::atan2(-1.0f, 2.0f)},
      {-2, 1, std::atan2(-2.0f, 1.0f)},
      {1, -2, std::atan2(1.0f, -2.0f)},
      {2, -1, std::atan2(2.0f, -1.0f)},
      {-1, -2, std::atan2(-1.0f, -2.0f)},
      {-2, -1, std::atan2(-2.0f, -1.0f)},
      {INT32_MIN, INT32_MIN, -3 * kPi / 4},  // no overflow at the extremes
      {INT32_MAX, INT32_MIN, 3 * kPi / 4},
      {INT32_MIN, INT32_MAX, -kPi / 4},
  };
  for (const auto& c : cases) EXPECT_NEAR(atan2_fast(c.y, c.x), c.expected, 4e-3f) << c.y << ", " << c.x;
}

TEST_F(FastMath, PlainSqrtRsqrtAndMemcpy) {
  EXPECT_FLOAT_EQ(sqrt_simd(16.0f), 4.0f);
  EXPECT_FLOAT_EQ(rsqrt_simd(4.0f), 0.5f);
  const char source[] = "vellum";
  char destination[sizeof source] = {};
  EXPECT_EQ(memcpy_simd(destination, source, sizeof source), destination);
  EXPECT_STREQ(destination, source);
}

}  // namespace
