#include "image/ops/mosaic.h"

#include <algorithm>
#include <cstdint>

#include "image/ops/ops_report.h"
#include "image/ops/pixel.h"
#include "image/ops/pixel_rect.h"

namespace vellum {

namespace {

constexpr char kMosaicCode[] = "BLR";

uint64_t roundedMean(uint64_t sum, uint64_t n) { return n == 0 ? 0 : (sum + n / 2) / n; }

void fillBlock(Image& image, int x0, int y0, int x1, int y1) {
  // 64-bit sums: one block may be the whole picture.
  uint64_t alpha = 0, weight = 0, colour[3] = {};
  for (int y = y0; y < y1; ++y) {
    const uint32_t* row = rowOf(image, y);
    for (int x = x0; x < x1; ++x) {
      const uint32_t p = row[x], a = pixel::alpha(p), w = a + a / 128;
      alpha += a;
      weight += w;
      for (int c = 0; c < 3; ++c) colour[c] += uint64_t{pixel::channel(p, c)} * w;
    }
  }
  const uint64_t n = uint64_t(x1 - x0) * uint64_t(y1 - y0);
  const uint32_t mean = pixel::make(static_cast<uint32_t>(roundedMean(alpha, n)), static_cast<uint32_t>(roundedMean(colour[2], weight)),
                                    static_cast<uint32_t>(roundedMean(colour[1], weight)),
                                    static_cast<uint32_t>(roundedMean(colour[0], weight)));
  for (int y = y0; y < y1; ++y) std::fill(rowOf(image, y) + x0, rowOf(image, y) + x1, mean);
}

}  // namespace

int mosaicImage(Image* image, int blockWidth, int blockHeight) {
  if (!image) return reportImageFailure(kMosaicCode, ImageFailure::NoPicture);
  if (blockWidth < 0 || blockHeight < 0) return reportImageFailure(kMosaicCode, ImageFailure::InvalidSize);
  if (blockWidth == 0 || blockHeight == 0) return 1;
  for (int y = 0; y < image->height;) {
    const int y1 = y + std::min(blockHeight, image->height - y);
    for (int x = 0; x < image->width;) {
      const int x1 = x + std::min(blockWidth, image->width - x);
      fillBlock(*image, x, y, x1, y1);
      x = x1;
    }
    y = y1;
  }
  return 1;
}

}  // namespace vellum
