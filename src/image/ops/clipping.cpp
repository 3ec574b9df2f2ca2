#include "image/ops/clipping.h"

#include <cstring>
#include <limits>

#include "image/ops/output_image.h"
#include "image/ops/ops_report.h"
#include "image/ops/pixel.h"

namespace vellum {

namespace {

constexpr char kClipCode[] = "CUT";
constexpr char kEraseCode[] = "ERS";
constexpr char kTrimCode[] = "TRM";

// Sizes <= 0 stand for the picture's own.
PixelRect requestedRect(const Image& image, int x, int y, int width, int height) {
  return {x, y, width > 0 ? width : image.width, height > 0 ? height : image.height};
}

bool visibleAt(const Image& image, uint32_t p, int alphaThreshold, bool byColour) {
  if (byColour) return (p & pixel::kColourMask) != (image.pixels[0] & pixel::kColourMask);
  return static_cast<int>(pixel::alpha(p)) > alphaThreshold;
}

}  // namespace

int clipToRect(const char* code, Image** out, const Image& image, const PixelRect& rect) {
  const PixelRect inside = intersect(rect, boundsOf(image));
  if (inside.empty()) return reportImageFailure(code, ImageFailure::OutOfRange);
  // A rectangle that reaches outside may be larger than any picture can be.
  constexpr int64_t kMaxSide = std::numeric_limits<int32_t>::max();
  if (rect.width > kMaxSide || rect.height > kMaxSide) return reportImageFailure(code, ImageFailure::Memory);
  Image* result = outputFor(out, static_cast<int>(rect.width), static_cast<int>(rect.height), image.bitsPerPixel, &image);
  if (!result) return reportImageFailure(code, ImageFailure::Memory);
  if (!(inside == rect)) std::memset(result->pixels, 0, static_cast<size_t>(result->pixelCount) * 4);
  for (int64_t y = inside.y; y < inside.bottom(); ++y) {
    std::memcpy(rowOf(*result, y - rect.y) + (inside.x - rect.x), rowOf(image, y) + inside.x,
                static_cast<size_t>(inside.width) * 4);
  }
  copyMetadata(result, &image);
  result->left = static_cast<int32_t>(rect.x);
  result->top = static_cast<int32_t>(rect.y);
  commitOutput(out, result);
  return 1;
}

int clippingImage(Image** out, const Image* image, int x, int y, int width, int height) {
  if (!out || !image) return reportImageFailure(kClipCode, ImageFailure::NoPicture);
  return clipToRect(kClipCode, out, *image, requestedRect(*image, x, y, width, height));
}

int clippingImage2(Image** image, int x, int y, int width, int height) {
  return replaceWithResult(kClipCode, image, [&](const Image* input, Image** result) {
    return clippingImage(result, input, x, y, width, height);
  });
}

int eraseImage(Image* image, int x, int y, int width, int height) {
  if (!image) return reportImageFailure(kEraseCode, ImageFailure::NoPicture);
  const PixelRect inside = intersect(requestedRect(*image, x, y, width, height), boundsOf(*image));
  if (inside.empty()) return reportImageFailure(kEraseCode, ImageFailure::OutOfRange);
  for (int64_t row = inside.y; row < inside.bottom(); ++row) {
    std::memset(rowOf(*image, row) + inside.x, 0, static_cast<size_t>(inside.width) * 4);
  }
  // The cleared pixels are transparent, so the alpha channel now means something.
  image->bitsPerPixel = 32;
  return 1;
}

int trimmingImage(Image** out, const Image* image, int alphaThreshold, int margin, int byColour) {
  if (!out || !image) return reportImageFailure(kTrimCode, ImageFailure::NoPicture);
  if (margin < 0) return reportImageFailure(kTrimCode, ImageFailure::InvalidSize);
  int64_t left = image->width, top = image->height, right = -1, bottom = -1;
  for (int y = 0; y < image->height; ++y) {
    const uint32_t* row = rowOf(*image, y);
    for (int x = 0; x < image->width; ++x) {
      if (!visibleAt(*image, row[x], alphaThreshold, byColour != 0)) continue;
      left = std::min<int64_t>(left, x);
      right = std::max<int64_t>(right, x);
      top = std::min<int64_t>(top, y);
      bottom = y;
    }
  }
  if (right < 0) return reportImageFailure(kTrimCode, ImageFailure::OutOfRange);
  const PixelRect found{left - margin, top - margin, right - left + 1 + 2 * int64_t{margin},
                        bottom - top + 1 + 2 * int64_t{margin}};
  return clipToRect(kTrimCode, out, *image, intersect(found, boundsOf(*image)));
}

int trimmingImage2(Image** image, int alphaThreshold, int margin, int byColour) {
  return replaceWithResult(kTrimCode, image, [&](const Image* input, Image** result) {
    return trimmingImage(result, input, alphaThreshold, margin, byColour);
  });
}

int copyImage(Image** out, const Image* image) {
  if (!out || !image) return reportImageFailure(kClipCode, ImageFailure::NoPicture);
  // A whole copy keeps the position too. Read it first: when *out is the picture itself, the
  // copy replaces and frees it.
  const int32_t left = image->left, top = image->top;
  if (!clipToRect(kClipCode, out, *image, boundsOf(*image))) return 0;
  (*out)->left = left;
  (*out)->top = top;
  return 1;
}

}  // namespace vellum
