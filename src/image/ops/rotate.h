// Rotating a picture.
#pragma once

#include "image/image.h"

namespace vellum {

// Rotates counter-clockwise as seen on screen by `degrees`. Whole multiples of 90 (any sign,
// taken modulo 360) are exact pixel rotations keeping the bits per pixel; any other angle
// resamples into the bounding box of the turned picture with `filter` (0 nearest, 1 bilinear),
// transparent outside it, and the result is 32-bit. Afterwards a scale other than 0 or 1 resizes
// by that factor (area average when shrinking, bilinear when enlarging); a negative scale fails.
int rotateImage(Image** out, const Image* image, double degrees, double scale, int filter);
int rotateImage2(Image** image, double degrees, double scale, int filter);

}  // namespace vellum
