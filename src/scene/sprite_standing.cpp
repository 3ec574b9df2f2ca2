#include "scene/sprite_standing.h"

#include "image/ops/image_ops.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "scene/sprite_textures.h"

namespace vellum {

bool loadStandingSprite(int32_t n, const std::string& file, uint32_t flags, int32_t width, int32_t height) {
  Sprite& s = sprite(n);
  Image* picture = loadSpritePictureFile(file);
  if (!picture) return false;
  Image* canvas = createImage(width, height, 32);
  bool ok = canvas && applyLoadEffects(picture, s.loadEffects);
  const int32_t x = canvas ? (width - picture->width) / 2 : 0, y = canvas ? height - picture->height : 0;
  ok = ok && compositeImage(&canvas, picture, 0, x, y, 0) != 0;
  freeImage(picture);
  if (!ok) {
    freeImage(canvas);
    return false;
  }
  canvas->left = x;
  canvas->top = y;
  if (!loadSpriteImage(n, canvas, flags, 0)) return false;
  s.sourceName = file;
  s.sourceKind = SourceKind::Standing;
  s.standingW = width;
  s.standingH = height;
  return true;
}

}  // namespace vellum
