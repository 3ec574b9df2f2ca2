#include "image/ops/difference.h"

#include <algorithm>
#include <cstdlib>

#include "image/ops/clipping.h"
#include "image/ops/ops_report.h"
#include "image/ops/output_image.h"
#include "image/ops/pixel.h"
#include "image/ops/pixel_rect.h"

namespace vellum {

namespace {

constexpr char kDifferenceCode[] = "DIF";

enum Comparison : int { kWholePixel = 0, kColourOnly = 1, kAlphaOnly = 2, kVisible = 3 };
constexpr int kClearUnchanged = 4;

bool channelsDiffer(uint32_t a, uint32_t b, int first, int last, int tolerance) {
  for (int c = first; c <= last; ++c) {
    if (std::abs(static_cast<int>(pixel::channel(a, c)) - static_cast<int>(pixel::channel(b, c))) > tolerance) return true;
  }
  return false;
}

bool pixelsDiffer(uint32_t a, uint32_t b, int comparison, int tolerance) {
  switch (comparison) {
    case kColourOnly: return channelsDiffer(a, b, 0, 2, tolerance);
    case kAlphaOnly: return channelsDiffer(a, b, 3, 3, tolerance);
    case kVisible:
      if (pixel::alpha(a) == 0 && pixel::alpha(b) == 0) return false;
      return channelsDiffer(a, b, 0, 3, tolerance);
    default: return channelsDiffer(a, b, 0, 3, tolerance);
  }
}

}  // namespace

int differenceImage(Image** base, const Image* other, int flags, int tolerance) {
  if (!base || !*base || !other) return reportImageFailure(kDifferenceCode, ImageFailure::NoPicture);
  const Image& b = **base;
  if (b.width != other->width || b.height != other->height) return reportImageFailure(kDifferenceCode, ImageFailure::SizeMismatch);
  const int comparison = flags & 3;
  tolerance = std::max(0, tolerance);

  int64_t left = b.width, top = b.height, right = -1, bottom = -1;
  for (int y = 0; y < b.height; ++y) {
    const uint32_t* rowA = rowOf(b, y);
    const uint32_t* rowB = rowOf(*other, y);
    for (int x = 0; x < b.width; ++x) {
      if (!pixelsDiffer(rowA[x], rowB[x], comparison, tolerance)) continue;
      left = std::min<int64_t>(left, x);
      right = std::max<int64_t>(right, x);
      top = std::min<int64_t>(top, y);
      bottom = y;
    }
  }
  const bool anyChange = right >= 0;
  const PixelRect changed = anyChange ? PixelRect{left, top, right - left + 1, bottom - top + 1} : PixelRect{0, 0, 1, 1};
  Image* result = nullptr;
  if (!clipToRect(kDifferenceCode, &result, b, changed)) return 0;
  if (!anyChange) {
    result->pixels[0] = 0;
    result->bitsPerPixel = 32;
  } else if (flags & kClearUnchanged) {
    for (int64_t y = 0; y < changed.height; ++y) {
      uint32_t* out = rowOf(*result, y);
      const uint32_t* rowB = rowOf(*other, changed.y + y) + changed.x;
      for (int64_t x = 0; x < changed.width; ++x) {
        if (!pixelsDiffer(out[x], rowB[x], comparison, tolerance)) out[x] = 0;
      }
    }
    result->bitsPerPixel = 32;
  }
  freeImage(*base);
  *base = result;
  return 1;
}

}  // namespace vellum
