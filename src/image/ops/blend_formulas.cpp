#include "image/ops/blend_formulas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vellum {

namespace {

int vividLight(int d, int s) {
  if (s > 127) return s == 255 ? 255 : std::min(255, d * 255 / ((255 - s) * 2));
  return s == 0 ? 0 : std::max(0, (d - 255) * 255 / (2 * s) + 255);
}

// 2ds/255 is the shared core of overlay and hard light; the high branch is the screen half.
int overlayLike(int d, int s, bool high) {
  const int b = 2 * d * s / 255;
  return (high ? 2 * (d + s) - b - 255 : b) & 0xFF;
}

int softLight(int d, int s) {
  const double exponent = s > 127 ? 127.5 / s : 2.0 - s / 127.5;
  // The tiny bias keeps exact integers (d = 255, exponent 1) from truncating one below.
  return static_cast<int>(255.0 * std::pow(d / 255.0, exponent) + 1e-9);
}

}  // namespace

uint8_t blendFormula(int mode, int d, int s) {
  int v = d;
  switch (mode) {
    case kBlendNormal: v = s; break;
    case kBlendAdd:
    case kBlendAddAlso: v = std::min(255, d + s); break;
    case kBlendSubtract: v = std::max(0, d - s); break;
    case kBlendMultiply: v = d * s / 255; break;
    case kBlendDivide: v = s == 0 ? d : std::min(255, d * 255 / s); break;
    case kBlendScreen: v = d + s - d * s / 255; break;
    case kBlendLighten: v = std::max(d, s); break;
    case kBlendDarken: v = std::min(d, s); break;
    case kBlendDifference: v = std::abs(d - s); break;
    case kBlendExclusion: v = d + s - 2 * d * s / 255; break;
    case kBlendColourDodge:
      v = (s == 255 || d * 255 / (255 - s) > 255) ? 255 : d * 255 / (255 - s);
      break;
    case kBlendLinearBurn: v = std::max(0, d + s - 255); break;
    case kBlendColourBurn: v = s == 0 ? 0 : std::max(0, (d - 255) * 255 / s + 255); break;
    case kBlendOverlay: v = overlayLike(d, s, d > 127); break;
    case kBlendHardLight: v = overlayLike(d, s, s > 127); break;
    case kBlendSoftLight: v = softLight(d, s); break;
    case kBlendVividLight: v = vividLight(d, s); break;
    case kBlendLinearLight: {
      const int lin = d - 255 + 2 * s;
      v = s > 127 ? std::min(255, lin) : std::max(0, lin);
      break;
    }
    case kBlendPinLight: v = s > 127 ? std::max(d, 2 * s - 255) : std::min(d, 2 * s); break;
    case kBlendHardMix: v = vividLight(d, s) >= 128 ? 255 : 0; break;
    default: break;
  }
  return static_cast<uint8_t>(v);
}

}  // namespace vellum
