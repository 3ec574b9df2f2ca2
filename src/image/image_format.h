// Which codec a picture's bytes belong to, judged from its first bytes only (never the file name).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

enum class ImageFormat { Unknown, Tlg, Bmp, Png, Jpeg, Tga };

// "TL" TLG (at least 48 bytes), "BM" BMP, 89 "P" PNG, FF D8 JPEG; otherwise TGA when there are
// more than 16 bytes, the colour-map type is 0 or 1, the image type 0-3 or 9-11 and the depth 8,
// 15, 16, 24 or 32.
ImageFormat detectImageFormat(const uint8_t* data, size_t size);

const char* imageFormatName(ImageFormat format);

}  // namespace vellum
