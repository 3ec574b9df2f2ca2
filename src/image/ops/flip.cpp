#include "image/ops/flip.h"

#include <algorithm>
#include <cstring>

#include "image/ops/output_image.h"
#include "image/ops/ops_report.h"
#include "image/ops/pixel_rect.h"

namespace vellum {

namespace {

constexpr char kFlipCode[] = "REV";

template <typename CopyRow>
int flipInto(Image** out, const Image* image, CopyRow copyRow) {
  if (!out || !image) return reportImageFailure(kFlipCode, ImageFailure::NoPicture);
  Image* result = outputFor(out, image->width, image->height, image->bitsPerPixel, image);
  if (!result) return reportImageFailure(kFlipCode, ImageFailure::Memory);
  for (int y = 0; y < image->height; ++y) copyRow(*image, y, *result);
  copyMetadata(result, image);
  commitOutput(out, result);
  return 1;
}

void mirrorRow(const Image& image, int y, Image& result) {
  const uint32_t* from = rowOf(image, y);
  std::reverse_copy(from, from + image.width, rowOf(result, y));
}

void swapRowOrder(const Image& image, int y, Image& result) {
  std::memcpy(rowOf(result, image.height - 1 - y), rowOf(image, y), static_cast<size_t>(image.width) * 4);
}

}  // namespace

int flipHorizontalImage(Image** out, const Image* image) { return flipInto(out, image, mirrorRow); }
int flipVerticalImage(Image** out, const Image* image) { return flipInto(out, image, swapRowOrder); }

int flipHorizontalImage2(Image** image) {
  return replaceWithResult(kFlipCode, image, [](const Image* input, Image** result) {
    return flipHorizontalImage(result, input);
  });
}

int flipVerticalImage2(Image** image) {
  return replaceWithResult(kFlipCode, image, [](const Image* input, Image** result) {
    return flipVerticalImage(result, input);
  });
}

}  // namespace vellum
