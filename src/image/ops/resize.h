// Scaling a picture.
#pragma once

#include "image/image.h"

namespace vellum {

// The target size from a and b by kind:
//   0: percentages, width = trunc(a * W / 100 + 0.5), height likewise from b;
//   1: the target width and height in pixels;
//   2: factors, width = trunc(a * W + 0.5), height likewise from b.
// A zero a or b follows the other one, keeping the aspect ratio. a and b both below 1 fail; a
// computed size of 0 becomes 1. The same size copies. A picture that grows in either direction is
// resampled with the enlarge filter (0 nearest, 1 bilinear, 2 bicubic), else with the shrink filter
// (0 nearest, 1 area average, 2 bilinear).
int resizeImage(Image** out, const Image* image, double a, double b, int kind, int shrinkFilter, int enlargeFilter);
int resizeImage2(Image** image, double a, double b, int kind, int shrinkFilter, int enlargeFilter);

// The size resizeImage would make, or false (with the report) when the arguments give none.
bool resizeTargetSize(const Image& image, double a, double b, int kind, int& width, int& height);

}  // namespace vellum
