// Rounded integer division, (value + divisor / 2) / divisor, through one reciprocal so that a
// pixel's several channels cost one division instead of one each. Exact for values below 2^32,
// divisors below 2^28 and quotients below 2^16: the double product is off by far less than the
// 1e-9 nudge, and the nudge is less than the 1 / divisor gap between a true quotient that is not
// a whole number and the next whole number.
#pragma once

#include <cstdint>

namespace vellum {

class RoundedDivision {
 public:
  explicit RoundedDivision(uint32_t divisor) : half_(divisor / 2), inverse_(1.0 / divisor) {}

  uint32_t of(uint32_t value) const {
    return static_cast<uint32_t>((static_cast<double>(value) + half_) * inverse_ + 1e-9);
  }

 private:
  double half_;
  double inverse_;
};

}  // namespace vellum
