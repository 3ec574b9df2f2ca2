// Unaligned little-endian word loads for the bit readers.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace vellum {

inline uint64_t loadLe64(const uint8_t* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
  return w;
}

}  // namespace vellum
