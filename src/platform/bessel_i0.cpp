#include "platform/bessel_i0.h"

namespace vellum {

// The power series sum of ((x/2)^k / k!)^2: every term is positive, so nothing cancels and the sum
// is exact to the last bits; it stops once a term no longer changes it.
double besselI0(double x) {
  const double quarterSquare = x * x / 4;
  double term = 1;
  double sum = 1;
  for (int k = 1; k < 500; ++k) {
    term *= quarterSquare / (static_cast<double>(k) * k);
    const double next = sum + term;
    if (next == sum) break;
    sum = next;
  }
  return sum;
}

}  // namespace vellum
