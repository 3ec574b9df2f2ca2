// TLG pictures: a TLG5 or TLG6 stream, bare or inside a TLG0 container with metadata tags.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/decode_target.h"

namespace vellum {

// False after reporting; data shorter than 48 bytes is refused at once.
bool decodeTlg(const uint8_t* data, size_t size, DecodeTarget& target);

}  // namespace vellum
