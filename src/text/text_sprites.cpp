// Text sprites: strings (ssp) and backlog text with ruby (logsp) rasterised into sprite pictures,
// and text drawn onto a sprite's prepared picture (ssp_draw).
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "image/image.h"
#include "render/renderer_state.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "scene/sprite_textures.h"
#include "script/script_state.h"
#include "text/cstring.h"
#include "text/message_window.h"
#include "text/text_messages.h"
#include "text/text_sprites.h"

namespace vellum {

namespace {

constexpr int kMaxSide = 16384;
constexpr int32_t kStringSprite = 1, kLogSprite = 2;

int32_t intArg(void* call, int i) { return args().getInt(call, i); }
int evenUp(long long v) { return static_cast<int>(v + (v & 1)); }
bool fastForward() { return scriptState().fastForwardMode != 0; }

RasterTarget targetOf(Image* image) {
  return {reinterpret_cast<uint8_t*>(image->pixels), image->width * 4, image->width, image->height, false};
}

// A zeroed picture, or nullptr after a report when the size is unusable.
Image* textCanvas(long long width, long long height) {
  Image* image = nullptr;
  if (width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide)
    image = createImage(static_cast<int>(width), static_cast<int>(height), 32);
  if (!image) errorc(ReportText().sjis(text_messages::kNoPictureMemory), true);
  return image;
}

void recordText(int32_t n, const std::string& text, int32_t kind) {
  Sprite& s = sprite(n);
  const CString& t = spriteText();
  s.sourceName = text;  // whole, however long
  s.sourceKind = SourceKind::Canvas;
  s.secondName = t.fontName;
  s.textParams = {t.size, t.style(), static_cast<int32_t>(t.rasteriser().colour(0)),
                  static_cast<int32_t>(t.rasteriser().colour(1)), static_cast<int32_t>(t.rasteriser().colour(2))};
  s.textState = kind;
}

// Gives the sprite's back buffer the 1 x 1 stand-in of a fast-forward.
void placeholder(int32_t n, uint32_t flags) {
  if (Image* image = createImage(1, 1, 32)) loadSpriteImage(n, image, flags, 0);
}

void renderString(Image* image, const std::string& text) { spriteText().RenderText(targetOf(image), text); }

void renderLog(Image* image, const std::string& text) {
  const MessageWindow& w = messageWindow();
  const float scale = displayScale();
  const int spacing = static_cast<int>(std::lround(static_cast<float>(w.log[4]) * scale));
  const int gap = static_cast<int>(std::lround(static_cast<float>(w.log[5]) * scale));
  spriteText().RenderRubyText(targetOf(image), text, spacing, gap, spriteRubyText(), w.proportional);
}

void makeTextSprite(int32_t n, const std::string& text, uint32_t flags, int32_t kind, int rows) {
  Sprite& s = sprite(n);
  if (s.textDrawing) deleteSpriteNow(n);
  if (fastForward()) {
    placeholder(n, flags);
  } else {
    const long long size = spriteText().size, bold = spriteText().bold() ? 1 : 0;
    long long width = 0, height = 0;
    if (kind == kStringSprite) {
      width = evenUp(static_cast<long long>(text.size()) * size / 2 + 5) + 2 * bold;
      height = evenUp(size + 5) + 2 * bold;
    } else {
      const MessageWindow& w = messageWindow();
      const float scale = displayScale();
      const long long g = std::lround(static_cast<float>(w.log[4]) * scale);
      const long long f = std::lround(static_cast<float>(w.log[5]) * scale);
      width = evenUp((g + size) * w.log[0] + 5) + 2 * bold;
      height = evenUp((f + size) * rows + 5) + 2 * bold;
    }
    Image* image = textCanvas(width, height);
    if (!image) return;
    if (kind == kStringSprite)
      renderString(image, text);
    else
      renderLog(image, text);
    if (!loadSpriteImage(n, image, flags, 0)) return;
  }
  commitSprite(n);
  recordText(n, text, kind);
}

// Draws the stored text again into the front picture's textures.
void redrawTextSprite(int32_t n, int32_t kind) {
  if (fastForward()) return;
  Sprite& s = sprite(n);
  SpriteImage& front = s.frontImage();
  if (!front.picture.present() || s.textState != kind || front.picture.width <= 0) {
    reportNoPicture(n);
    return;
  }
  Image* image = createImage(front.picture.width, front.picture.height, 32);
  if (!image) {
    errorc(ReportText().sjis(text_messages::kNoPictureMemory), true);
    return;
  }
  if (kind == kStringSprite)
    renderString(image, s.sourceName);
  else
    renderLog(image, s.sourceName);
  SpritePicture unused;
  const BuildResult built = buildPicture(image, front.picture.division, front.props.flags, front.picture, unused);
  if (built == BuildResult::Failed) freeImage(image);
  if (built == BuildResult::Fresh) freePicture(unused);  // cannot happen for a picture of the same size
}

// The text-sprite font as one value, so that a sprite can be drawn with its own and the shared
// one put back afterwards.
struct SpriteFont {
  std::string name;
  int size = 0, style = 0;
  std::array<uint32_t, 3> colours{};
};

SpriteFont currentSpriteFont() {
  const CString& t = spriteText();
  return {t.fontName, t.size, t.style(), {t.rasteriser().colour(0), t.rasteriser().colour(1), t.rasteriser().colour(2)}};
}

void useSpriteFont(const SpriteFont& f) {
  spriteText().SetFont(f.name, f.size, f.style);
  spriteRubyText().SetFont(f.name, f.size / 2, f.style);
  for (CString* t : {&spriteText(), &spriteRubyText()}) t->SetColors(f.colours[0], f.colours[1], f.colours[2]);
}

// The font a text sprite was made with, as recordText keeps it.
SpriteFont recordedFont(const Sprite& s) {
  return {s.secondName, s.textParams[0], s.textParams[1],
          {static_cast<uint32_t>(s.textParams[2]), static_cast<uint32_t>(s.textParams[3]),
           static_cast<uint32_t>(s.textParams[4])}};
}

bool sameFont(const SpriteFont& a, const SpriteFont& b) {
  return a.name == b.name && a.size == b.size && a.style == b.style && a.colours == b.colours;
}

int sspSetBody(void* call) {
  setCurrentCommandName("ssp_set");
  std::string name = stringArgument(call, 1).substr(0, 31);
  const float scale = displayScale();
  const int size = static_cast<int>(std::lround(static_cast<float>(std::clamp(intArg(call, 2), 0, 4096)) * scale));
  const int style = intArg(call, 3);
  spriteText().SetFont(name, size, style);
  spriteRubyText().SetFont(name, size / 2, style);
  for (CString* t : {&spriteText(), &spriteRubyText()})
    t->SetColors(static_cast<uint32_t>(intArg(call, 4)), static_cast<uint32_t>(intArg(call, 5)),
                 static_cast<uint32_t>(intArg(call, 6)));
  return noResult(call);
}

int sspBody(void* call) {
  setCurrentCommandName("ssp");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n)) makeTextSprite(n, stringArgument(call, 2), static_cast<uint32_t>(intArg(call, 3)), kStringSprite, 0);
  return noResult(call);
}

