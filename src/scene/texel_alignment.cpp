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

bool texelCopyPlacement(const Matrix& world, const Matrix& view, const Matrix& projection, const TileQuad& quad,
                        const SpriteTile& tile, int targetW, int targetH, gpu::Rect& texels, int32_t& toX, int32_t& toY) {
  if (!texelsLandOnPixels(world, view, projection, quad, tile, targetW, targetH)) return false;
  const SpriteTarget target{static_cast<float>(targetW) / 2, static_cast<float>(targetH) / 2};
  float x = 0, y = 0;
  projectModelPoint(world, view, projection, target, quad.corners[0].x, quad.corners[0].y, x, y);
  const float texW = static_cast<float>(tile.textureW), texH = static_cast<float>(tile.textureH);
  const float s0 = quad.corners[0].u0 * texW, t0 = quad.corners[0].v0 * texH;
  const float s1 = quad.corners[3].u0 * texW, t1 = quad.corners[3].v0 * texH;
  // Whole texel edges put the quad's edges half-way between pixel centres (pixel i is centred on i).
  const auto whole = [](float v) { return near(v, std::round(v)); };
  if (!whole(s0) || !whole(t0) || !whole(s1) || !whole(t1)) return false;
  texels = {static_cast<int32_t>(std::lround(s0)), static_cast<int32_t>(std::lround(t0)),
            static_cast<int32_t>(std::lround(s1)), static_cast<int32_t>(std::lround(t1))};
  toX = static_cast<int32_t>(std::lround(x + 0.5f));
  toY = static_cast<int32_t>(std::lround(y + 0.5f));
  return true;
}

}  // namespace vellum
