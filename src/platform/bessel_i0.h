// The modified Bessel function of the first kind of order zero, for Kaiser windows. Not every
// standard library has std::cyl_bessel_i (the web's lacks it), so every platform uses this.
#pragma once

namespace vellum {

// I0(x) to double precision for |x| up to a few hundred (windows use |x| below 50).
double besselI0(double x);

}  // namespace vellum
