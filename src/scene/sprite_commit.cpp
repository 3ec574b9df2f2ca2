#include "scene/sprite_commit.h"

#include <vector>

#include "scene/animation_update.h"
#include "scene/button_table.h"
#include "scene/frame_sequence_slot.h"
#include "scene/sprite_table.h"

namespace vellum {

namespace {

// After a swap the back buffer starts from what is now shown, so that later property commands
// change the shown state and not an old one.
void swapBuffers(Sprite& s) {
  s.front ^= 1;
  s.backImage().props = s.frontImage().props;
  s.backImage().dirty = true;
}

void deleteSprite(int32_t n, int depth) {
  Sprite& s = sprite(n);
  // The children listed under this sprite go first. Parents never form cycles, so the depth is
  // bounded by the table; the guard keeps a damaged table from recursing without end.
  if (depth < kSpriteCount) {
    auto list = spriteTable().lists.find(n);
    if (list != spriteTable().lists.end()) {
      std::vector<int32_t> children;
      for (const auto& [key, child] : list->second) children.push_back(child);
      for (int32_t child : children) deleteSprite(child, depth + 1);
    }
  }
  unlistSprite(n);
  stopFrameSequence(n);
  forgetSpriteButton(n);
  forgetSpriteAnimations(n);
  const auto effects = s.loadEffects;
  for (SpriteImage& b : s.buffers) freePicture(b.picture);
  s = Sprite{};
  s.loadEffects = effects;
}

}  // namespace

void deleteSpriteNow(int32_t n) { deleteSprite(n, 0); }

void commitSprite(int32_t n) {
  Sprite& s = sprite(n);
  const uint32_t p = s.pending & ~pending::kLive;
  if (p == 0) return;
  if (p & pending::kDelete) {
    deleteSprite(n, 0);
    return;
  }
  if ((s.pending & pending::kLive) && s.crossFade) return;
  if (p & pending::kReplace) {
    freePicture(s.frontImage().picture);
    s.frontImage().props = s.backImage().props;
    s.frontImage().dirty = true;
    swapBuffers(s);
  } else if (p == pending::kProperties) {
    s.frontImage().props = s.backImage().props;
    s.frontImage().dirty = true;
  } else if (!s.frontImage().picture.present()) {
    swapBuffers(s);  // a new picture into an empty front: nothing to copy
  } else {
    s.frontImage().props = s.backImage().props;
    s.frontImage().dirty = true;
    swapBuffers(s);
  }
  s.pending &= pending::kLive;
}

void commitAllSprites() {
  for (int32_t n = 0; n < kSpriteCount; ++n)
    if (sprite(n).pending & ~pending::kLive) commitSprite(n);
}

}  // namespace vellum
