// Table-driven math shared with plug-ins: a 65536-entry sine table behind sin_simd, cos_simd and
// sincos_simd, and an arctangent table behind atan2_fast (all declared in vellum/exports.h).
#pragma once

#include <cstddef>

namespace vellum {

inline constexpr size_t kSineTableSize = 65536;  // entry i = sin(i * 2 pi / 65536)
inline constexpr size_t kArctangentSteps = 256;  // entry i = atan(i / 256), i = 0 ... 256

// Builds both tables; later calls do nothing. Every function reading them calls it first, so
// nothing is computed before a game or a plug-in asks for a sine or an arctangent.
void initMathTables();

// The tables (built if they were not yet), for tests and for vector implementations of the same
// functions.
const float* sineTable();
const float* arctangentTable();  // kArctangentSteps + 1 entries: the diagonal is entry 256

}  // namespace vellum
