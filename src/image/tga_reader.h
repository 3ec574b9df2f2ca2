// Truevision TGA: colour-mapped, true-colour and grey pictures, plain or run-length encoded.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/decode_target.h"

namespace vellum {

constexpr size_t kTgaHeaderSize = 18;

// False after reporting.
bool decodeTga(const uint8_t* data, size_t size, DecodeTarget& target);

}  // namespace vellum
