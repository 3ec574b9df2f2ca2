// TLG5 streams: blocks of lines whose channels are stored raw or LZSS-compressed as differences
// along the line and from the line above.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/decode_target.h"

namespace vellum {

// Decodes a whole TLG5 stream (magic included) into the target. False after reporting.
bool decodeTlg5(const uint8_t* data, size_t size, DecodeTarget& target);

}  // namespace vellum