int logspBody(void* call) {
  setCurrentCommandName("logsp");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n))
    makeTextSprite(n, stringArgument(call, 2), static_cast<uint32_t>(intArg(call, 3)), kLogSprite,
                   std::clamp(intArg(call, 4), 0, 4096));
  return noResult(call);
}

int sspResetBody(void* call) {
  setCurrentCommandName("ssp_reset");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n)) redrawTextSprite(n, kStringSprite);
  return noResult(call);
}

int logspResetBody(void* call) {
  setCurrentCommandName("logsp_reset");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n)) redrawTextSprite(n, kLogSprite);
  return noResult(call);
}

// Source-over with the text's own alpha, clipped to the picture.
void blendOnto(Image* picture, const Image* text, int x, int y) {
  for (int ty = 0; ty < text->height; ++ty) {
    const int py = y + ty;
    if (py < 0 || py >= picture->height) continue;
    for (int tx = 0; tx < text->width; ++tx) {
      const int px = x + tx;
      if (px < 0 || px >= picture->width) continue;
      const uint32_t s = text->pixels[ty * text->width + tx];
      const uint32_t a = s >> 24;
      if (a == 0) continue;
      uint32_t& d = picture->pixels[py * picture->width + px];
      uint32_t out = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t sc = (s >> shift) & 255, dc = (d >> shift) & 255;
        out |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
      }
      const uint32_t da = d >> 24;
      out |= (a + (da * (255 - a) + 127) / 255) << 24;
      d = out;
    }
  }
}

