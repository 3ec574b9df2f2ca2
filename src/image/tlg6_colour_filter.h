// The sixteen TLG6 colour filters, each a short sequence of in-place byte additions on the
// residual's blue, green and red bytes (alpha untouched), and their inverses for the writer.
#pragma once

#include <cstdint>

namespace vellum {

constexpr int kTlg6ColourFilters = 16;

namespace detail {

struct Bgr {
  uint32_t b, g, r;
};

template <int F>
inline void forwardFilter(Bgr& p) {
  uint32_t& b = p.b;
  uint32_t& g = p.g;
  uint32_t& r = p.r;
  if constexpr (F == 1) { b += g; r += g; }
  else if constexpr (F == 2) { g += b; r += g; }
  else if constexpr (F == 3) { g += r; b += g; }
  else if constexpr (F == 4) { b += r; g += b; r += g; }
  else if constexpr (F == 5) { b += r; g += b; }
  else if constexpr (F == 6) { b += g; }
  else if constexpr (F == 7) { g += b; }
  else if constexpr (F == 8) { r += g; }
  else if constexpr (F == 9) { r += b; g += r; b += g; }
  else if constexpr (F == 10) { b += r; g += r; }
  else if constexpr (F == 11) { r += b; g += b; }
  else if constexpr (F == 12) { r += b; g += r; }
  else if constexpr (F == 13) { b += g; r += b; g += r; }
  else if constexpr (F == 14) { g += r; b += g; r += b; }
  else if constexpr (F == 15) { g += b << 1; r += b << 1; }
}

// The same steps undone in reverse order.
template <int F>
inline void inverseFilter(Bgr& p) {
  uint32_t& b = p.b;
  uint32_t& g = p.g;
  uint32_t& r = p.r;
  if constexpr (F == 1) { b -= g; r -= g; }
  else if constexpr (F == 2) { r -= g; g -= b; }
  else if constexpr (F == 3) { b -= g; g -= r; }
  else if constexpr (F == 4) { r -= g; g -= b; b -= r; }
  else if constexpr (F == 5) { g -= b; b -= r; }
  else if constexpr (F == 6) { b -= g; }
  else if constexpr (F == 7) { g -= b; }
  else if constexpr (F == 8) { r -= g; }
  else if constexpr (F == 9) { b -= g; g -= r; r -= b; }
  else if constexpr (F == 10) { g -= r; b -= r; }
  else if constexpr (F == 11) { g -= b; r -= b; }
  else if constexpr (F == 12) { g -= r; r -= b; }
  else if constexpr (F == 13) { g -= r; r -= b; b -= g; }
  else if constexpr (F == 14) { r -= b; b -= g; g -= r; }
  else if constexpr (F == 15) { r -= b << 1; g -= b << 1; }
}

inline Bgr unpack(uint32_t w) { return {w & 0xFF, (w >> 8) & 0xFF, (w >> 16) & 0xFF}; }
inline uint32_t repack(const Bgr& p, uint32_t w) {
  return (w & 0xFF000000u) | (p.b & 0xFF) | (p.g & 0xFF) << 8 | (p.r & 0xFF) << 16;
}

}  // namespace detail

template <int F>
inline uint32_t applyColourFilter(uint32_t residual) {
  if constexpr (F == 0) {
    return residual;
  } else {
    detail::Bgr p = detail::unpack(residual);
    detail::forwardFilter<F>(p);
    return detail::repack(p, residual);
  }
}

template <int F>
inline uint32_t undoColourFilter(uint32_t difference) {
  if constexpr (F == 0) {
    return difference;
  } else {
    detail::Bgr p = detail::unpack(difference);
    detail::inverseFilter<F>(p);
    return detail::repack(p, difference);
  }
}

// Run-time choice of the filter, for the slow paths and the tests.
uint32_t applyColourFilter(int filter, uint32_t residual);
uint32_t undoColourFilter(int filter, uint32_t difference);

}  // namespace vellum
