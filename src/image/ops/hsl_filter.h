// Hue, saturation and lightness adjustment.
#pragma once

#include "image/image.h"

namespace vellum {

// Converts each pixel to hue, saturation and lightness (integer arithmetic, exact enough that
// zero shifts give the picture back unchanged), rotates the hue by `hue` degrees, adds
// `saturation` and `lightness` percent of their full ranges (clamped) and converts back. Lightness
// +100 makes white, -100 black; saturation -100 makes grey. Alpha is kept.
int hslImage(Image* image, int hue, int saturation, int lightness);

}  // namespace vellum
