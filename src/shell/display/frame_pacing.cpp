#include <numeric>

#include "shell/display/screen_geometry.h"

namespace vellum {

FramePacing framePacingFor(int32_t rate) {
  // An unknown refresh rate (0) disables the wait rather than dividing by nothing.
  if (rate <= 0) return {};
  const int32_t g = std::gcd(1000, rate);
  return {1000 / g, rate / g};
}

}  // namespace vellum
