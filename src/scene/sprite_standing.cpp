#include "scene/sprite_standing.h"

#include "image/ops/image_ops.h"
#include "scene/picture_cache.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "scene/sprite_textures.h"

namespace vellum {

bool loadStandingSprite(int32_t n, const std::string& file, uint32_t flags, int32_t width, int32_t height) {
  Sprite& s = sprite(n);
  int32_t scaleKind = kScaleNormal;
  Image* picture = loadSpritePictureFile(file, PictureSource::Cached, wantsHighResolution(flags), &scaleKind);
  if (!picture) return false;
  // The canvas size is in base-screen pixels; a high-resolution picture gets a canvas to match.
  const int32_t factor = scaleKind == kScaleHighResolution ? kHighResolutionFactor : 1;
  const int32_t canvasW = width * factor, canvasH = height * factor;
  Image* canvas = createImage(canvasW, canvasH, 32);
  bool ok = canvas && applyLoadEffects(picture, s.loadEffects);
  const int32_t x = canvas ? (canvasW - picture->width) / 2 : 0, y = canvas ? canvasH - picture->height : 0;
  ok = ok && compositeImage(&canvas, picture, 0, x, y, 0) != 0;
  freeImage(picture);
  if (!ok) {
    freeImage(canvas);
    return false;
  }
  canvas->left = x;
  canvas->top = y;
  if (!loadSpriteImage(n, canvas, flags, 0, scaleKind)) return false;
  s.sourceName = file;
  s.sourceKind = SourceKind::Standing;
  s.standingW = width;
  s.standingH = height;
  return true;
}

}  // namespace vellum
