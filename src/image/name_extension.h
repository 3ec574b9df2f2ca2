// The writers rename the picture's layer name to the format they write: a name ending in a
// three-letter extension ("bg.png") gets the writer's letters ("bg.tlg"), in place.
#pragma once

#include "image/image.h"

namespace vellum {

// `letters` is three characters such as "png". Names without a three-letter extension stay.
void replaceNameExtension(Image& image, const char* letters);

// True when the image carries metadata worth writing: a name or a non-zero mode.
bool hasLayerMetadata(const Image& image);

}  // namespace vellum
