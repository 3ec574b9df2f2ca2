#include "scene/animation_update.h"

#include <algorithm>

#include "persist/engine_settings.h"
#include "scene/animation_tracks.h"
#include "scene/frame_sequence_slot.h"
#include "scene/screen_transform.h"
#include "scene/sprite_shakes.h"
#include "scene/sprite_table.h"

namespace vellum {

void updateAnimations(uint32_t now) {
  // SystemActive 1: pausing is asked for and the window is inactive, so everything holds still.
  if (settings().systemActive == 1) return;
  updateScreenTransform(now);
  updateSpriteShakes(now);
  updateTracks(now);
}

bool animationsActive() { return tracksRunning() || spriteShakesRunning() || screenTransformActive(); }

uint32_t animationPresence(int32_t first, int32_t last) {
  first = std::max(first, 0);
  last = std::min(last, kSpriteCount - 1);
  uint32_t bits = 0;
  for (int32_t n = first; n <= last; ++n) {
    bits |= sprite(n).animationBits;
    if (hasFrameSequence(n)) bits |= 1;
  }
  return bits;
}

void resetAnimations() {
  resetTracks();
  resetSpriteShakes();
  resetScreenTransform();
}

void forgetSpriteAnimations(int32_t n) {
  forgetSpriteTracks(n);
  forgetSpriteShakes(n);
}

}  // namespace vellum
