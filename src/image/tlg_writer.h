// The TLG writers: TLG5 and TLG6 streams with 1 (grey from the blue byte), 3 (BGR) or 4 (BGRA)
// colours, and the TLG0 container that carries the layer name, position and mode.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

namespace vellum {

// Each appends the stream to `out`; false after reporting.
bool encodeTlg5(const Image& image, int colours, std::vector<uint8_t>& out);
bool encodeTlg6(const Image& image, int colours, std::vector<uint8_t>& out);

// Magic, the stream's length, the stream and a "tags" chunk made from the image's metadata.
std::vector<uint8_t> wrapInTlg0(const std::vector<uint8_t>& stream, const Image& image);

}  // namespace vellum
