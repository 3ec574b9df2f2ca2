// The two TLG6 predictors on whole pixels, one byte at a time: MED from the left, above and
// above-left pixels, and AVG, the upward-rounded mean of left and above.
#pragma once

#include <algorithm>
#include <cstdint>

#include "image/packed_pixels.h"

namespace vellum {

// l + u - c clamped to [min(l, u), max(l, u)], computed as min + max - clamp(c, min, max) so
// that no intermediate leaves 0 ... 255.
inline uint32_t medianPredictByte(uint32_t l, uint32_t u, uint32_t c) {
  const uint32_t low = std::min(l, u);
  const uint32_t high = std::max(l, u);
  return low + high - std::clamp(c, low, high);
}

inline uint32_t medianPredict(uint32_t left, uint32_t above, uint32_t aboveLeft) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    result |= medianPredictByte((left >> shift) & 0xFF, (above >> shift) & 0xFF, (aboveLeft >> shift) & 0xFF) << shift;
  }
  return result;
}

inline uint32_t averagePredict(uint32_t left, uint32_t above) { return packedAverageUp(left, above); }

}  // namespace vellum
