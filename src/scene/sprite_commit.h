// The commit: pending changes of the back buffers become visible together, deletions happen.
#pragma once

#include <cstdint>

namespace vellum {

// Commits one sprite's pending changes (sp_ref, and every sprite at draw).
void commitSprite(int32_t n);
void commitAllSprites();

// Deletes a sprite at once: the sprites drawn into it first, then its pictures, its list entry and
// its definition (the load effects stay).
void deleteSpriteNow(int32_t n);

}  // namespace vellum
