// Rectangles in picture coordinates. Arguments come from scripts and plug-ins, so edges are
// computed in 64 bits and clipped before anything is indexed.
#pragma once

#include <algorithm>
#include <cstdint>

#include "image/image.h"

namespace vellum {

struct PixelRect {
  int64_t x = 0, y = 0, width = 0, height = 0;

  int64_t right() const { return x + width; }
  int64_t bottom() const { return y + height; }
  bool empty() const { return width <= 0 || height <= 0; }
  bool operator==(const PixelRect&) const = default;
};

inline PixelRect intersect(const PixelRect& a, const PixelRect& b) {
  const int64_t left = std::max(a.x, b.x), top = std::max(a.y, b.y);
  const int64_t right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

inline PixelRect unite(const PixelRect& a, const PixelRect& b) {
  const int64_t left = std::min(a.x, b.x), top = std::min(a.y, b.y);
  return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

inline PixelRect boundsOf(const Image& image) { return {0, 0, image.width, image.height}; }

// Row pointers; callers pass coordinates already clipped to the picture.
inline uint32_t* rowOf(Image& image, int64_t y) { return image.pixels + y * image.width; }
inline const uint32_t* rowOf(const Image& image, int64_t y) { return image.pixels + y * image.width; }

}  // namespace vellum
