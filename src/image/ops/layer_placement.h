// Where a layer lands on a base picture: the overlap of the two, after the base has grown to
// take the whole layer when asked to.
#pragma once

#include "image/image.h"
#include "image/ops/pixel_rect.h"

namespace vellum {

struct LayerPlacement {
  PixelRect overlap;         // in base coordinates
  int64_t layerX = 0, layerY = 0;  // the layer's top-left corner in base coordinates
};

// With `expand`, *base is first replaced by a picture covering the union of both rectangles (the
// new area transparent, the old pixels moved by the growth to the left and top, left and top
// adjusted so the old pixels keep their place). Fails with a report under `code` when memory runs
// out or the layer does not touch the base.
bool placeLayer(const char* code, Image** base, const Image& layer, int x, int y, bool expand, LayerPlacement& placement);

}  // namespace vellum
