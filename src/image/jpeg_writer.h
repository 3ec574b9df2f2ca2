// JPEG output through libjpeg-turbo with the engine's extensions: the APP1 "pos" segment when the
// picture has a name or mode, and an alpha channel appended after the JPEG's end in whichever of
// three encodings is smallest (zlib on ties, then PNG, then greyscale JPEG).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/image.h"

namespace vellum {

struct JpegSettings {
  bool grey = false;       // luminance greyscale instead of colour
  bool alpha = false;      // append the alpha channel
  int quality = 90;        // 0 ... 100
  bool optimise = false;   // optimised Huffman tables
  bool progressive = false;
  int sampling = 0;        // chroma: 0 4:2:0, 1 4:2:2, 2 4:4:4, 3 the library's default
};

// The saveImage options: option1 = bits per pixel (0 the image's own, 8 grey, 24 colour) with 0x20
// added to ask for alpha (32 alone asks for alpha in the image's own colour, as does 64);
// option2 = quality; option3 bit 0 optimised tables, bit 1 progressive, bits 2-3 chroma sampling.
JpegSettings jpegSettingsFromOptions(const Image& image, int option1, int option2, int option3);

// The alpha encoding to append given the three sizes (SIZE_MAX for one that failed): the smallest,
// zlib winning ties, then PNG. Returns the APP2 type byte (0x11 JPEG, 0x12 zlib, 0x13 PNG).
uint8_t pickAlphaEncoding(size_t jpegSize, size_t zlibSize, size_t pngSize);

// Renames the image's name to ".jpg" when it writes the "pos" segment. False after reporting.
bool encodeJpeg(Image& image, const JpegSettings& settings, std::vector<uint8_t>& out);

}  // namespace vellum
