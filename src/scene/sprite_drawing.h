// Drawing the sprite lists for the renderer: canvases first, then the screen's list around the
// message layer; one sprite with its matrices, blend mode and colour stage.
#pragma once

#include <cstdint>

#include "scene/sprite_matrices.h"

namespace vellum {

// Fills the renderer's scene callbacks with the sprite table's drawing, commit and targets.
void installSceneCallbacks();
// Drops the sprite pixel shader (made again on the next draw), before the device goes or resets.
void releasePlainShader();

// Draws sprite n's chosen buffer onto the current render target. `afterPicture` is set while a
// transition draws the picture it ends with: pending changes are shown then.
void drawSprite(int32_t n, const SpriteTarget& target, bool afterPicture);

// Draws every entry of a parent's list whose key is in [lowKey, highKey].
void drawSpriteList(int32_t parent, const SpriteTarget& target, int64_t lowKey, int64_t highKey, bool afterPicture);

}  // namespace vellum
