#include "scene/sprite_loading.h"

#include <algorithm>
#include <cmath>

#include "base/engine_state.h"
#include "base/report.h"
#include "image/image_io.h"
#include "image/ops/image_ops.h"
#include "image/pixel_luminance.h"
#include "scene/scene_messages.h"
#include "scene/frame_sequence_slot.h"
#include "scene/picture_cache.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_table.h"
#include "scene/sprite_textures.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {

int8_t signedByte(int32_t v, int shift) { return static_cast<int8_t>((static_cast<uint32_t>(v) >> shift) & 0xFF); }

// The grey values of the mask become the picture's alpha where the two overlap.
void applyMaskPicture(Image& picture, const Image& mask) {
  const int32_t w = std::min(picture.width, mask.width), h = std::min(picture.height, mask.height);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint32_t& p = picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)];
      const uint32_t grey = pixelLuminance(mask.pixels[static_cast<size_t>(y) * static_cast<size_t>(mask.width) + static_cast<size_t>(x)]);
      p = (p & 0x00FFFFFFu) | (grey << 24);
    }
  picture.bitsPerPixel = 32;
}

// A high-resolution picture whose mask has no variant of its own gets the base mask enlarged by
// the same factor, so that it covers the same part of the picture.
bool enlargeMask(Image*& mask) {
  return resizeImage2(&mask, kHighResolutionFactor, kHighResolutionFactor, 2, 1, 1) != 0;
}

Image* loadWithMaskPart(const std::string& file, PictureSource source, bool highResolution, int32_t& scaleKind) {
  const size_t question = file.find('?');
  Image* picture = loadSpritePictureFile(std::string_view(file).substr(0, question), source, highResolution, &scaleKind);
  if (!picture || question == std::string::npos) return picture;
  int32_t maskKind = kScaleNormal;
  Image* mask = loadSpritePictureFile(std::string_view(file).substr(question + 1), source,
                                      scaleKind == kScaleHighResolution, &maskKind);
  if (mask && scaleKind == kScaleHighResolution && maskKind != kScaleHighResolution && !enlargeMask(mask)) {
    freeImage(mask);
    mask = nullptr;
  }
  if (!mask) {
    freeImage(picture);
    return nullptr;
  }
  applyMaskPicture(*picture, *mask);
  freeImage(mask);
  return picture;
}

int32_t toHighResolution(int32_t v) {
  return static_cast<int32_t>(std::lround(static_cast<double>(v) * kHighResolutionFactor));
}

// The clip rectangle is in base-screen pixels; a high-resolution picture is cut to the same part.
bool clipPicture(Image*& image, ClipRect clip, int32_t scaleKind) {
  if (clip.width == 0 || clip.height == 0) return true;
  if (scaleKind == kScaleHighResolution) {
    if (clip.x != -1) clip.x = toHighResolution(clip.x);
    clip.y = toHighResolution(clip.y);
    clip.width = toHighResolution(clip.width);
    clip.height = toHighResolution(clip.height);
  }
  const int32_t x = clip.x == -1 ? (image->width - clip.width) / 2 : clip.x;
  return clippingImage2(&image, x, clip.y, clip.width, clip.height) != 0;
}

SpriteProperties defaultProperties(uint32_t flags) {
  SpriteProperties p;
  p.flags = flags;
  return p;
}

// Step 6 of a load: the new picture waits in the back buffer for the next commit.
void stagePicture(int32_t n, BuildResult result, SpritePicture& fresh, uint32_t flags, int32_t scaleKind) {
  Sprite& s = sprite(n);
  const bool wasInUse = s.inUse();
  SpriteImage& back = s.backImage();
  if (result == BuildResult::Fresh) {
    freePicture(back.picture);
    back.picture = std::move(fresh);
  }
  if (!wasInUse) {
    s.buffers[0].props = s.buffers[1].props = defaultProperties(flags);
    s.order = 0;
    listSprite(n, 0);
  }
  back.picture.scaleKind = scaleKind;
  back.props.flags = flags;
  back.dirty = true;
  // A load after sp_d in the same frame wins: the sprite stays.
  s.pending &= ~pending::kDelete;
  s.pending |= s.frontImage().picture.present() ? (pending::kNewPicture | pending::kReplace) : pending::kNewPicture;
}

// A picture shown as its file holds it (no mask part, clip or load effect) is never changed on its
// way to the sprite, so the sprite shares the cached picture instead of copying it.
bool showsFileAsItIs(const std::string& file, const ClipRect& clip, const std::array<int32_t, 8>& effects) {
  return file.find('?') == std::string::npos && (clip.width == 0 || clip.height == 0) &&
         std::all_of(effects.begin(), effects.end(), [](int32_t e) { return e == 0; });
}

