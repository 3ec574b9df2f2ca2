#include "scene/sprite_table.h"

#include "base/report.h"
#include "image/ops/output_image.h"
#include "render/render_messages.h"
#include "render/renderer_state.h"
#include "render/texture_reuse.h"
#include "scene/animation_update.h"
#include "scene/scene_messages.h"
#include "scene/sprite_drawing.h"

namespace vellum {

SpriteTable& spriteTable() {
  static SpriteTable table;
  return table;
}

void freePicture(SpritePicture& picture) {
  for (SpriteTile& t : picture.tiles) {
    recycleTexture(t.texture);
    recycleTexture(t.mask);
  }
  releaseObject(picture.targetSurface);
  releasePixels(picture);
  picture = SpritePicture{};
}

void releasePixels(SpritePicture& picture) {
  if (picture.sharedPixels) {
    picture.sharedPixels.reset();
    picture.pixels = nullptr;
  } else {
    freeImage(picture.pixels);
  }
}

bool ownPixels(SpritePicture& picture) {
  if (!picture.sharedPixels) return true;
  Image* copy = duplicateImage(picture.pixels);
  if (!copy) return false;
  picture.sharedPixels.reset();
  picture.pixels = copy;
  return true;
}

void resetSprites() {
  SpriteTable& t = spriteTable();
  for (Sprite& s : t.sprites) {
    for (SpriteImage& b : s.buffers) freePicture(b.picture);
    s = Sprite{};
  }
  t.lists.clear();
  resetAnimations();
  t.messageWindowShown = nullptr;
  releasePlainShader();
  installSceneCallbacks();
}

bool checkSpriteNumber(int32_t n) {
  if (n >= 0 && n < kSpriteCount) return true;
  errorc(ReportText().number(n).ascii(scene_messages::kNumberOutOfRange), true);
  return false;
}

Sprite& sprite(int32_t n) { return spriteTable().sprites[static_cast<size_t>(n)]; }

int64_t layerKey(int32_t order, int32_t n) { return static_cast<int64_t>(order) * 1024 + n; }

void listSprite(int32_t n, int32_t parent) {
  Sprite& s = sprite(n);
  if (s.listed) unlistSprite(n);
  s.listParent = parent;
  s.listKey = layerKey(s.order, n);
  spriteTable().lists[parent][s.listKey] = n;
  s.listed = true;
}

bool unlistSprite(int32_t n) {
  Sprite& s = sprite(n);
  if (!s.listed) return false;
  auto list = spriteTable().lists.find(s.listParent);
  if (list == spriteTable().lists.end()) return false;
  auto entry = list->second.find(s.listKey);
  if (entry == list->second.end() || entry->second != n) return false;
  list->second.erase(entry);
  if (list->second.empty()) spriteTable().lists.erase(list);
  s.listed = false;
  return true;
}

void reportNoPicture(int32_t n) { errorc(ReportText().number(n).gbk(render_messages::kNoPicture), true); }

void reportNotListed(int32_t n) { errorc(ReportText().number(n).sjis(scene_messages::kNotListed), true); }

}  // namespace vellum
