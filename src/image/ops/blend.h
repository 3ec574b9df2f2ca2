// Laying one picture over another.
#pragma once

#include "image/image.h"

namespace vellum {

// Places `layer` with its top-left corner at (x, y) on *base. Composite modes: 0 copies the
// layer's pixels, 1 copies those whose alpha is not 0, 2 XORs the layer's colour into the base's
// (alpha kept), 4 composites by alpha (the normal blend mode at full opacity). With `expand` the
// base first grows to the union of both rectangles, the new area transparent.
int compositeImage(Image** base, const Image* layer, int mode, int x, int y, int expand);

// Blends `layer` at (x, y) with blend mode 0-21 (see blend_formulas.h; 0 replaces, 1-21 composite
// by alpha with the mode's formula) at `opacity` out of 256: 256 or more is full, 0 or less does
// nothing. `expand` as for compositeImage.
int blendImage(Image** base, const Image* layer, int mode, int x, int y, int opacity, int expand);

}  // namespace vellum
