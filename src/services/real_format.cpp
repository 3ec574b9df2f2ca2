// Float and double -> text: the integer part, then up to six rounded fraction digits without
// trailing zeros. Rounding the fraction up to a whole carries into the integer part (1.9999999
// prints "2").
#include <cmath>
#include <cstdio>
#include <cstring>

#include "services/digits.h"
#include "vellum/exports.h"

namespace {

constexpr uint32_t kFractionScale = 1000000;  // six fraction digits

char* copyText(const char* text, char* out) {
  std::memcpy(out, text, std::strlen(text) + 1);
  return out;
}

// Writes "." and the six digits of fraction, then drops trailing zeros (and the point with them).
void writeFraction(uint32_t fraction, char* out) {
  char* point = out;
  *out++ = '.';
  for (uint32_t scale = kFractionScale / 10; scale > 0; scale /= 10)
    *out++ = static_cast<char>('0' + fraction / scale % 10);
  while (out[-1] == '0') --out;
  if (out - 1 == point) --out;
  *out = '\0';
}

template <typename Real>
char* writeReal(Real value, char* buffer) {
  if (std::isnan(value)) return copyText("nan", buffer);
  if (value == 0) return copyText("0", buffer);
  char* out = buffer;
  if (value < 0) {
    *out++ = '-';
    value = -value;
  }
  if (std::isinf(value)) {
    copyText("inf", out);
    return buffer;
  }
  // Beyond 64 bits a value is a whole number; print all of its digits exactly.
  if (value >= static_cast<Real>(18446744073709551616.0)) {
    std::snprintf(out, vellum::kRealTextCapacity - 1, "%.0f", static_cast<double>(value));
    return buffer;
  }
  uint64_t integer = static_cast<uint64_t>(value);
  const Real fraction = value - static_cast<Real>(integer);
  uint32_t fractionDigits = 0;
  if (fraction != 0) {
    fractionDigits = static_cast<uint32_t>(fraction * static_cast<Real>(kFractionScale) + static_cast<Real>(0.5));
    if (fractionDigits >= kFractionScale) {
      ++integer;
      fractionDigits = 0;
    }
  }
  out = vellum::writeUnsigned<uint64_t>(integer, 10, out);
  if (fractionDigits != 0) writeFraction(fractionDigits, out);
  return buffer;
}

}  // namespace

char* ftoa10(float value, char* buffer) { return writeReal(value, buffer); }
char* dtoa10(double value, char* buffer) { return writeReal(value, buffer); }
