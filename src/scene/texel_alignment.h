// Whether a tile quad shows its texture texel for pixel: unscaled, unrotated and with every
// texel centre on a pixel centre. There a linear filter returns the texel itself, and point
// sampling gives the same picture for far less work on a software rasteriser.
#pragma once

#include "scene/sprite_matrices.h"

namespace vellum {

// The quad as the matrices place it on a target of targetW x targetH pixels.
bool texelsLandOnPixels(const Matrix& world, const Matrix& view, const Matrix& projection, const TileQuad& quad,
                        const SpriteTile& tile, int targetW, int targetH);

}  // namespace vellum
