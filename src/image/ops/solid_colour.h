// Laying a solid colour over a whole picture.
#pragma once

#include <cstdint>

#include "image/image.h"

namespace vellum {

// Lays `colour` (0xAARRGGBB) over every pixel with the formula F of blend mode 1-21 (mode 1 gives
// the colour itself), weighted by the colour's alpha A: each colour channel becomes
// ((F(d, c) * A + d * (255 - A) + 1) * 257) >> 16, or F(d, c) when A is 255. The pixels keep their
// alpha. A = 0 or a mode outside 1-21 changes nothing.
int colImage(Image* image, int mode, uint32_t colour);

}  // namespace vellum
