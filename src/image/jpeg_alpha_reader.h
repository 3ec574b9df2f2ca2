// Finding and decoding the alpha channel of an engine JPEG.
#pragma once

#include "image/jpeg_library.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellum {

enum class AlphaFound { None, Decoded, Broken };

// Looks through the saved markers for "ALP" and decodes width x height alpha bytes. A broken alpha
// is reported on the console; the caller keeps the picture opaque.
AlphaFound readJpegAlpha(const jpeg_saved_marker_ptr markers, const uint8_t* file, size_t fileSize, int width,
                         int height, std::vector<uint8_t>& alpha);

}  // namespace vellum
