// Moving the pointer to a point, at once or by a glide that eases out (a cubic curve). The glide
// is advanced on the main thread by every message pump, so nothing else moves the pointer meanwhile.
#pragma once

#include <cstdint>

namespace vellum {

// setCursorPos: to (x, y), game coordinates when gameCoords, else client pixels. Speed 0 jumps;
// otherwise the glide lasts ((distance x speed) | 16) >> 3 ms. A glide still running is finished
// first.
void moveCursorTo(int32_t x, int32_t y, int32_t speed, bool gameCoords);

// The glide's duration for a distance and speed.
uint32_t glideDuration(int32_t dx, int32_t dy, int32_t speed);

bool cursorGlideRunning();
// When the running glide started and how long it lasts (ms).
uint32_t cursorGlideStart();
uint32_t cursorGlideLength();
// One step of the glide at the current time, or at nowMs.
void stepCursorGlide();
void stepCursorGlideAt(uint32_t nowMs);

void resetCursorGlide();

}  // namespace vellum
