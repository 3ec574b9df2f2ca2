#include "image/ops/image_tables.h"

#include <cmath>

namespace vellum {

namespace {

uint16_t roundedQuotient(int numerator, int denominator) {
  return denominator == 0 ? 0 : static_cast<uint16_t>((numerator + denominator / 2) / denominator);
}

}  // namespace

ImageTables::ImageTables() {
  for (int mode = kBlendAdd; mode < kBlendModeCount; ++mode) {
    if (mode == kBlendAddAlso) continue;
    PairTable& table = formulas_[mode];
    for (int d = 0; d < 256; ++d) {
      for (int s = 0; s < 256; ++s) table[d * 256 + s] = blendFormula(mode, d, s);
    }
    blend[mode] = &table;
  }
  blend[kBlendAddAlso] = blend[kBlendAdd];

  for (int d = 0; d < 256; ++d) {
    for (int s = 0; s < 256; ++s) {
      const int i = d * 256 + s;
      alphaUnion[i] = static_cast<uint8_t>(d + (255 - d) * s / 255);
      scale255[i] = roundedQuotient(s * 255, d);
      scale256[i] = roundedQuotient(s * 256, d);
    }
  }
  for (int x = 0; x < 256; ++x) {
    reciprocal[x] = roundedQuotient(65535, x);
    greyRed[x] = static_cast<float>(x * 0.298912);
    greyGreen[x] = static_cast<float>(x * 0.586611);
    greyBlue[x] = static_cast<float>(x * 0.114477);
  }
}

const ImageTables& imageTables() {
  // A function-local static is built exactly once even when threads race to the first call.
  static const ImageTables tables;
  return tables;
}

void initImageTables() { (void)imageTables(); }

}  // namespace vellum
