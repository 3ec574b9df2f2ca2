#include "scene/sprite_mask.h"

#include <algorithm>
#include <vector>

#include "image/ops/image_ops.h"
#include "render/renderer.h"
#include "render/renderer_state.h"
#include "scene/picture_cache.h"
#include "scene/sprite_loading.h"

namespace vellum {

namespace {

bool uploadMasks(SpritePicture& picture, const Image& full, std::vector<gpu::Texture*>& masks) {
  const bool single = picture.tiles.size() == 1;
  for (const SpriteTile& t : picture.tiles) {
    gpu::Texture* m = createTexture(t.textureW, t.textureH, 1);
    masks.push_back(m);
    const bool ok = m && (single ? writeTexture2(m, full.pixels, 0, full.width, full.height, t.textureW, t.textureH)
                                 : writeTexture3(m, full.pixels, 0, full.width, full.height, t.textureW, t.textureH,
                                                 t.sourceX, t.sourceY));
    if (!ok) {
      for (gpu::Texture*& made : masks) releaseObject(made);
      return false;
    }
  }
  return true;
}

}  // namespace

bool maskSprite(int32_t n, const std::string& file, int32_t inversion, int32_t progress, int32_t softness, int32_t x,
                int32_t y) {
  Sprite& s = sprite(n);
  SpriteImage& shown = s.backImage().picture.present() ? s.backImage() : s.frontImage();
  SpritePicture& picture = shown.picture;
  if (!picture.present() || picture.canvas) {
    reportNoPicture(n);
    return false;
  }
  s.maskX = x;
  s.maskY = y;
  s.secondName = file;
  // A high-resolution picture takes the mask's variant, or the base mask enlarged to match; the
  // place (x, y) is in base-screen pixels either way.
  const bool highResolution = picture.scaleKind == kScaleHighResolution;
  int32_t maskKind = kScaleNormal;
  Image* mask = loadSpritePictureFile(file, PictureSource::Cached, highResolution, &maskKind);
  if (!mask) return false;
  if (highResolution && maskKind != kScaleHighResolution &&
      !resizeImage2(&mask, kHighResolutionFactor, kHighResolutionFactor, 2, 1, 1)) {
    freeImage(mask);
    return false;
  }
  const int32_t factor = highResolution ? kHighResolutionFactor : 1;
  // The mask placed at (x, y) over a picture-sized field; uncovered parts stay hidden (0).
  Image* full = createImage(picture.width, picture.height, 32);
  const bool placed = full && compositeImage(&full, mask, 0, x * factor, y * factor, 0) != 0;
  freeImage(mask);
  std::vector<gpu::Texture*> masks;
  const bool ok = placed && uploadMasks(picture, *full, masks);
  freeImage(full);
  if (!ok) return false;
  for (size_t i = 0; i < picture.tiles.size(); ++i) {
    releaseObject(picture.tiles[i].mask);
    picture.tiles[i].mask = masks[i];
  }
  picture.masked = true;
  const auto apply = [&](SpriteImage& b) {
    b.props.maskInvert = inversion;
    b.props.maskProgress = progress;
    b.props.maskSoftness = (softness - 1) & 0x1FF;
    b.dirty = true;
  };
  apply(s.backImage());
  if (s.pending & pending::kLive) apply(s.frontImage());
  s.pending |= pending::kProperties;
  return true;
}

std::array<float, 2> maskConstants(const SpriteProperties& p) {
  // Shown part: clamp((t (1 + w) - m) / w) for mask value m, progress t and soft edge width w.
  const float w = static_cast<float>((p.maskSoftness & 0x1FF) + 1) / 256.0f;
  const float t = static_cast<float>(std::clamp(p.maskProgress, 0, 255)) / 255.0f;
  if (p.maskInvert) return {-1.0f / w, (t * (1 + w) - 1) / w};
  return {1.0f / w, t * (1 + w) / w};
}

}  // namespace vellum
