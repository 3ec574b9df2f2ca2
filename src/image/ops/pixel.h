// Channel access for the 0xAARRGGBB pixel words of a picture.
#pragma once

#include <cstdint>

namespace vellum::pixel {

constexpr uint32_t alpha(uint32_t p) { return p >> 24; }
constexpr uint32_t red(uint32_t p) { return (p >> 16) & 0xFF; }
constexpr uint32_t green(uint32_t p) { return (p >> 8) & 0xFF; }
constexpr uint32_t blue(uint32_t p) { return p & 0xFF; }

constexpr uint32_t make(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

constexpr uint32_t kColourMask = 0x00FFFFFF;
constexpr uint32_t kOpaque = 0xFF000000;

// Channel i of a pixel, 0 = blue, 1 = green, 2 = red, 3 = alpha (the byte order in memory).
constexpr uint32_t channel(uint32_t p, int i) { return (p >> (8 * i)) & 0xFF; }

}  // namespace vellum::pixel
