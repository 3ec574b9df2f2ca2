#include "scene/animation_tracks.h"
#include "scene/frame_sequence_slot.h"
#include "scene/sprite_table.h"
#include "text/image_log.h"

namespace vellum {

namespace {

// SpriteImage flags that keep a sprite out of the log: the message layer and screen-fixed ones.
constexpr uint32_t kUnloggedFlags = 3;
using namespace image_log_kind;

uint8_t kindBits(const Sprite& s) { return static_cast<uint8_t>(s.sourceKind); }

bool qualifies(int32_t n, Sprite& s) {
  const SpriteImage& front = s.frontImage();
  if (!front.picture.present() || front.props.alpha == 0) return false;
  if (front.props.flags & kUnloggedFlags) return false;
  if (s.textDrawing || (s.pending & pending::kDelete)) return false;
  if (kindBits(s) & kMovie) {
    const int32_t state = movieStateOf(n);
    return state != -2 && state <= 0;
  }
  return true;
}

// A property as it will stand when its running track ends, else as shown.
int32_t atRest(int32_t n, int kind, int32_t shown) {
  int32_t to = 0, extra = 0;
  return runningTrackEnd(n, kind, to, extra) ? to : shown;
}

int16_t narrow(int32_t v) { return static_cast<int16_t>(v); }

int16_t sizeCode(int32_t size, int32_t anchor) { return narrow(size * 4 + (anchor & 3)); }

ImageLogRecord recordOf(int32_t n, Sprite& s) {
  const SpriteImage& front = s.frontImage();
  const SpriteProperties& p = front.props;
  const SpritePicture& pic = front.picture;
  const uint8_t kind = kindBits(s);
  ImageLogRecord r;
  writeWholeCharacters(r.sourceName, sizeof r.sourceName, 0, (kind & kCanvas) ? "a" : s.sourceName);
  writeWholeCharacters(r.secondSource, sizeof r.secondSource, 0, s.secondName);
  r.x = narrow(atRest(n, track::X, static_cast<int32_t>(p.x)));
  r.y = narrow(atRest(n, track::Y, static_cast<int32_t>(p.y)));
  r.scaleX = narrow(atRest(n, track::ScaleW, static_cast<int32_t>(p.scaleW * 100 + 0.5f)));
  r.scaleY = narrow(atRest(n, track::ScaleH, static_cast<int32_t>(p.scaleH * 100 + 0.5f)));
  // Stored negated; the log keeps the script's sense.
  r.rotation = narrow(-atRest(n, track::RotZ, static_cast<int32_t>(p.rotZ)) % 360);
  r.clipX = narrow(s.clipX);
  r.clipY = narrow(s.clipY);
  r.clipWidth = narrow(s.clipW);
  r.clipHeight = narrow(s.clipH);
  r.maskX = narrow(s.maskX);
  r.maskY = narrow(s.maskY);
  if (kind & kCanvas) {
    r.sizeCodeX = sizeCode(pic.width, p.anchorX);
    r.sizeCodeY = sizeCode(pic.height, p.anchorY);
  } else if (kind & kStanding) {
    r.sizeCodeX = sizeCode(pic.cellW, p.anchorX);
    r.sizeCodeY = sizeCode(pic.cellH, p.anchorY);
  } else {
    r.sizeCodeX = sizeCode(0, p.anchorX);
    r.sizeCodeY = sizeCode(0, p.anchorY);
  }
  const int32_t cell = trackSegmentCount(n, track::Cell) > 0 ? 0 : p.cell;
  r.cellCode = narrow(cell * 256 + pic.division);
  r.alpha = static_cast<uint8_t>(atRest(n, track::Alpha, p.alpha));
  r.kindAndBlend = static_cast<uint8_t>(kind + p.blend * 16);
  const auto& fx = s.loadEffects;
  r.loadFlags = static_cast<uint8_t>(((fx[kNegative] ? 2 : 0) + (fx[kGreyscale] ? 1 : 0)) * 8 + (fx[kRotate] & 7));
  int32_t mask1 = p.maskSoftness, mask2 = p.maskProgress;
  int32_t to = 0, extra = 0;
  if (runningTrackEnd(n, track::Mask, to, extra)) {
    mask1 = extra;
    mask2 = to;
  }
  r.maskValues = ((mask1 & 1023) * 1024 + (mask2 & 1023)) * 1024 + (p.maskInvert & 1023);
  r.spriteAndParent = n * 65536 + (p.parent & 0xFFFF);
  r.colourOperation = static_cast<int32_t>((p.colourOp << 24) | (p.colour & 0xFFFFFF));
  r.brightnessContrast = fx[kBrightness];
  r.colourEffect = fx[kColour];
  r.hslEffect = fx[kHsl];
  r.blur = fx[kBlur];
  r.mosaic = fx[kMosaic];
  return r;
}

}  // namespace

void captureImageLog(BacklogEntry& entry) {
  SpriteTable& table = spriteTable();
  int written = 0;
  const auto visit = [&](const LayerList& list) {
    for (const auto& [key, n] : list) {
      if (written == kImageLogRecords) return;
      if (n < 0 || n >= kSpriteCount) continue;
      Sprite& s = table.sprites[static_cast<size_t>(n)];
      if (qualifies(n, s)) entry.imageLog[static_cast<size_t>(written++)] = recordOf(n, s);
    }
  };
  for (const auto& [parent, list] : table.lists) {
    if (parent <= 0 || parent >= kSpriteCount) continue;
    if (table.sprites[static_cast<size_t>(parent)].frontImage().picture.canvas) visit(list);
  }
  if (const auto screen = table.lists.find(0); screen != table.lists.end()) visit(screen->second);
  if (written < kImageLogRecords) entry.imageLog[static_cast<size_t>(written)] = ImageLogRecord{};
}

}  // namespace vellum
