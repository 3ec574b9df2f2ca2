// PNG output through libpng into memory: 8-bit grey, RGB or RGBA, optionally Adam7-interlaced,
// with the "Name", "Left", "Top" and "Mode" text chunks when the picture has a name or mode.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

namespace vellum {

// `bits` is 8, 24 or 32; `level` the zlib level. Renames the image's name to ".png" when it
// writes the text chunks. False after reporting.
bool encodePng(Image& image, int bits, int level, bool interlace, std::vector<uint8_t>& out);

// A greyscale PNG of width x height bytes (the JPEG writer's alpha). False on failure, unreported.
bool encodeGreyPng(const uint8_t* grey, int width, int height, int level, std::vector<uint8_t>& out);

}  // namespace vellum
