// The per-frame animation update: the screen quake and camera, the sprite shakes and the property
// tracks, in that order. The renderer calls it once per frame before the scene is drawn.
#pragma once

#include <cstdint>

namespace vellum {

void updateAnimations(uint32_t now);
// Whether anything of the above still moves (draw2 draws a frame while it does).
bool animationsActive();
// sp_alv: the OR of the animation presence bits of sprites first ... last, bit 0 also for a sprite
// with a frame sequence.
uint32_t animationPresence(int32_t first, int32_t last);

// Clears tracks, shakes and the screen transforms.
void resetAnimations();
// Sprite deletion drops the sprite's tracks and shakes.
void forgetSpriteAnimations(int32_t n);

}  // namespace vellum
