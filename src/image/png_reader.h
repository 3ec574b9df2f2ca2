// PNG pictures through libpng, and the "Name", "Left", "Top" and "Mode" text chunks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/decode_target.h"

namespace vellum {

// Any colour type and bit depth, interlaced or not. False after reporting.
bool decodePng(const uint8_t* data, size_t size, DecodeTarget& target);

// A greyscale PNG of exactly width x height, as one byte per pixel (the JPEG alpha channel).
// False without a report when the data is not such a picture.
bool decodeGreyPng(const uint8_t* data, size_t size, int width, int height, std::vector<uint8_t>& grey);

}  // namespace vellum
