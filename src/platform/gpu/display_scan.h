#pragma once
// Where the display's scan is, worked out from its refresh rate (nothing on Linux reads the
// real scan line).
#include <cstdint>

#include "platform/gpu/gpu_types.h"

namespace vellum::gpu {

// The refresh rate the scan is timed by. Displays that do not say (Xvfb, the offscreen driver,
// some compositors) are taken as 60 Hz, the rate nearly every panel runs at.
uint32_t scanRefreshRate(int displayIndex);

// The scan at this moment: the visible lines, then a blank of about 5%. False when the display's
// height is unknown.
bool scanStatus(int displayIndex, RasterStatus& out);

}  // namespace vellum::gpu
