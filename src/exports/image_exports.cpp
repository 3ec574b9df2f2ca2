// Plug-in exports of the picture codecs: C wrappers over the engine's image functions.
#include "vellum/exports.h"

#include "image/image.h"
#include "image/image_io.h"

VELLUM_API Image* createImage(int32_t width, int32_t height, int32_t bitsPerPixel) {
  return vellum::createImage(width, height, bitsPerPixel);
}

VELLUM_API void freeImage(Image** image) {
  if (image) vellum::freeImage(*image);
}

VELLUM_API Image* loadImage(const void* data, uint32_t length) {
  return vellum::loadImage(static_cast<const uint8_t*>(data), data ? length : 0);
}

VELLUM_API int loadImageData(Image* image, const void* data, uint32_t length) {
  if (!image) return 0;
  return vellum::loadImageData(*image, static_cast<const uint8_t*>(data), data ? length : 0) ? 1 : 0;
}

VELLUM_API int loadHeader(const void* data, uint32_t length, int32_t* width, int32_t* height, int32_t* bitsPerPixel) {
  vellum::PictureHeader header{};
  if (!vellum::loadHeader(static_cast<const uint8_t*>(data), data ? length : 0, header)) return 0;
  if (width) *width = header.width;
  if (height) *height = header.height;
  if (bitsPerPixel) *bitsPerPixel = header.bitsPerPixel;
  return 1;
}

VELLUM_API int saveImage(const char* fileName, Image* image, int32_t format, int32_t option1, int32_t option2,
                         int32_t option3) {
  const vellum::SaveRequest request{static_cast<vellum::SaveFormat>(format), option1, option2, option3};
  return vellum::saveImage(fileName ? fileName : "", image, request) ? 1 : 0;
}
