// A full sprite scene for the save and rollback benchmarks: `count` sprites of one 16x16 picture,
// spread over the screen with varied opacity, committed as a frame would commit them.
#pragma once

#include <string>

#include "base/engine_state.h"
#include "image/image.h"
#include "image/image_io.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"

namespace vellum::bench {

// False when the picture cannot be written or a sprite cannot load it.
inline bool fillSpriteScene(int count) {
  Image* image = createImage(16, 16, 32);
  for (int i = 0; i < image->pixelCount; ++i) image->pixels[i] = 0xFF336699u;
  SaveRequest png;
  png.option1 = 32;
  png.option2 = 1;
  const bool written = saveImage(engine().exeDirectory + "p.png", image, png);
  freeImage(image);
  if (!written) return false;
  for (int n = 0; n < count; ++n) {
    if (!loadSprite(n, "p.png", 0, 0, {})) return false;
    SpriteProperties& p = sprite(n).backImage().props;
    p.x = static_cast<float>(n % 1000);
    p.y = static_cast<float>(n / 3);
    p.alpha = n % 256;
    sprite(n).pending |= pending::kProperties;
  }
  commitAllSprites();
  return true;
}

}  // namespace vellum::bench
