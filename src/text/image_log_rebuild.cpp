// getImgLog: the sprites recorded with a backlog page drawn again, on the CPU, into one picture.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "base/report.h"
#include "image/image.h"
#include "image/image_io.h"
#include "image/ops/blend.h"
#include "image/ops/resize.h"
#include "image/ops/rotate.h"
#include "image/pixel_luminance.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "shell/display/screen_geometry.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"
#include "text/image_log.h"
#include "text/movie_first_frame.h"
#include "text/text_messages.h"

namespace vellum {

namespace {

using namespace image_log_kind;
// The sprite blend modes 0-8 as the image library's modes: copy, normal, add, subtract, multiply,
// screen, lighten, darken, exclusion.
constexpr std::array<int, 9> kImageBlendOf = {0, 1, 2, 3, 4, 6, 7, 8, 10};

// Shift-JIS: " createImage\nメモリを確保出来ませんでした" and "jpeg メモリを確保出来ませんでした".
constexpr char kCreateFailed[] =
    " createImage\n\x83\x81\x83\x82\x83\x8a\x82\xf0\x8a\x6d\x95\xdb\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5"
    "\x82\xb5\x82\xbd";
constexpr char kJpegFailed[] =
    "jpeg \x83\x81\x83\x82\x83\x8a\x82\xf0\x8a\x6d\x95\xdb\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5"
    "\x82\xbd";

int parentOf(const ImageLogRecord& r) { return r.spriteAndParent & 0xFFFF; }
int spriteOf(const ImageLogRecord& r) { return (r.spriteAndParent >> 16) & 0xFFFF; }
uint8_t kindOf(const ImageLogRecord& r) { return r.kindAndBlend & 15; }
std::string nameOf(const char* field, size_t capacity) { return std::string(field, strnlen(field, capacity)); }

// Sprite pictures are kept in base pixels whatever the display scale (the renderer scales them
// on the way to the screen), so the page is composed at the game's size: no sizes or positions
// are scaled here.
int scaled(int v) { return v; }

std::array<int32_t, 8> loadEffectsOf(const ImageLogRecord& r) {
  std::array<int32_t, 8> e{};
  e[kNegative] = (r.loadFlags >> 4) & 1;
  e[kGreyscale] = (r.loadFlags >> 3) & 1;
  e[kRotate] = r.loadFlags & 7;
  e[kBrightness] = r.brightnessContrast;
  e[kColour] = r.colourEffect;
  e[kHsl] = r.hslEffect;
  e[kBlur] = r.blur;
  e[kMosaic] = r.mosaic;
  return e;
}

// What a record's source gave: a picture, nothing to draw (not a failure), or a failure.
enum class Source { Picture, Nothing, Failed };

Image* withEffects(Image* image, const ImageLogRecord& r) {
  if (image && !applyLoadEffects(image, loadEffectsOf(r))) freeImage(image);
  return image;
}

bool empty(const Image* image) { return !image || image->width <= 0 || image->height <= 0 || !image->pixels; }

Image* copyOf(const Image& from) {
  Image* copy = createImage(from.width, from.height, 32);
  if (copy) std::memcpy(copy->pixels, from.pixels, static_cast<size_t>(from.width) * static_cast<size_t>(from.height) * 4);
  return copy;
}

Source moviePicture(const std::string& name, const ImageLogRecord& r, Image*& out) {
  uint8_t* buffer = nullptr;
  uint32_t size = 0, capacity = 0;
  if (!loadFile(name, buffer, size, capacity)) {
    freeAligned(buffer);
    return Source::Nothing;  // the loader reported it
  }
  const FirstFrame frame = findFirstMovieFrame(buffer, size);
  Source result = Source::Nothing;
  switch (frame.result) {
    case FirstFrameResult::Jpeg:
      out = withEffects(loadImage(buffer + frame.offset, frame.length), r);
      if (empty(out)) {
        errorc(ReportText().sjis(kJpegFailed), true);
        if (out) freeImage(out);
      } else {
        result = Source::Picture;
      }
      break;
    case FirstFrameResult::NoPicture: break;
    case FirstFrameResult::BadHeader: errorc(ReportText().ascii("HEADER FORMAT ERROR"), true); break;
    case FirstFrameResult::NotJpeg: errorc(ReportText().ascii("CHUNK READ ERROR JPEG"), true); break;
    case FirstFrameResult::BadChunk: errorc(ReportText().ascii("CHUNK READ ERROR"), true); break;
  }
  freeAligned(buffer);
  return result;
}

// A standing picture stands centred on the bottom edge of its canvas.
Source standingPicture(const std::string& name, const ImageLogRecord& r, Image*& out) {
  Image* picture = withEffects(loadSpritePictureFile(name), r);
  if (empty(picture)) {
    if (picture) freeImage(picture);
    return Source::Nothing;
  }
  const int w = r.sizeCodeX / 4, h = r.sizeCodeY / 4;
  out = createImage(w, h, 32);
  if (!out) {
    errorc(ReportText().gbk(name).sjis(kCreateFailed), true);
    freeImage(picture);
    return Source::Failed;
  }
  blendImage(&out, picture, 0, (w - picture->width) / 2, h - picture->height, 256, 0);
  freeImage(picture);
  return Source::Picture;
}

class Composer {
 public:
  explicit Composer(const BacklogEntry& entry) : entry_(entry) {}
  ~Composer() {
    for (auto& [n, image] : canvases_) freeImage(image);
  }

