// Standing pictures (sp_st): a picture placed into a transparent canvas of a fixed size, centred
// horizontally and standing on the bottom edge.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

// False after a report; the sprite keeps its previous state then.
bool loadStandingSprite(int32_t n, const std::string& file, uint32_t flags, int32_t width, int32_t height);

}  // namespace vellum
