// Arithmetic on whole 0xAARRGGBB words, each byte on its own: sums wrap inside a byte and never
// carry into the next one.
#pragma once

#include <cstdint>

namespace vellum {

inline uint32_t packedAdd(uint32_t a, uint32_t b) {
  return ((a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu)) ^ ((a ^ b) & 0x80808080u);
}

inline uint32_t packedSub(uint32_t a, uint32_t b) {
  return ((a | 0x80808080u) - (b & 0x7F7F7F7Fu)) ^ ((a ^ ~b) & 0x80808080u);
}

// ceil((a + b) / 2) per byte.
inline uint32_t packedAverageUp(uint32_t a, uint32_t b) { return (a | b) - (((a ^ b) >> 1) & 0x7F7F7F7Fu); }

inline uint32_t packBytes(uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
  return (b & 0xFF) | (g & 0xFF) << 8 | (r & 0xFF) << 16 | (a & 0xFF) << 24;
}

// An opaque grey pixel whose three colour bytes are v.
inline uint32_t opaqueGrey(uint32_t v) { return 0xFF000000u | (v & 0xFF) * 0x010101u; }

}  // namespace vellum
