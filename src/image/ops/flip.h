// Mirrored copies of a picture.
#pragma once

#include "image/image.h"

namespace vellum {

int flipHorizontalImage(Image** out, const Image* image);  // left-right
int flipVerticalImage(Image** out, const Image* image);    // top-bottom
int flipHorizontalImage2(Image** image);
int flipVerticalImage2(Image** image);

}  // namespace vellum
