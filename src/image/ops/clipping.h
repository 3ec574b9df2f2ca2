// Rectangles of pictures: clipping, erasing, trimming to the visible part, whole copies.
#pragma once

#include "image/image.h"
#include "image/ops/pixel_rect.h"

namespace vellum {

// Copies the rectangle (a width or height <= 0 stands for the picture's own) into *out, which is
// cleared first when the rectangle reaches outside the picture. out keeps the picture's name, mode
// and bits per pixel; its left and top become x and y. Fails when the rectangle misses the picture.
int clippingImage(Image** out, const Image* image, int x, int y, int width, int height);
// The same, replacing *image.
int clippingImage2(Image** image, int x, int y, int width, int height);

// Clears the rectangle (sizes <= 0 as above) to transparent black; the picture becomes 32-bit.
int eraseImage(Image* image, int x, int y, int width, int height);

// Finds the bounding rectangle of the visible pixels, widens it by `margin` pixels on every side
// (within the picture) and clips to it. A pixel is visible when its alpha is above
// `alphaThreshold`, or, with `byColour` non-zero, when its colour differs from the top-left
// pixel's (for opaque pictures on a plain background). Fails when nothing is visible.
int trimmingImage(Image** out, const Image* image, int alphaThreshold, int margin, int byColour);
int trimmingImage2(Image** image, int alphaThreshold, int margin, int byColour);

// A copy of the picture with its metadata.
int copyImage(Image** out, const Image* image);

// Shared by the operations that end in a clip: copies `rect` (any part may lie outside) into *out,
// reporting failures under `code`.
int clipToRect(const char* code, Image** out, const Image& image, const PixelRect& rect);

}  // namespace vellum
