// The plain implementations behind the exported math pointers, and atan2_fast.
#include "services/fast_math.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <numbers>

#include "vellum/exports.h"

namespace vellum {

namespace {

float gSine[kSineTableSize];
float gArctangent[kArctangentSteps + 1];
// Set once both tables are filled: most games never call the functions behind them, so the 65536
// sines are computed by the first call instead of at every start.
std::atomic<bool> gTablesReady{false};

void ensureTables() {
  if (!gTablesReady.load(std::memory_order_acquire)) initMathTables();
}

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kHalfPi = kPi / 2;
constexpr float kTableStepsPerRadian = static_cast<float>(kSineTableSize / (2 * std::numbers::pi));
constexpr uint32_t kQuarterTurn = kSineTableSize / 4;

// The angle's table index: truncated toward zero, then its low 16 bits. A 64-bit conversion keeps
// large angles defined; angles beyond even that (and NaN) read entry 0.
uint32_t sineIndex(float radians) {
  const float steps = radians * kTableStepsPerRadian;
  if (!(std::fabs(steps) < 9.2e18f)) return 0;
  return static_cast<uint32_t>(static_cast<int64_t>(steps)) & (kSineTableSize - 1);
}

float tableSine(float radians) {
  ensureTables();
  return gSine[sineIndex(radians)];
}

float tableCosine(float radians) {
  ensureTables();
  return gSine[(sineIndex(radians) + kQuarterTurn) & (kSineTableSize - 1)];
}

void tableSineCosine(float radians, float* sine, float* cosine) {
  ensureTables();
  const uint32_t index = sineIndex(radians);
  *sine = gSine[index];
  *cosine = gSine[(index + kQuarterTurn) & (kSineTableSize - 1)];
}

float plainSqrt(float value) { return std::sqrt(value); }

float plainRsqrt(float value) { return 1.0f / std::sqrt(value); }

void* plainMemcpy(void* destination, const void* source, size_t length) {
  return std::memcpy(destination, source, length);
}

// Table entry for numerator / denominator, 0 <= numerator <= denominator, scaled to 0 ... 256.
// Products are taken in 64 bits so no input overflows.
float arctangentOf(int64_t numerator, int64_t denominator) { return gArctangent[256 * numerator / denominator]; }

}  // namespace

void initMathTables() {
  static std::once_flag built;
  std::call_once(built, [] {
    for (size_t i = 0; i < kSineTableSize; ++i) {
      gSine[i] = static_cast<float>(std::sin(static_cast<double>(i) * 2 * std::numbers::pi / kSineTableSize));
    }
    for (size_t i = 0; i <= kArctangentSteps; ++i) {
      gArctangent[i] = static_cast<float>(std::atan(static_cast<double>(i) / kArctangentSteps));
    }
    gTablesReady.store(true, std::memory_order_release);
  });
}

const float* sineTable() {
  ensureTables();
  return gSine;
}

const float* arctangentTable() {
  ensureTables();
  return gArctangent;
}

}  // namespace vellum

using vellum::arctangentOf;

// The first octant is read from the table; the other seven are mirrored onto it.
float atan2_fast(int32_t yIn, int32_t xIn) {
  vellum::ensureTables();
  const int64_t y = yIn;
  const int64_t x = xIn;
  if (x == 0 && y == 0) return 0;
  if (x >= 0 && y >= 0) return x >= y ? arctangentOf(y, x) : vellum::kHalfPi - arctangentOf(x, y);
  if (x >= 0) return x >= -y ? -arctangentOf(-y, x) : arctangentOf(x, -y) - vellum::kHalfPi;
  if (y >= 0) return -x >= y ? vellum::kPi - arctangentOf(y, -x) : arctangentOf(-x, y) + vellum::kHalfPi;
  return x < y ? arctangentOf(-y, -x) - vellum::kPi : -vellum::kHalfPi - arctangentOf(-x, -y);
}

extern "C" {
float (*sin_simd)(float radians) = vellum::tableSine;
float (*cos_simd)(float radians) = vellum::tableCosine;
void (*sincos_simd)(float radians, float* sine, float* cosine) = vellum::tableSineCosine;
float (*sqrt_simd)(float value) = vellum::plainSqrt;
float (*rsqrt_simd)(float value) = vellum::plainRsqrt;
void* (*memcpy_simd)(void* destination, const void* source, size_t length) = vellum::plainMemcpy;
}
