#include <limits>

#include "shell/display/screen_geometry.h"

namespace vellum {

int32_t mulDiv(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return 0;
  // Sizes are 32-bit, so the product fits in 64 bits.
  const int64_t q = a * b / c;
  if (q > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (q < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(q);
}

float ratioOr(float a, float b, float fallback) { return b == 0.0f ? fallback : a / b; }

}  // namespace vellum
