#include "image/tlg6_golomb_encoder.h"

#include <bit>

#include "image/tlg6_golomb_table.h"

namespace vellum {

namespace {

void putGamma(BitWriter& out, size_t length) {
  const int k = std::bit_width(length) - 1;
  out.putZeros(k);
  out.put(1, 1);
  out.put(static_cast<uint32_t>(length - (size_t{1} << k)), k);
}

}  // namespace

void encodeGolombChannel(const uint8_t* residuals, size_t count, BitWriter& out) {
  if (count == 0) return;
  out.put(residuals[0] != 0 ? 1 : 0, 1);
  int a = 0;
  int n = kGolombCountdown;
  size_t i = 0;
  while (i < count) {
    const bool zeros = residuals[i] == 0;
    size_t end = i + 1;
    while (end < count && (residuals[end] == 0) == zeros) ++end;
    putGamma(out, end - i);
    if (!zeros) {
      for (; i < end; ++i) {
        const int v = static_cast<int8_t>(residuals[i]);
        const uint32_t t = v > 0 ? static_cast<uint32_t>(2 * v - 1) : static_cast<uint32_t>(-2 * v - 2);
        const int k = golombBitLength(a, n);
        const uint32_t q = t >> k;
        // The decoder looks at the rest of the next four bytes: all zero there means escape.
        const int window = 32 - out.bitInByte();
        if (q < static_cast<uint32_t>(window)) {
          out.putZeros(static_cast<int>(q));
          out.put(1, 1);
        } else {
          out.putZeros(window);
          out.put(q, 8);
        }
        out.put(t, k);
        a += static_cast<int>(t >> 1);
        if (--n < 0) {
          a >>= 1;
          n = kGolombCountdown;
        }
      }
    }
    i = end;
  }
}

}  // namespace vellum
