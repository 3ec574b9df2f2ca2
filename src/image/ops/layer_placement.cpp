#include "image/ops/layer_placement.h"

#include <cstring>
#include <limits>

#include "image/ops/ops_report.h"
#include "image/ops/output_image.h"

namespace vellum {

namespace {

bool growBase(const char* code, Image** base, const PixelRect& area) {
  constexpr int64_t kMaxSide = std::numeric_limits<int32_t>::max();
  if (area.width > kMaxSide || area.height > kMaxSide) {
    reportImageFailure(code, ImageFailure::Memory);
    return false;
  }
  const Image& old = **base;
  Image* grown = createImage(static_cast<int>(area.width), static_cast<int>(area.height), 32);
  if (!grown) {
    reportImageFailure(code, ImageFailure::Memory);
    return false;
  }
  for (int64_t y = 0; y < old.height; ++y) {
    std::memcpy(rowOf(*grown, y - area.y) - area.x, rowOf(old, y), static_cast<size_t>(old.width) * 4);
  }
  copyMetadata(grown, &old);
  grown->bitsPerPixel = 32;
  grown->left = static_cast<int32_t>(old.left + area.x);
  grown->top = static_cast<int32_t>(old.top + area.y);
  freeImage(*base);
  *base = grown;
  return true;
}

}  // namespace

bool placeLayer(const char* code, Image** base, const Image& layer, int x, int y, bool expand, LayerPlacement& placement) {
  PixelRect layerRect{x, y, layer.width, layer.height};
  if (expand) {
    const PixelRect area = unite(boundsOf(**base), layerRect);
    if (!(area == boundsOf(**base))) {
      if (!growBase(code, base, area)) return false;
      layerRect.x -= area.x;
      layerRect.y -= area.y;
    }
  }
  placement.overlap = intersect(boundsOf(**base), layerRect);
  placement.layerX = layerRect.x;
  placement.layerY = layerRect.y;
  if (placement.overlap.empty()) {
    reportImageFailure(code, ImageFailure::OutOfRange);
    return false;
  }
  return true;
}

}  // namespace vellum
