// The screenshot picture: what setScreenShot captured, until the next capture replaces it.
#pragma once

#include <cstdint>
#include <string>

#include "image/image.h"

namespace vellum {

// The held picture (24-bit), or nullptr.
const Image* screenShot();
void resetScreenShot();

// The last frame drawn, as the player sees it (24-bit, the render size); nullptr before the screen
// exists. The caller frees it.
Image* captureScreenPicture();

// Captures the screen at width x height (setScreenShot).
void takeScreenShot(int32_t width, int32_t height);
// Checks the options, reporting and correcting bad ones, and writes the held picture
// (saveScreenShot). False when nothing was written (reported).
bool saveHeldScreenShot(const std::string& file, int32_t format, int32_t bits, int32_t level, int32_t option);

}  // namespace vellum
