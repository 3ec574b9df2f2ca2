// Render size and the ratios derived from it.
#include <cmath>
#include <limits>

#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

// ⌊v + 0.5⌋ held inside the int32 range.
int32_t roundHalfUp(double v) {
  const double r = std::floor(v + 0.5);
  if (r > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (r < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

}  // namespace

RenderSize computeRenderSize(int32_t gameW, int32_t gameH, int32_t resolution) {
  RenderSize r;
  // Without a game width (or a usable Resolution) there is nothing to scale by: 1:1.
  if (gameW > 0 && resolution > 0) r.scale = static_cast<float>(resolution) / static_cast<float>(gameW);
  r.renderW = roundHalfUp(static_cast<double>(static_cast<float>(gameW) * r.scale));
  r.renderH = roundHalfUp(static_cast<double>(static_cast<float>(gameH) * r.scale));
  r.aspect = r.renderH > 0 ? static_cast<float>(r.renderW) / static_cast<float>(r.renderH) : 1.0f;
  return r;
}

ReferenceRatios computeReferenceRatios(int32_t gameW, int32_t refW, int32_t resolution) {
  ReferenceRatios r;
  r.refToGame = ratioOr(static_cast<float>(refW), static_cast<float>(gameW), 1.0f);
  r.gameToRef = ratioOr(static_cast<float>(gameW), static_cast<float>(refW), 1.0f);
  r.resolutionToRef = ratioOr(static_cast<float>(resolution), static_cast<float>(refW), 1.0f);
  return r;
}

int32_t screenRate(float scale) {
  const float rate = scale * 100.0f;
  if (!(rate > -2147483648.0f && rate < 2147483647.0f)) return 0;
  return static_cast<int32_t>(rate);
}

int32_t screenHeightForWidth(int32_t gameW, int32_t gameH, int32_t renderW) { return mulDiv(gameH, renderW, gameW); }

}  // namespace vellum