SharedPicture shareSpritePictureFile(std::string_view name, PictureSource source, bool highResolution,
                                     int32_t* scaleKind) {
  if (source == PictureSource::File) forgetCachedPicture(pictureKey(resolvePictureName(name, highResolution)));
  return sharePicture(name, highResolution, scaleKind);
}

bool loadSharedSpriteImage(int32_t n, const SharedPicture& picture, uint32_t flags, int32_t division,
                           int32_t scaleKind) {
  Sprite& s = sprite(n);
  SpritePicture fresh;
  const BuildResult result = buildSharedPicture(picture, division, flags, s.backImage().picture, fresh);
  if (result == BuildResult::Failed) return false;
  stagePicture(n, result, fresh, flags, scaleKind);
  s.label.clear();
  return true;
}

}  // namespace

Image* loadSpritePictureFile(std::string_view name, PictureSource source, bool highResolution, int32_t* scaleKind) {
  if (source == PictureSource::File) forgetCachedPicture(pictureKey(resolvePictureName(name, highResolution)));
  return loadPicture(name, true, highResolution, scaleKind);
}

bool applyLoadEffects(Image*& image, const std::array<int32_t, 8>& e) {
  bool ok = true;
  if (e[kNegative] & 0xFF) ok &= negaposiImage(image) != 0;
  if (e[kGreyscale] & 0xFF) ok &= grayscalImage(image) != 0;
  switch (e[kRotate]) {
    case 1: ok &= flipHorizontalImage2(&image) != 0; break;
    case 2: ok &= flipVerticalImage2(&image) != 0; break;
    case 3: ok &= rotateImage2(&image, 180.0, 0.0, 0) != 0; break;
    default: break;
  }
  if (e[kBrightness]) ok &= bcImage(image, signedByte(e[kBrightness], 8), signedByte(e[kBrightness], 0)) != 0;
  if (e[kColour])
    ok &= colorImage(image, signedByte(e[kColour], 16), signedByte(e[kColour], 8), signedByte(e[kColour], 0)) != 0;
  if (e[kHsl]) ok &= hslImage(image, e[kHsl] >> 16, signedByte(e[kHsl], 8), signedByte(e[kHsl], 0)) != 0;
  if (e[kBlur]) ok &= blurImage(image, e[kBlur] >> 16, e[kBlur] & 0xFFFF) != 0;
  if (e[kMosaic]) ok &= mosaicImage(image, e[kMosaic] >> 16, e[kMosaic] & 0xFFFF) != 0;
  return ok;
}

bool loadSpriteImage(int32_t n, Image* image, uint32_t flags, int32_t division, int32_t scaleKind) {
  if (!image) {
    errorc(ReportText(scene_messages::kCreate, CodePage::Gbk), true);
    return false;
  }
  Sprite& s = sprite(n);
  SpritePicture fresh;
  const BuildResult result = buildPicture(image, division, flags, s.backImage().picture, fresh);
  if (result == BuildResult::Failed) {
    freeImage(image);
    return false;
  }
  stagePicture(n, result, fresh, flags, scaleKind);
  s.label.clear();
  return true;
}

bool loadSprite(int32_t n, const std::string& file, uint32_t flags, int32_t division, const ClipRect& clip,
                PictureSource source) {
  Sprite& s = sprite(n);
  if (s.textDrawing) {
    deleteSpriteNow(n);
  } else {
    stopFrameSequence(n);
  }
  int32_t scaleKind = kScaleNormal;
  if (showsFileAsItIs(file, clip, s.loadEffects)) {
    const SharedPicture picture = shareSpritePictureFile(file, source, wantsHighResolution(flags), &scaleKind);
    if (!picture || !loadSharedSpriteImage(n, picture, flags, division, scaleKind)) return false;
  } else {
    Image* image = loadWithMaskPart(file, source, wantsHighResolution(flags), scaleKind);
    if (!image) return false;
    if (!clipPicture(image, clip, scaleKind) || !applyLoadEffects(image, s.loadEffects)) {
      freeImage(image);
      return false;
    }
    if (!loadSpriteImage(n, image, flags, division, scaleKind)) return false;
  }
  s.sourceName = file;
  s.sourceKind = SourceKind::Picture;
  s.clipX = clip.x;
  s.clipY = clip.y;
  s.clipW = clip.width;
  s.clipH = clip.height;
  return true;
}

bool makeCanvasSprite(int32_t n, int32_t width, int32_t height, uint32_t flags) {
  Sprite& s = sprite(n);
  if (s.textDrawing) deleteSpriteNow(n);
  SpritePicture fresh;
  if (!buildCanvas(width, height, fresh)) return false;
  stagePicture(n, BuildResult::Fresh, fresh, flags, kScaleNormal);
  s.sourceName.clear();
  s.sourceKind = SourceKind::Canvas;
  return true;
}

}  // namespace vellum
