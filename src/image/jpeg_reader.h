// JPEG pictures through libjpeg-turbo, with the engine's position and alpha extensions.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/decode_target.h"

namespace vellum {

// Baseline or progressive, grey or colour. False after reporting; a broken alpha channel is
// reported and leaves the picture opaque.
bool decodeJpeg(const uint8_t* data, size_t size, DecodeTarget& target);

}  // namespace vellum
