// The engine's view of the shared picture record.
#pragma once

#include <vellum/image.h>

namespace vellum {

using Image = ::Image;

// A zeroed picture, or nullptr when a side is not positive, the size overflows or memory runs out.
Image* createImage(int width, int height, int bitsPerPixel);
// Frees the pixels and the record and clears the caller's pointer.
void freeImage(Image*& image);

}  // namespace vellum
