// The screenshot picture: what setScreenShot captured, until the next capture replaces it.
#pragma once

#include <cstdint>
#include <string>

#include "image/image.h"

namespace vellum {

// The held picture (24-bit), or nullptr.
const Image* screenShot();
void resetScreenShot();

// Captures the screen at width x height (setScreenShot).
void takeScreenShot(int32_t width, int32_t height);
// Checks the options, reporting and correcting bad ones, and writes the held picture
// (saveScreenShot). False when nothing was written (reported).
bool saveHeldScreenShot(const std::string& file, int32_t format, int32_t bits, int32_t level, int32_t option);

}  // namespace vellum
