// Reducing a picture to where it differs from another.
#pragma once

#include "image/image.h"

namespace vellum {

// Compares *base with `other` (same size, else the size report) pixel by pixel and clips *base
// to the bounding rectangle of the pixels that differ (left and top become the rectangle's
// corner, as with clippingImage). flags & 3 selects what is compared: 0 the whole pixel, 1 the
// colour only, 2 the alpha only, 3 the visible pixel (two fully transparent pixels are equal
// whatever their colour). Channels that differ by no more than `tolerance` count as equal. With
// flags & 4 the pixels inside the rectangle that compare equal are cleared to transparent, so
// the result holds only the change. When nothing differs *base becomes one transparent pixel.
int differenceImage(Image** base, const Image* other, int flags, int tolerance);

}  // namespace vellum
