// Mosaic (pixelation).
#pragma once

#include "image/image.h"

namespace vellum {

// Divides the picture into blockWidth x blockHeight blocks from the top-left corner (the last
// ones clipped) and fills each with its mean: alpha is the plain mean, each colour channel the
// mean weighted by alpha with weight a + a / 128 (so an opaque pixel weighs exactly 256); every
// mean is rounded as (sum + n / 2) / n for its divisor n. A zero block size changes nothing;
// negative sizes fail.
int mosaicImage(Image* image, int blockWidth, int blockHeight);

}  // namespace vellum
