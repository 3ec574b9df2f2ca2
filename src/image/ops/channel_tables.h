// Applying one 256-entry table per colour channel to every pixel, alpha untouched.
#pragma once

#include <array>
#include <cstdint>

#include "image/image.h"

namespace vellum {

using ChannelTable = std::array<uint8_t, 256>;

void applyChannelTables(Image& image, const ChannelTable& red, const ChannelTable& green, const ChannelTable& blue);

}  // namespace vellum
