// Separable resampling of a whole picture: source rows are resampled along the row to the target
// width, then combined down the columns into the target rows. 32-bit pictures are resampled with
// colour weighted by alpha, so transparent pixels lend no colour to their neighbours; other
// pictures resample colour only and stay opaque. Target rows are shared out in bands to the
// worker threads; the result does not depend on how many there are.
#pragma once

#include "image/image.h"
#include "image/ops/resample_taps.h"

namespace vellum {

// Fills target (its size is the target size) from source. Throws std::bad_alloc when the work
// buffers cannot be allocated.
void resamplePicture(const Image& source, Image& target, Resampler kind);

}  // namespace vellum
