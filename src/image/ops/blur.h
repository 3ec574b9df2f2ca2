// Box blur.
#pragma once

#include "image/image.h"

namespace vellum {

// Averages every pixel over a window of (2 * xRadius + 1) x (2 * yRadius + 1) pixels; near the
// edges the window keeps only the pixels inside the picture. 32-bit pictures weight colour by
// alpha (alpha is averaged, colour is the alpha-weighted mean); others blur colour only. Each mean
// is rounded to nearest. Zero radii leave the picture as it is; negative ones fail.
int blurImage(Image* image, int xRadius, int yRadius);

}  // namespace vellum
