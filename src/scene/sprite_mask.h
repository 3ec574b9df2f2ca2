// sp_mask: a grey picture whose values, against the mask progress and softness, set how much of
// a sprite's picture shows.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "scene/sprite_table.h"

namespace vellum {

// Loads the mask into textures matching the tiles of sprite n's newest picture. False after a
// report; nothing changes then.
bool maskSprite(int32_t n, const std::string& file, int32_t inversion, int32_t progress, int32_t softness, int32_t x,
                int32_t y);

// The shader constants c0.x and c1.x for the mask's progress, softness and inversion.
std::array<float, 2> maskConstants(const SpriteProperties& p);

}  // namespace vellum
