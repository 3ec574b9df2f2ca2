// The three matrices a sprite is drawn with, and the corners of its cell in model units.
#pragma once

#include <array>
#include <vector>

#include "scene/sprite_table.h"

namespace vellum {

using Matrix = std::array<float, 16>;  // row-major, row vectors (v' = v * M)

struct SpriteTarget {
  float halfW = 400, halfH = 300;  // half the target's size in pixels
  float renderScale = 1;           // render pixels per target pixel (pictures in render pixels)
};

// World, view and projection for a buffer's properties and picture on a target.
void buildSpriteMatrices(const SpriteProperties& props, const SpritePicture& picture, const SpriteTarget& target,
                         Matrix& world, Matrix& view, Matrix& projection);

// Where a model point lands on the target, in pixel-centre coordinates (pixel (i, j) is centred on
// (i, j)); used by tests and the screenshot rebuild.
void projectModelPoint(const Matrix& world, const Matrix& view, const Matrix& projection, const SpriteTarget& target,
                       float mx, float my, float& px, float& py);

// The quads of the visible cell, one per tile it touches (tile index, four corners in strip order).
struct TileQuad {
  int tile = 0;
  std::array<SpriteVertex, 4> corners;
};
void cellQuads(const SpriteProperties& props, const SpritePicture& picture, std::vector<TileQuad>& out);

}  // namespace vellum