  void storeCanvas(int n, Image* image) {
    if (Image*& slot = canvases_[n]) freeImage(slot);
    canvases_[n] = image;
  }

  // The records under `parent` drawn into a new transparent picture of w x h.
  Image* compose(int parent, int w, int h) {
    Image* target = createImage(w, h, 32);
    if (!target) {
      errorc(ReportText().sjis(text_messages::kNoPictureMemory), true);
      return nullptr;
    }
    for (const ImageLogRecord& r : entry_.imageLog) {
      if (r.sourceName[0] == '\0') break;
      if (parentOf(r) != parent) continue;
      Image* picture = nullptr;
      const Source got = source(r, picture);
      if (got == Source::Failed) break;
      // A record whose picture is missing or empty is left out; the rest of the page still draws.
      if (got == Source::Nothing || empty(picture)) {
        if (picture) freeImage(picture);
        continue;
      }
      draw(target, picture, r);
    }
    return target;
  }

 private:
  Source source(const ImageLogRecord& r, Image*& out) {
    const std::string name = nameOf(r.sourceName, sizeof r.sourceName);
    const uint8_t kind = kindOf(r);
    if (kind & kStanding) return standingPicture(name, r, out);
    if (kind & kMovie) return moviePicture(name, r, out);
    if (kind & kCanvas) {
      const auto it = canvases_.find(spriteOf(r));
      if (it == canvases_.end() || empty(it->second)) return Source::Nothing;
      out = copyOf(*it->second);
      return out ? Source::Picture : Source::Failed;
    }
    out = withEffects(loadSpritePictureFile(name), r);
    return out ? Source::Picture : Source::Nothing;
  }

