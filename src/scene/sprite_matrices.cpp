#include "scene/sprite_matrices.h"

#include <algorithm>
#include <cmath>

#include "scene/picture_cache.h"

namespace vellum {

namespace {

constexpr float kFieldOfView = 0.01f;
constexpr float kNear = 0.01f, kFar = 100.0f;
constexpr float kEyeDistance = 2.0f;
constexpr float kDepth = 0.7f;
constexpr float kDegrees = 0.01745329f;

Matrix identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix multiply(const Matrix& a, const Matrix& b) {
  Matrix out{};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[static_cast<size_t>(r * 4 + k)] * b[static_cast<size_t>(k * 4 + c)];
      out[static_cast<size_t>(r * 4 + c)] = sum;
    }
  return out;
}

Matrix rotationX(float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
}
Matrix rotationY(float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
}
Matrix rotationZ(float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}
Matrix scaling(float x, float y, float z) { return {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}; }
Matrix translation(float x, float y, float z) { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}; }

// A picture in more pixels than the base screen is drawn at its base-screen size: a
// high-resolution variant shrunk by its factor, a picture in render pixels by the render scale.
float pictureSizeScale(const SpritePicture& picture, const SpriteTarget& target) {
  switch (picture.scaleKind) {
    case kScaleHighResolution: return 1.0f / static_cast<float>(kHighResolutionFactor);
    case kScaleRenderPixels: return target.renderScale > 0 ? 1.0f / target.renderScale : 1.0f;
    default: return 1.0f;
  }
}

// World units per target pixel on the sprite plane.
float unitsPerPixel(const SpriteTarget& t) { return (kDepth + kEyeDistance) * std::tan(kFieldOfView / 2) / t.halfH; }

}  // namespace

void buildSpriteMatrices(const SpriteProperties& p, const SpritePicture& picture, const SpriteTarget& target,
                         Matrix& world, Matrix& view, Matrix& projection) {
  // View: from (0, 0, -2) towards the origin, +y up.
  view = identity();
  view[14] = kEyeDistance;
  // Projection: left-handed perspective with a very narrow field, so the picture stays flat.
  const float yScale = 1.0f / std::tan(kFieldOfView / 2);
  const float aspect = target.halfH > 0 ? target.halfW / target.halfH : 1.0f;
  projection = {yScale / aspect, 0, 0, 0, 0, yScale, 0, 0, 0, 0, kFar / (kFar - kNear), 1, 0, 0,
                -kNear * kFar / (kFar - kNear), 0};
  // World: model units to pixels (one unit is half the first texture), then the rotations, then
  // onto the target so that the origin lands on (x - 0.5, y - 0.5).
  const float k = unitsPerPixel(target);
  const float size = pictureSizeScale(picture, target);
  const float unitX = static_cast<float>(std::max(picture.unitW, 1)) / 2 * p.scaleW * size;
  const float unitY = static_cast<float>(std::max(picture.unitH, 1)) / 2 * p.scaleH * size;
  Matrix m = scaling(unitX * k, unitY * k, k);
  m = multiply(m, rotationX(p.rotX * kDegrees));
  m = multiply(m, rotationY(p.rotY * kDegrees));
  m = multiply(m, rotationZ(p.rotZ * kDegrees));
  m = multiply(m, translation((p.x - 0.5f - target.halfW) * k, -(p.y - 0.5f - target.halfH) * k, kDepth));
  world = m;
}

void projectModelPoint(const Matrix& world, const Matrix& view, const Matrix& projection, const SpriteTarget& target,
                       float mx, float my, float& px, float& py) {
  const Matrix all = multiply(multiply(world, view), projection);
  const float v[4] = {mx, my, 0, 1};
  float clip[4] = {};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) clip[c] += v[r] * all[static_cast<size_t>(r * 4 + c)];
  // Device coordinates to the target: -1 is the centre of the first pixel, as the device places it.
  px = (clip[0] / clip[3] + 1) * target.halfW;
  py = (1 - clip[1] / clip[3]) * target.halfH;
}

void cellQuads(const SpriteProperties& p, const SpritePicture& picture, std::vector<TileQuad>& out) {
  out.clear();
  if (!picture.present()) return;
  const int32_t cellRows = picture.cellRows();
  const int32_t cells = picture.cellColumns() * cellRows;
  const int32_t cell = p.cell >= 0 && p.cell < cells ? p.cell : 0;
  // Cells are numbered down each column first.
  const float cellX = static_cast<float>((cell / cellRows) * picture.cellW);
  const float cellY = static_cast<float>((cell % cellRows) * picture.cellH);
  const float cellW = static_cast<float>(picture.cellW), cellH = static_cast<float>(picture.cellH);
  const float anchorX = static_cast<float>(p.anchorX) * cellW / 2, anchorY = static_cast<float>(p.anchorY) * cellH / 2;
  const float unitX = static_cast<float>(std::max(picture.unitW, 1)) / 2;
  const float unitY = static_cast<float>(std::max(picture.unitH, 1)) / 2;
  const uint32_t colour = 0x00FFFFFFu | (static_cast<uint32_t>(p.alpha & 0xFF) << 24);
  for (size_t i = 0; i < picture.tiles.size(); ++i) {
    const SpriteTile& t = picture.tiles[i];
    const float x0 = std::max(cellX, static_cast<float>(t.sourceX));
    const float x1 = std::min(cellX + cellW, static_cast<float>(t.sourceX + t.sourceW));
    const float y0 = std::max(cellY, static_cast<float>(t.sourceY));
    const float y1 = std::min(cellY + cellH, static_cast<float>(t.sourceY + t.sourceH));
    if (x0 >= x1 || y0 >= y1) continue;
    const auto corner = [&](float x, float y) {
      const float u = (x - static_cast<float>(t.sourceX)) / static_cast<float>(t.textureW);
      const float v = (y - static_cast<float>(t.sourceY)) / static_cast<float>(t.textureH);
      return SpriteVertex{(x - cellX - anchorX) / unitX, -(y - cellY - anchorY) / unitY, 0, colour, u, v, u, v};
    };
    out.push_back({static_cast<int>(i), {corner(x0, y0), corner(x1, y0), corner(x0, y1), corner(x1, y1)}});
  }
}

}  // namespace vellum
