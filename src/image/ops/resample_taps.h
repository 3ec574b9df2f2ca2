// The weights a resampler gives the source pixels of one axis: for every target position a short
// list of (source index, weight) pairs. Weights are fixed point with 14 fraction bits and the
// weights of one target position always sum to exactly 1 << 14, so a plain area stays plain.
// A position's taps come in ascending source order, each source index at most once.
#pragma once

#include <cstdint>
#include <vector>

namespace vellum {

enum class Resampler {
  Nearest,      // the source pixel under the target pixel's centre
  AreaAverage,  // the mean of the source area the target pixel covers (exact coverage)
  Bilinear,     // linear interpolation between the two nearest source centres
  Bicubic,      // Catmull-Rom cubic over the four nearest source centres
};

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;

struct AxisTaps {
  std::vector<int32_t> start;  // target position i uses taps start[i] .. start[i + 1] - 1
  std::vector<int32_t> index;  // source index of each tap, within [0, source size)
  std::vector<int32_t> weight;

  int32_t taps(int i) const { return start[i + 1] - start[i]; }
};

// Throws std::bad_alloc when the lists do not fit in memory.
AxisTaps makeAxisTaps(Resampler kind, int sourceSize, int targetSize);

}  // namespace vellum
