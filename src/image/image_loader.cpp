#include "image/bmp_reader.h"
#include "image/codec_report.h"
#include "image/decode_target.h"
#include "image/image_format.h"
#include "image/image_io.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image/tga_reader.h"
#include "image/tlg_reader.h"

namespace vellum {

namespace {

bool decodeAs(ImageFormat format, const uint8_t* data, size_t size, DecodeTarget& target) {
  switch (format) {
    case ImageFormat::Tlg:
      return decodeTlg(data, size, target);
    case ImageFormat::Bmp:
      return decodeBmp(data, size, target);
    case ImageFormat::Png:
      return decodePng(data, size, target);
    case ImageFormat::Jpeg:
      return decodeJpeg(data, size, target);
    case ImageFormat::Tga:
      return decodeTga(data, size, target);
    case ImageFormat::Unknown:
      break;
  }
  reportBadPicture("loadImage", "the data is not a picture format the engine knows");
  return false;
}

}  // namespace

Image* loadImage(const uint8_t* data, size_t size) {
  DecodeTarget target;
  if (!decodeAs(detectImageFormat(data, size), data, size, target)) return nullptr;
  return target.release();
}

bool loadImageData(Image& image, const uint8_t* data, size_t size) {
  const ImageFormat format = detectImageFormat(data, size);
  if (format == ImageFormat::Tlg) {
    reportBadPicture("loadImageData", "TLG pictures are loaded with loadImage only");
    return false;
  }
  DecodeTarget target(image);
  return decodeAs(format, data, size, target);
}

}  // namespace vellum