int sspDrawBody(void* call) {
  setCurrentCommandName("ssp_draw");
  const int32_t n = intArg(call, 1);
  if (!checkSpriteNumber(n)) return noResult(call);
  const std::string text = stringArgument(call, 2);
  Sprite& s = sprite(n);
  SpriteImage& back = s.backImage();
  if (fastForward()) {
    placeholder(n, back.props.flags);
    return noResult(call);
  }
  if (!back.picture.present() || !back.picture.pixels) {
    reportNoPicture(n);
    return noResult(call);
  }
  const long long size = spriteText().size;
  Image* buffer = nullptr;
  const long long width = size * static_cast<long long>(text.size()) / 2 + 4, height = size + 4;
  if (width <= kMaxSide && height <= kMaxSide) buffer = createImage(static_cast<int>(width), static_cast<int>(height), 32);
  if (!buffer) {
    errorc(ReportText().sjis(text_messages::kNoMemory), true);
    return noResult(call);
  }
  renderString(buffer, text);
  const Image* kept = back.picture.pixels;
  Image* copy = createImage(kept->width, kept->height, 32);
  if (!copy) {
    freeImage(buffer);
    errorc(ReportText().sjis(text_messages::kNoPictureMemory), true);
    return noResult(call);
  }
  std::copy(kept->pixels, kept->pixels + kept->pixelCount, copy->pixels);
  blendOnto(copy, buffer, intArg(call, 3), intArg(call, 4));
  freeImage(buffer);
  SpritePicture fresh;
  const BuildResult built = buildPicture(copy, back.picture.division, back.props.flags, back.picture, fresh);
  if (built == BuildResult::Failed) freeImage(copy);
  if (built == BuildResult::Fresh) {
    freePicture(back.picture);
    back.picture = std::move(fresh);
  }
  if (built != BuildResult::Failed) s.label += (s.label.empty() ? "" : " ") + text;
  return noResult(call);
}

}  // namespace

void redrawRestoredTextSprites() {
  const SpriteFont shared = currentSpriteFont();
  SpriteFont inUse = shared;
  for (int32_t n = 0; n < kSpriteCount; ++n) {
    Sprite& s = sprite(n);
    if (s.sourceKind != SourceKind::Canvas || (s.textState != kStringSprite && s.textState != kLogSprite) ||
        !s.frontImage().picture.present())
      continue;
    const SpriteFont own = recordedFont(s);
    if (!sameFont(own, inUse)) useSpriteFont(inUse = own);
    redrawTextSprite(n, s.textState);
  }
  if (!sameFont(inUse, shared)) useSpriteFont(shared);
}

std::string spriteLabel(int32_t n) {
  if (n < 0 || n >= kSpriteCount) return {};
  const Sprite& s = sprite(n);
  // A string sprite is its text; words drawn on it come after.
  std::string words = s.textState == kStringSprite ? s.sourceName : std::string();
  if (!words.empty() && !s.label.empty()) words += ' ';
  return words + s.label;
}

void provideTextSpriteCommands() {
  provideCommand("ssp_set", &sspSetBody);
  provideCommand("ssp", &sspBody);
  provideCommand("ssp_reset", &sspResetBody);
  provideCommand("ssp_draw", &sspDrawBody);
  provideCommand("logsp", &logspBody);
  provideCommand("logsp_reset", &logspResetBody);
}

}  // namespace vellum
