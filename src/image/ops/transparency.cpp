#include "image/ops/transparency.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "image/ops/ops_report.h"
#include "image/ops/pixel.h"
#include "image/ops/pixel_rect.h"

namespace vellum {

namespace {

constexpr char kTransparencyCode[] = "TRM";

// One pass of colour bleeding: `coloured` marks the pixels whose colour counts, and grows by the
// pixels this pass fills. Returns false when nothing was left to fill.
bool bleedOnce(Image& image, std::vector<uint8_t>& coloured) {
  const int w = image.width, h = image.height;
  std::vector<int32_t> filled;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (coloured[static_cast<size_t>(y) * w + x]) continue;
      uint32_t sum[3] = {}, n = 0;
      for (int ny = std::max(0, y - 1); ny <= std::min(h - 1, y + 1); ++ny) {
        for (int nx = std::max(0, x - 1); nx <= std::min(w - 1, x + 1); ++nx) {
          if (!coloured[static_cast<size_t>(ny) * w + nx]) continue;
          const uint32_t p = rowOf(image, ny)[nx];
          for (int c = 0; c < 3; ++c) sum[c] += pixel::channel(p, c);
          ++n;
        }
      }
      if (n == 0) continue;
      rowOf(image, y)[x] = pixel::make(0, (sum[2] + n / 2) / n, (sum[1] + n / 2) / n, (sum[0] + n / 2) / n);
      filled.push_back(y * w + x);
    }
  }
  // Pixels filled in this pass lend colour only from the next one on.
  for (int32_t i : filled) coloured[i] = 1;
  return !filled.empty();
}

}  // namespace

int DurtyTransparency(Image* image, int bleedPasses) {
  if (!image) return reportImageFailure(kTransparencyCode, ImageFailure::NoPicture);
  if (bleedPasses < 0) return reportImageFailure(kTransparencyCode, ImageFailure::InvalidSize);
  uint32_t* p = image->pixels;
  const bool opaque = std::all_of(p, p + image->pixelCount, [](uint32_t v) { return pixel::alpha(v) == 255; });
  if (opaque) {
    image->bitsPerPixel = 24;
    return 1;
  }
  for (int32_t i = 0; i < image->pixelCount; ++i) {
    if (pixel::alpha(p[i]) == 0) p[i] = 0;
  }
  if (bleedPasses == 0) return 1;
  try {
    std::vector<uint8_t> coloured(static_cast<size_t>(image->pixelCount));
    for (int32_t i = 0; i < image->pixelCount; ++i) coloured[i] = pixel::alpha(p[i]) != 0;
    for (int pass = 0; pass < bleedPasses && bleedOnce(*image, coloured); ++pass) {
    }
  } catch (const std::bad_alloc&) {
    return reportImageFailure(kTransparencyCode, ImageFailure::Memory);
  }
  return 1;
}

}  // namespace vellum
