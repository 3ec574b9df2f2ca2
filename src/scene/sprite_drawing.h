// Drawing the sprite lists for the renderer: canvases first, then the screen's list around the
// message layer; one sprite with its matrices, blend mode and colour stage.
#pragma once

#include <cstdint>

#include "platform/gpu/gpu.h"
#include "scene/sprite_matrices.h"

namespace vellum {

// Fills the renderer's scene callbacks with the sprite table's drawing, commit and targets.
void installSceneCallbacks();
// Texel times diffuse on stage 0 as a pixel shader, or nullptr without pixel shaders (then the
// texture stages do the same, more slowly on a software rasteriser).
gpu::PixelShader* plainSpriteShader();
// Drops the sprite pixel shader (made again on the next draw), before the device goes or resets.
void releasePlainShader();

// Draws sprite n's chosen buffer onto the current render target. `afterPicture` is set while a
// transition draws the picture it ends with: pending changes are shown then.
void drawSprite(int32_t n, const SpriteTarget& target, bool afterPicture);

// Draws every entry of a parent's list whose key is in [lowKey, highKey].
void drawSpriteList(int32_t parent, const SpriteTarget& target, int64_t lowKey, int64_t highKey, bool afterPicture);

}  // namespace vellum
