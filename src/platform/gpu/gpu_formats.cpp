// Sizes and pixel converters of the layer's formats.
#include "platform/gpu/gpu.h"

namespace vellum::gpu {

int bytesPerPixel(Format f) {
  switch (f) {
    case Format::A8R8G8B8:
    case Format::X8R8G8B8: return 4;
    case Format::R5G6B5:
    case Format::X1R5G5B5:
    case Format::A1R5G5B5:
    case Format::A4R4G4B4: return 2;
    default: return 0;
  }
}

uint32_t fvfStride(uint32_t fvf) {
  uint32_t size = 0;
  if (fvf & kFvfXyzRhw) size += 16;
  else if (fvf & kFvfXyz) size += 12;
  if (fvf & kFvfDiffuse) size += 4;
  size += ((fvf & kFvfTexCountMask) >> kFvfTexCountShift) * 8;
  return size;
}

uint16_t toR5G6B5(uint32_t argb) {
  return static_cast<uint16_t>(((argb >> 8) & 0xF800) | ((argb >> 5) & 0x07E0) | ((argb >> 3) & 0x001F));
}

uint16_t toA4R4G4B4(uint32_t argb) {
  return static_cast<uint16_t>(((argb >> 16) & 0xF000) | ((argb >> 12) & 0x0F00) | ((argb >> 8) & 0x00F0) |
                               ((argb >> 4) & 0x000F));
}

uint16_t toX1R5G5B5(uint32_t argb) {
  return static_cast<uint16_t>(((argb >> 16) & 0x8000) | ((argb >> 9) & 0x7C00) | ((argb >> 6) & 0x03E0) |
                               ((argb >> 3) & 0x001F));
}

uint32_t fromR5G6B5(uint16_t t) {
  return (static_cast<uint32_t>(t & 0xF800) << 8) | (static_cast<uint32_t>(t & 0x07E0) << 5) |
         (static_cast<uint32_t>(t & 0x001F) << 3);
}

uint32_t Object::release() {
  const uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

}  // namespace vellum::gpu
