// Alpha compositing of one layer pixel over one base pixel with a blend formula F, the rule shared
// by the blend modes 1-21, compositeImage's normal mode and colImage:
//   layer alpha 0: the base pixel stays;  base alpha 0: the layer pixel is copied;
//   both opaque: F(d, s);
//   opaque base: ((F * a_s + d * (255 - a_s) + 1) * 257) >> 16, alpha 255;
//   opaque layer: ((F * a_d + s * (255 - a_d) + 1) * 257) >> 16, alpha 255;
//   both partial: alpha a = a_d + (255 - a_d) * a_s / 255, and with A = a_s * a_d / 255,
//     B = a_d - A each channel ((d * B + F * A + s * (a_s - A) + 1) * round(65535 / a)) >> 16,
//     clamped to 255 (the rounded reciprocal can carry a sum just past it); the normal mode uses
//     d + (s - d) * round(a_s * 256 / a) / 256 instead.
#pragma once

#include <algorithm>
#include <cstdint>

#include "image/ops/image_tables.h"
#include "image/ops/pixel.h"

namespace vellum {

// `formula` is the mode's table, or null for the normal mode (F = s). `layerAlpha` is the layer
// pixel's alpha after any opacity was applied.
inline uint32_t compositePixel(uint32_t base, uint32_t layer, uint32_t layerAlpha, const uint8_t* formula,
                               const ImageTables& t) {
  const uint32_t as = layerAlpha;
  const uint32_t ad = pixel::alpha(base);
  if (as == 0) return base;
  if (ad == 0) return (layer & pixel::kColourMask) | (as << 24);

  uint32_t f[3], d[3], s[3];
  for (int c = 0; c < 3; ++c) {
    d[c] = pixel::channel(base, c);
    s[c] = pixel::channel(layer, c);
    f[c] = formula ? formula[d[c] << 8 | s[c]] : s[c];
  }
  uint32_t out[3];
  uint32_t alpha = 255;
  if (as == 255 && ad == 255) {
    for (int c = 0; c < 3; ++c) out[c] = f[c];
  } else if (ad == 255) {
    for (int c = 0; c < 3; ++c) out[c] = ((f[c] * as + d[c] * (255 - as) + 1) * 257) >> 16;
  } else if (as == 255) {
    for (int c = 0; c < 3; ++c) out[c] = ((f[c] * ad + s[c] * (255 - ad) + 1) * 257) >> 16;
  } else {
    alpha = t.alphaUnion[ad << 8 | as];
    if (!formula) {
      const int k = t.scale256[alpha << 8 | as];
      for (int c = 0; c < 3; ++c) {
        const int dc = static_cast<int>(d[c]);
        out[c] = static_cast<uint32_t>(dc + (static_cast<int>(s[c]) - dc) * k / 256);
      }
    } else {
      const uint32_t shared = as * ad / 255, baseOnly = ad - shared, recip = t.reciprocal[alpha];
      for (int c = 0; c < 3; ++c) {
        const uint32_t sum = d[c] * baseOnly + f[c] * shared + s[c] * (as - shared) + 1;
        out[c] = std::min<uint32_t>(255, (sum * recip) >> 16);
      }
    }
  }
  return pixel::make(alpha, out[2], out[1], out[0]);
}

}  // namespace vellum
