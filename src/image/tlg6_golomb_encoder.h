// The writer's side of the TLG6 channel code: runs of zero and non-zero residuals, Elias-gamma
// run lengths and adaptive Golomb codes, exactly as decodeGolombChannel reads them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/bit_writer.h"

namespace vellum {

// Appends the code of `count` residual bytes (taken as signed) to an empty writer.
void encodeGolombChannel(const uint8_t* residuals, size_t count, BitWriter& out);

}  // namespace vellum
