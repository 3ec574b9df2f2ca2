// The screen quake ("ScQ") and the camera ("ScXYWH") lines of a save. Times are written as
// milliseconds elapsed since their start and read back as start times relative to `now`.
#pragma once

#include <cstdint>
#include <string>

#include "persist/save_text.h"
#include "scene/screen_transform.h"

namespace vellum {

void writeScreenSaveLines(std::string& out, uint32_t now);
// The state the two lines describe, on top of a reset transform (a missing line leaves that part
// reset). False when a line is present but malformed.
bool readScreenSaveLines(const SaveBlock& block, uint32_t now, ScreenTransform& state);
// Makes it the live state, shown at once (the pending camera equals the shown one).
void applyScreenSaveLines(const ScreenTransform& state);

}  // namespace vellum
