// Grey value of a pixel for the 8-bit writers: round(0.298912 R + 0.586611 G + 0.114477 B) in
// 16-bit fixed point. The weights sum to exactly 1, so a grey pixel keeps its value.
#pragma once

#include <cstdint>

namespace vellum {

inline uint8_t pixelLuminance(uint32_t pixel) {
  // 0.298912, 0.586611 and 0.114477 times 65536, rounded so that the three sum to 65536.
  constexpr uint32_t kRed = 19589;
  constexpr uint32_t kGreen = 38444;
  constexpr uint32_t kBlue = 7503;
  const uint32_t b = pixel & 0xFF;
  const uint32_t g = (pixel >> 8) & 0xFF;
  const uint32_t r = (pixel >> 16) & 0xFF;
  return static_cast<uint8_t>((kRed * r + kGreen * g + kBlue * b + 32768) >> 16);
}

}  // namespace vellum
