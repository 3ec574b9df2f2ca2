// Whether a tile quad shows its texture texel for pixel: unscaled, unrotated and with every
// texel centre on a pixel centre. There a linear filter returns the texel itself, and point
// sampling gives the same picture for far less work on a software rasteriser.
#pragma once

#include "platform/gpu/gpu_types.h"
#include "scene/sprite_matrices.h"

namespace vellum {

// The quad as the matrices place it on a target of targetW x targetH pixels.
bool texelsLandOnPixels(const Matrix& world, const Matrix& view, const Matrix& projection, const TileQuad& quad,
                        const SpriteTile& tile, int targetW, int targetH);

// For a quad whose texels land on pixels with its edges between pixels (whole texels): the
// texels it shows and the target pixel of the first one's top-left. False where an edge runs
// through pixel centres, where the rasteriser's edge rule decides which pixels it covers.
bool texelCopyPlacement(const Matrix& world, const Matrix& view, const Matrix& projection, const TileQuad& quad,
                        const SpriteTile& tile, int targetW, int targetH, gpu::Rect& texels, int32_t& toX, int32_t& toY);

}  // namespace vellum
