// A look at a PNG's chunk lengths before libpng reads it: libpng allocates (and clears) whatever a
// chunk's length says before it finds the data too short, so a damaged length is caught here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vellum {

// True when every chunk up to IEND (or the end of the data) lies inside the data; otherwise
// false with the reason.
bool pngChunksFit(const uint8_t* data, size_t size, std::string& problem);

}  // namespace vellum
