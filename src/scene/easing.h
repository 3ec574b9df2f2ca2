// The 41 easing curves (indexed -20 ... 20) and the progress functions that transitions, animation
// tracks and screen transforms compute their values with.
//
// Index 0 is linear; 1 ... 10 the OUT form of sine, quad, cubic, quart, quint, expo, circ, elastic,
// back and bounce; -1 ... -10 their IN form; 11 ... 20 IN-OUT; -11 ... -20 OUT-IN.
#pragma once

#include <cstdint>

namespace vellum {

constexpr int32_t kEasingMin = -20, kEasingMax = 20;

// Curve e at t (0 ... 1) from start b by change c. An index outside the table is linear.
float ease(int32_t e, float t, float b, float c);

// m scaled by the progress t of d under curve e, truncated toward zero. Linear progress is exact
// integer arithmetic (64-bit, so large m·t do not wrap). d <= 0 counts as finished: m.
int32_t progress(int32_t m, int64_t t, int64_t d, int32_t e);
// The same in single precision.
float progressF(int32_t m, int64_t t, int64_t d, int32_t e);

}  // namespace vellum
