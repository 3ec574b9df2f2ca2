// The per-channel formulas of the blend modes: d is the base channel, s the layer channel, both
// 0-255. Integer arithmetic; divisions truncate toward zero. The start-up tables hold these values
// for every (d, s), so the compositing loops never evaluate them.
#pragma once

#include <cstdint>

namespace vellum {

enum BlendMode : int {
  kBlendReplace = 0,
  kBlendNormal = 1,
  kBlendAdd = 2,
  kBlendSubtract = 3,
  kBlendMultiply = 4,
  kBlendDivide = 5,
  kBlendScreen = 6,
  kBlendLighten = 7,
  kBlendDarken = 8,
  kBlendDifference = 9,
  kBlendExclusion = 10,
  kBlendAddAlso = 11,  // a second number for add, kept for pictures that carry it
  kBlendColourDodge = 12,
  kBlendLinearBurn = 13,
  kBlendColourBurn = 14,
  kBlendOverlay = 15,
  kBlendHardLight = 16,
  kBlendSoftLight = 17,
  kBlendVividLight = 18,
  kBlendLinearLight = 19,
  kBlendPinLight = 20,
  kBlendHardMix = 21,
};

constexpr int kBlendModeCount = 22;

// F(d, s) for modes 1-21 (mode 1 gives s). Any other mode gives d.
uint8_t blendFormula(int mode, int d, int s);

}  // namespace vellum
