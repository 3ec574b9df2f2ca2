#include "image/ops/output_image.h"

#include <cstring>

namespace vellum {

Image* outputFor(Image* const* out, int width, int height, int bitsPerPixel, const Image* input,
                 const Image* otherInput) {
  Image* current = *out;
  if (current && current != input && current != otherInput && current->width == width &&
      current->height == height) {
    current->bitsPerPixel = bitsPerPixel;
    return current;
  }
  return createImage(width, height, bitsPerPixel);
}

void commitOutput(Image** out, Image* result) {
  if (*out == result) return;
  freeImage(*out);
  *out = result;
}

void discardOutput(Image* const* out, Image*& result) {
  if (result && result != *out) freeImage(result);
  result = nullptr;
}

void copyMetadata(Image* to, const Image* from) {
  std::memcpy(to->name, from->name, sizeof to->name);
  to->left = from->left;
  to->top = from->top;
  to->mode = from->mode;
  to->bitsPerPixel = from->bitsPerPixel;
}

void noteColourWritten(Image& image, bool colourWritten) {
  if (colourWritten && image.bitsPerPixel == 8) image.bitsPerPixel = 24;
}

Image* duplicateImage(const Image* image) {
  Image* copy = createImage(image->width, image->height, image->bitsPerPixel);
  if (!copy) return nullptr;
  copyMetadata(copy, image);
  std::memcpy(copy->pixels, image->pixels, static_cast<size_t>(image->pixelCount) * 4);
  return copy;
}

}  // namespace vellum
