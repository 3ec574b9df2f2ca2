// Windows bitmaps: 1-, 4- and 8-bit palettes, 24-bit BGR and 32-bit BGRA, uncompressed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/decode_target.h"

namespace vellum {

// False after reporting.
bool decodeBmp(const uint8_t* data, size_t size, DecodeTarget& target);

}  // namespace vellum
