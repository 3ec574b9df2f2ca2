// Windows bitmaps, bottom-up and uncompressed: 8-bit with a grey palette (the luminance as the
// index), 24-bit BGR or 32-bit BGRA.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

namespace vellum {

// `bits` is 8, 24 or 32. Never fails except for memory (std::bad_alloc escapes).
void encodeBmp(const Image& image, int bits, std::vector<uint8_t>& out);

}  // namespace vellum
