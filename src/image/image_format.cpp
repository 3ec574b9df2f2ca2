#include "image/image_format.h"

#include "image/tlg_format.h"

namespace vellum {

ImageFormat detectImageFormat(const uint8_t* data, size_t size) {
  if (!data || size < 2) return ImageFormat::Unknown;
  if (data[0] == 'T' && data[1] == 'L') return size >= kTlgMinimumSize ? ImageFormat::Tlg : ImageFormat::Unknown;
  if (data[0] == 'B' && data[1] == 'M') return ImageFormat::Bmp;
  if (data[0] == 0x89 && data[1] == 'P') return ImageFormat::Png;
  if (data[0] == 0xFF && data[1] == 0xD8) return ImageFormat::Jpeg;
  if (size > 16) {
    const uint8_t mapType = data[1];
    const uint8_t type = data[2];
    const uint8_t depth = data[16];
    const bool typeOk = type <= 3 || (type >= 9 && type <= 11);
    const bool depthOk = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    if (mapType <= 1 && typeOk && depthOk) return ImageFormat::Tga;
  }
  return ImageFormat::Unknown;
}

const char* imageFormatName(ImageFormat format) {
  switch (format) {
    case ImageFormat::Tlg:
      return "TLG";
    case ImageFormat::Bmp:
      return "BMP";
    case ImageFormat::Png:
      return "PNG";
    case ImageFormat::Jpeg:
      return "JPEG";
    case ImageFormat::Tga:
      return "TGA";
    case ImageFormat::Unknown:
      break;
  }
  return "unknown";
}

}  // namespace vellum