  // The mask picture as the sprite showed it: each grey value m is the moment its pixel appears as
  // the progress t rises, over a soft edge w; outside the mask m is 0. The record keeps softness,
  // progress and inversion as its three 10-bit mask values.
  static void applyMask(Image& picture, const ImageLogRecord& r) {
    const std::string name = nameOf(r.secondSource, sizeof r.secondSource);
    if (name.empty()) return;
    Image* mask = loadSpritePictureFile(name);
    if (empty(mask)) {
      if (mask) freeImage(mask);
      return;
    }
    const int softness = (r.maskValues >> 20) & 1023, progress = (r.maskValues >> 10) & 1023;
    const bool invert = (r.maskValues & 1023) != 0;
    const float w = static_cast<float>((softness & 0x1FF) + 1) / 256.0f;
    const float t = static_cast<float>(std::min(progress, 255)) / 255.0f;
    const int ox = r.maskX + (picture.width - mask->width) / 2, oy = r.maskY + (picture.height - mask->height) / 2;
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        const int mx = x - ox, my = y - oy;
        float m = 0;
        if (mx >= 0 && my >= 0 && mx < mask->width && my < mask->height)
          m = pixelLuminance(mask->pixels[static_cast<size_t>(my) * static_cast<size_t>(mask->width) + static_cast<size_t>(mx)]) / 255.0f;
        if (invert) m = 1 - m;
        const float shown = std::clamp((t * (1 + w) - m) / w, 0.0f, 1.0f);
        uint32_t& p = picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)];
        const auto alpha = static_cast<uint32_t>(static_cast<float>(p >> 24) * shown + 0.5f);
        p = (p & 0x00FFFFFFu) | (alpha << 24);
      }
    picture.bitsPerPixel = 32;
    freeImage(mask);
  }

  void draw(Image* target, Image* picture, const ImageLogRecord& r) {
    applyMask(*picture, r);
    const ScreenGeometry& g = screenGeometry();
    const int X = entry_.screenX, Y = entry_.screenY, W = entry_.screenW, H = entry_.screenH;
    const bool transform = !(X == 0 && Y == 0 && W == 100 && H == 100);
    int x = r.x, y = r.y;
    const int sx = r.scaleX, sy = r.scaleY;
    int tw = 0, th = 0;
    double f = sx == sy ? sx / 100.0 : 0.0;
    if (transform) {
      const int cx = g.gameW / 2, cy = g.gameH / 2;
      x = X + x + (x - cx) * (W - 100) / 100;
      y = Y + y + (y - cy) * (H - 100) / 100;
      tw = picture->width * (sx * W / 100) / 100;
      th = picture->height * (sy * H / 100) / 100;
      f = W == H ? f * H / 100.0 : 0.0;
    } else {
      tw = sx * picture->width / 100;
      th = picture->height * sy / 100;
    }
    x = scaled(x);
    y = scaled(y);
    const int rotation = r.rotation;
    bool ok = true;
    if (f != 0 && f != 1 && rotation != 0) {
      ok = rotateImage2(&picture, rotation, f, 1) != 0;
    } else {
      if (tw <= 0 || th <= 0) {
        freeImage(picture);
        return;
      }
      if (tw != picture->width || th != picture->height) ok = resizeImage2(&picture, tw, th, 1, 1, 1) != 0;
      if (ok && rotation != 0) ok = rotateImage2(&picture, rotation, 0, 1) != 0;
    }
    if (!ok || empty(picture)) {
      if (picture) freeImage(picture);
      return;
    }
    const int ax = r.sizeCodeX & 3, ay = r.sizeCodeY & 3;
    int left = 0, top = 0;
    if (rotation == 0) {
      left = x - (tw * ax) / 2;
      top = y - (th * ay) / 2;
    } else {
      const double a = -rotation * 3.14159265358979323846 / 180.0;
      const double F = (tw * ax) / 2 - tw / 2, G = (th * ay) / 2 - th / 2;
      left = x - static_cast<int>(F * std::cos(a) - G * std::sin(a) + 0.5) - picture->width / 2;
      top = y - static_cast<int>(F * std::sin(a) + G * std::cos(a) + 0.5) - picture->height / 2;
    }
    const int mode = r.kindAndBlend >> 4;
    if (mode <= 8) blendImage(&target, picture, kImageBlendOf[static_cast<size_t>(mode)], left, top, r.alpha + 1, 0);
    freeImage(picture);
  }

  const BacklogEntry& entry_;
  std::map<int, Image*> canvases_;
};

}  // namespace

void rebuildImageLog(int32_t spriteNumber, int distance) {
  const BacklogEntry& entry = backlog().back(distance);
  if (entry.imageLog[0].sourceName[0] == '\0') return;
  if (!checkSpriteNumber(spriteNumber)) return;
  Composer composer(entry);
  for (const ImageLogRecord& r : entry.imageLog) {
    if (r.sourceName[0] == '\0') break;
    if (!(kindOf(r) & kCanvas)) continue;
    Image* canvas = composer.compose(spriteOf(r), scaled(r.sizeCodeX / 4), scaled(r.sizeCodeY / 4));
    if (canvas) composer.storeCanvas(spriteOf(r), canvas);
  }
  const ScreenGeometry& g = screenGeometry();
  Image* screen = composer.compose(0, scaled(2 * (g.gameW / 2)), scaled(2 * (g.gameH / 2)));
  if (!screen) return;
  if (!loadSpriteImage(spriteNumber, screen, 0, 0)) return;
  Sprite& s = sprite(spriteNumber);
  s.sourceName.clear();
  s.sourceKind = SourceKind::Composed;
  commitSprite(spriteNumber);
}

}  // namespace vellum
