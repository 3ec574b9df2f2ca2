#include "image/image.h"

#include <cstring>
#include <limits>
#include <new>

#include "storage/aligned_memory.h"

namespace vellum {

Image* createImage(int width, int height, int bitsPerPixel) {
  if (width <= 0 || height <= 0) return nullptr;
  // One spare row after the last; the word count must fit the record's 32-bit pixel count.
  const uint64_t words = static_cast<uint64_t>(width) * (static_cast<uint64_t>(height) + 1);
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > std::numeric_limits<int32_t>::max()) return nullptr;
  auto* image = new (std::nothrow) Image{};
  if (!image) return nullptr;
  image->pixels = static_cast<uint32_t*>(allocAligned(words * 4));
  if (!image->pixels) {
    delete image;
    return nullptr;
  }
  std::memset(image->pixels, 0, words * 4);
  image->width = width;
  image->height = height;
  image->bitsPerPixel = bitsPerPixel;
  image->pixelCount = width * height;
  return image;
}

void freeImage(Image*& image) {
  if (!image) return;
  freeAligned(image->pixels);
  delete image;
  image = nullptr;
}

}  // namespace vellum
