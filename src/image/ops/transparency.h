// Tidying the transparent parts of a picture.
#pragma once

#include "image/image.h"

namespace vellum {

// A picture whose alpha is 255 everywhere is marked 24-bit. Otherwise the colour of every fully
// transparent pixel is cleared to black; then, with `bleedPasses` > 0, that many times over, each
// fully transparent pixel that touches (of its eight neighbours) a pixel with colour takes the
// mean colour of those neighbours, still fully transparent. The bled border keeps filtered
// scaling from pulling black into the edges of visible shapes.
int DurtyTransparency(Image* image, int bleedPasses);

}  // namespace vellum
