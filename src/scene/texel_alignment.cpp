#include "scene/texel_alignment.h"

#include <cmath>

namespace vellum {

namespace {

// Far below what moves a filter weight (a 256th of a texel), far above the rounding of the
// matrices' single-precision arithmetic at a few thousand pixels.
constexpr float kTolerance = 1.0f / 1024;

bool near(float a, float b) { return std::fabs(a - b) <= kTolerance; }

// Distance of x from the nearest whole number plus one half.
float offHalf(float x) { return std::fabs(x - std::floor(x) - 0.5f); }

}  // namespace

bool texelsLandOnPixels(const Matrix& world, const Matrix& view, const Matrix& projection, const TileQuad& quad,
                        const SpriteTile& tile, int targetW, int targetH) {
  if (tile.textureW <= 0 || tile.textureH <= 0 || targetW <= 0 || targetH <= 0) return false;
  const SpriteTarget target{static_cast<float>(targetW) / 2, static_cast<float>(targetH) / 2};
  // Corners in strip order: top-left, top-right, bottom-left, bottom-right.
  float x[4], y[4];
  for (size_t i = 0; i < 4; ++i) projectModelPoint(world, view, projection, target, quad.corners[i].x, quad.corners[i].y, x[i], y[i]);
  const SpriteVertex& a = quad.corners[0];
  const SpriteVertex& d = quad.corners[3];
  const float texW = static_cast<float>(tile.textureW), texH = static_cast<float>(tile.textureH);
  // Texel coordinates of the left and top edges; the quad must span as many pixels as texels.
  const float s0 = a.u0 * texW, t0 = a.v0 * texH;
  const float s1 = d.u0 * texW, t1 = d.v0 * texH;
  if (!near(x[0], x[2]) || !near(x[1], x[3]) || !near(y[0], y[1]) || !near(y[2], y[3])) return false;
  if (!near(x[1] - x[0], s1 - s0) || !near(y[2] - y[0], t1 - t0) || s1 <= s0 || t1 <= t0) return false;
  // Pixel centre i samples texel coordinate s0 + (i - x0): a texel centre when that has a half.
  return offHalf(s0 - x[0]) <= kTolerance && offHalf(t0 - y[0]) <= kTolerance;
}

}  // namespace vellum
