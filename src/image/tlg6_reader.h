// TLG6 streams: bands of 8 lines, each channel Golomb-coded as residuals of a per-block predictor
// and colour filter.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/decode_target.h"

namespace vellum {

// Decodes a whole TLG6 stream (magic included) into the target. False after reporting.
bool decodeTlg6(const uint8_t* data, size_t size, DecodeTarget& target);

}  // namespace vellum
