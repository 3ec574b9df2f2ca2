// Lookup tables of the image operations, built once. Two-value tables are indexed d * 256 + s.
#pragma once

#include <array>
#include <cstdint>

#include "image/ops/blend_formulas.h"

namespace vellum {

struct ImageTables {
  using PairTable = std::array<uint8_t, 256 * 256>;
  using PairTable16 = std::array<uint16_t, 256 * 256>;

  // F(d, s) per blend mode; modes that share a formula share a table. Null for modes 0 and 1,
  // which the compositing code handles without a table.
  const PairTable* blend[kBlendModeCount] = {};
  // a_d + (255 - a_d) * a_s / 255: the alpha of a layer pixel laid over a base pixel.
  PairTable alphaUnion{};
  // round(65535 / x), 0 for x = 0.
  std::array<uint16_t, 256> reciprocal{};
  // round(s * 255 / d) and round(s * 256 / d), 0 for d = 0. Wider than a byte: s may exceed d.
  PairTable16 scale255{};
  PairTable16 scale256{};
  // Luminance weights of the red, green and blue channel values.
  std::array<float, 256> greyRed{}, greyGreen{}, greyBlue{};

 private:
  friend const ImageTables& imageTables();
  ImageTables();
  PairTable formulas_[kBlendModeCount]{};
};

// Builds the tables on first use (any thread) and returns them.
const ImageTables& imageTables();

// Builds the tables now, so the first operation does not pay for it. Safe to call repeatedly.
void initImageTables();

}  // namespace vellum
