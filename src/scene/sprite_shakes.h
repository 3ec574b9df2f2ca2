// Shakes: a sprite's position swings along x or y by an eased wave (the screen quake uses the same
// wave for the whole scene).
#pragma once

#include <cstdint>

#include "scene/sprite_table.h"

namespace vellum {

// What a shake or quake command asks for on one axis.
struct ShakeRequest {
  int32_t amplitude = 0;  // pixels; 0 stops
  int32_t period = 0;     // milliseconds; below 10 stops
  int32_t count = 0;      // passes; 0 without end
  int32_t easing = 0;
  int32_t wave = 0;       // 0 a one-sided pulse, otherwise a full wave
  int32_t delay = 0;
};

// Whether the request stops the axis rather than starting it.
bool shakeStops(const ShakeRequest& request);
// The axis set up from a request starting at now + delay.
void startShakeAxis(ShakeAxis& axis, const ShakeRequest& request, uint32_t now);
// Moves an axis to now; false once it has ended (or never ran).
bool advanceShakeAxis(ShakeAxis& axis, uint32_t now);

// sp_qx / sp_qy: starts or stops one axis of sprite n.
void shakeSprite(int32_t n, bool yAxis, const ShakeRequest& request, uint32_t now);
void updateSpriteShakes(uint32_t now);
bool spriteShakesRunning();
void forgetSpriteShakes(int32_t n);
// Whether an axis read from a save can run: stopped, or a period of 10 ms or more and a pass count
// of a byte (the wave divides the period into halves and quarters).
bool validShakeAxis(const ShakeAxis& axis);
// A restored save: the sprite's axes as saved, listed as shaking when either runs.
void restoreSpriteShakes(int32_t n, const ShakeAxis& x, const ShakeAxis& y);
void resetSpriteShakes();

}  // namespace vellum
