#include "image/ops/resize.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>

#include "image/ops/ops_report.h"
#include "image/ops/output_image.h"
#include "image/ops/resample_taps.h"
#include "image/ops/separable_resampler.h"

namespace vellum {

namespace {

constexpr char kResizeCode[] = "RES";

constexpr Resampler kShrinkFilters[] = {Resampler::Nearest, Resampler::AreaAverage, Resampler::Bilinear};
constexpr Resampler kEnlargeFilters[] = {Resampler::Nearest, Resampler::Bilinear, Resampler::Bicubic};

enum ResizeKind : int { kPercent = 0, kPixels = 1, kFactor = 2 };

// A computed side as a picture side: 0 becomes 1; negative, not a number or beyond 32 bits fails.
bool toSide(double value, int& side) {
  if (!(value >= 0)) return false;
  const double truncated = std::trunc(value);
  if (truncated > std::numeric_limits<int32_t>::max()) return false;
  side = std::max(1, static_cast<int>(truncated));
  return true;
}

}  // namespace

bool resizeTargetSize(const Image& image, double a, double b, int kind, int& width, int& height) {
  if (kind != kPercent && kind != kPixels && kind != kFactor) {
    reportImageFailure(kResizeCode, ImageFailure::InvalidMode);
    return false;
  }
  if (!(a >= 1) && !(b >= 1)) {
    reportImageFailure(kResizeCode, ImageFailure::InvalidSize);
    return false;
  }
  const double w = image.width, h = image.height;
  double tw, th;
  if (kind == kPixels) {
    tw = a == 0 ? std::round(b * w / h) : a;
    th = b == 0 ? std::round(a * h / w) : b;
  } else {
    const double fa = a == 0 ? b : a, fb = b == 0 ? a : b;
    const double unit = kind == kPercent ? 100.0 : 1.0;
    tw = fa * w / unit + 0.5;
    th = fb * h / unit + 0.5;
  }
  if (!toSide(tw, width) || !toSide(th, height)) {
    reportImageFailure(kResizeCode, ImageFailure::InvalidSize);
    return false;
  }
  return true;
}

int resizeImage(Image** out, const Image* image, double a, double b, int kind, int shrinkFilter, int enlargeFilter) {
  if (!out || !image) return reportImageFailure(kResizeCode, ImageFailure::NoPicture);
  int width = 0, height = 0;
  if (!resizeTargetSize(*image, a, b, kind, width, height)) return 0;

  Resampler resampler = Resampler::Nearest;
  const bool sameSize = width == image->width && height == image->height;
  if (!sameSize) {
    const bool grows = width > image->width || height > image->height;
    const int filter = grows ? enlargeFilter : shrinkFilter;
    const auto& table = grows ? kEnlargeFilters : kShrinkFilters;
    if (filter < 0 || filter >= static_cast<int>(std::size(table))) return reportImageFailure(kResizeCode, ImageFailure::InvalidMode);
    resampler = table[filter];
  }

  // Size arithmetic of the target is 64-bit inside createImage; a picture too large fails here.
  Image* result = outputFor(out, width, height, image->bitsPerPixel, image);
  if (!result) return reportImageFailure(kResizeCode, ImageFailure::Memory);
  if (sameSize) {
    std::memcpy(result->pixels, image->pixels, static_cast<size_t>(image->pixelCount) * 4);
  } else {
    try {
      resamplePicture(*image, *result, resampler);
    } catch (const std::bad_alloc&) {
      discardOutput(out, result);
      return reportImageFailure(kResizeCode, ImageFailure::Memory);
    }
  }
  copyMetadata(result, image);
  commitOutput(out, result);
  return 1;
}

int resizeImage2(Image** image, double a, double b, int kind, int shrinkFilter, int enlargeFilter) {
  return replaceWithResult(kResizeCode, image, [&](const Image* input, Image** result) {
    return resizeImage(result, input, a, b, kind, shrinkFilter, enlargeFilter);
  });
}

}  // namespace vellum
