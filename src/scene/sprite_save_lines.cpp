#include "scene/sprite_save_lines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>

#include "image/image.h"
#include "scene/picture_cache.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_mask.h"
#include "scene/sprite_shakes.h"
#include "scene/sprite_standing.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {

// Track letters in the order the lines are written, with their kinds.
struct TrackLetter {
  const char* letter;
  int kind;
};
constexpr TrackLetter kTrackLetters[] = {
    {"A", track::Alpha}, {"L", track::Cell},    {"C", track::Colour}, {"M", track::Mask},
    {"S", track::CrossFade}, {"X", track::X},   {"Y", track::Y},      {"W", track::ScaleW},
    {"H", track::ScaleH}, {"RX", track::RotX},  {"RY", track::RotY},  {"RZ", track::RotZ},
};

std::string n(int64_t v) { return std::to_string(v); }
uint32_t elapsedSince(uint32_t start, uint32_t now) { return start == 0 ? 0 : now - start; }

std::string shakeText(const ShakeAxis& a, uint32_t now) {
  return n(a.amplitude) + "," + n(a.period) + "," + n(a.passes) + "," + n(a.wave) + "," + n(elapsedSince(a.start, now)) +
         "," + n(a.easing) + "," + realText(a.offset);
}

ShakeAxis readShake(SaveLineReader& r, uint32_t now) {
  ShakeAxis a;
  a.amplitude = r.int32();
  a.period = static_cast<uint32_t>(r.int32());
  a.passes = r.int32();
  a.wave = r.int32();
  // A shake saved in the millisecond it started has 0 for its elapsed time: it starts again now.
  const uint32_t elapsed = r.elapsed();
  a.start = a.amplitude != 0 ? now - elapsed : 0;
  a.easing = r.int32();
  a.offset = r.real();
  return a;
}

// The source kind and the values that reload it, as one piece:
// "kind:w:h:clipX:clipY:clipW:clipH:maskX:maskY:textState" (blocks written before text sprites were
// restored end after maskY).
std::string kindArea(const Sprite& s) {
  return n(static_cast<int>(s.sourceKind)) + ":" + n(s.standingW) + ":" + n(s.standingH) + ":" + n(s.clipX) + ":" +
         n(s.clipY) + ":" + n(s.clipW) + ":" + n(s.clipH) + ":" + n(s.maskX) + ":" + n(s.maskY) + ":" +
         n(s.textState);
}

bool readKindArea(std::string_view text, SpriteSaveRecord& r) {
  int32_t* fields[] = {&r.standingW, &r.standingH, &r.clipX, &r.clipY, &r.clipW, &r.clipH, &r.maskX, &r.maskY};
  int32_t kind = 0;
  const char* p = text.data();
  const char* end = text.data() + text.size();
  auto number = [&](int32_t& into) {
    const auto result = std::from_chars(p, end, into);
    if (result.ec != std::errc()) return false;
    p = result.ptr;
    return true;
  };
  if (!number(kind)) return false;
  for (int32_t* f : fields) {
    if (p == end || *p != ':') return false;
    ++p;
    if (!number(*f)) return false;
  }
  r.textState = 0;
  if (p != end && *p == ':') {
    ++p;
    if (!number(r.textState) || r.textState < 0 || r.textState > 2) return false;
  }
  if (p != end) return false;
  switch (kind) {
    case 0: case 1: case 2: case 4: case 8: r.kind = static_cast<SourceKind>(kind); return true;
    default: return false;
  }
}

// The picture a cross-fade fades out, as the text of its "ImageS" lines: "kind:width:height:name"
// (the canvas size for a standing picture). Empty when there is none to name.
std::string fadeOriginText(const Sprite& s) {
  if (!s.crossFade || s.fadeFromName.empty()) return std::string();
  return n(static_cast<int>(s.fadeFromKind)) + ":" + n(s.fadeFromW) + ":" + n(s.fadeFromH) + ":" + s.fadeFromName;
}

bool readFadeOrigin(std::string_view text, SpriteSaveRecord& r) {
  r.fadeFromName.clear();
  if (text.empty()) return true;
  int32_t values[3] = {};
  const char* p = text.data();
  const char* end = p + text.size();
  for (int32_t& v : values) {
    const auto result = std::from_chars(p, end, v);
    if (result.ec != std::errc() || result.ptr == end || *result.ptr != ':') return false;
    p = result.ptr + 1;
  }
  if (values[0] != static_cast<int>(SourceKind::Picture) && values[0] != static_cast<int>(SourceKind::Standing))
    return false;
  if (values[1] < 0 || values[2] < 0 || values[1] > 16384 || values[2] > 16384 || p == end) return false;
  r.fadeFromKind = static_cast<SourceKind>(values[0]);
  r.fadeFromW = values[1];
  r.fadeFromH = values[2];
  r.fadeFromName.assign(p, end);
  return true;
}

std::string trackLine(const char* letter, int kind, const Sprite& s, int32_t sprite, size_t index,
                      const TrackKeyframe& f, uint32_t now) {
  std::string line = std::string("Image") + letter + n(sprite) + "_" + n(static_cast<int64_t>(index)) + "=" +
                     n(elapsedSince(f.start, now)) + "," + n(f.flags) + "," + n(f.passes) + ", " + n(f.from) + "," +
                     n(f.to) + "," + n(f.duration) + "," + n(f.easing);
  if (kind == track::Mask) line += "," + n(f.extra);
  if (kind == track::CrossFade) line += "," + SaveBlock::field(fadeOriginText(s));
  return line + "\n";
}

void writeSprite(std::string& out, int32_t id, uint32_t now) {
  Sprite& s = sprite(id);
  const SpriteImage& front = s.frontImage();
  for (const TrackLetter& t : kTrackLetters) {
    const std::vector<TrackKeyframe> frames = trackKeyframes(id, t.kind);
    for (size_t i = 0; i < frames.size(); ++i) out += trackLine(t.letter, t.kind, s, id, i, frames[i], now);
  }
  const SpriteProperties& p = front.props;
  const SpritePicture& pic = front.picture;
  const int32_t w = pic.canvas ? pic.width : pic.cellW, h = pic.canvas ? pic.height : pic.cellH;
  std::string line = "Image" + n(id) + "=" + SaveBlock::field(s.sourceName) + "," + SaveBlock::field(s.secondName) +
                     "," + kindArea(s) + "," + n(s.textParams[0]) + "," + n(s.textParams[1]) + "," +
                     hexText(static_cast<uint32_t>(s.textParams[2])) + "," +
                     hexText(static_cast<uint32_t>(s.textParams[3])) + "," +
                     hexText(static_cast<uint32_t>(s.textParams[4])) + "," + n(s.order) + ", " +
                     shakeText(s.shakeX, now) + ", " + shakeText(s.shakeY, now) + ", ";
  for (size_t i = 0; i < s.loadEffects.size(); ++i) line += n(s.loadEffects[i]) + (i + 1 < s.loadEffects.size() ? "," : ", ");
  line += n(p.flags) + "," + n(p.alpha) + "," + n(p.blend) + "," + n(p.colourOp) + "," + hexText(p.colour) + "," + n(w) +
          "," + n(h) + "," + realText(p.x) + "," + realText(p.y) + "," + realText(p.scaleW) + "," + realText(p.scaleH) +
          "," + realText(p.rotX) + "," + realText(p.rotY) + "," + realText(p.rotZ) + "," + n(p.anchorX) + "," +
          n(p.anchorY) + "," + n(p.cell * 256 + pic.division) + "," + n(p.parent) + "," + n(p.maskSoftness) + "," +
          n(p.maskProgress) + "," + n(p.maskInvert) + ", " + n(s.textDrawing ? 1 : 0) + "\n";
  out += line;
}

void visitList(std::string& out, int32_t parent, uint32_t now, int depth) {
  const auto& lists = spriteTable().lists;
  const auto it = lists.find(parent);
  if (it == lists.end() || depth > kSpriteCount) return;
  for (const auto& [key, id] : it->second) {
    const Sprite& s = sprite(id);
    if (s.buffers[static_cast<size_t>(s.front & 1)].picture.present() &&
        !(s.buffers[static_cast<size_t>(s.front & 1)].props.flags & 8))
      writeSprite(out, id, now);
    if (id != parent) visitList(out, id, now, depth + 1);
  }
}

// "Image" + digits only: a sprite line; its number, or -1 for other keys.
// The sprite number of a keyframe line ("ImageRX12_0" -> 12); -1 for any other key. Every key
// readTracks asks for has this form, so sprites without one have no tracks to look up.
int64_t trackLineSprite(std::string_view key) {
  if (key.size() <= 5 || !key.starts_with("Image")) return -1;
  size_t at = 5;
  while (at < key.size() && key[at] >= 'A' && key[at] <= 'Z') ++at;
  int64_t value = 0;
  const auto result = std::from_chars(key.data() + at, key.data() + key.size(), value);
  if (at == 5 || result.ec != std::errc() || result.ptr == key.data() + key.size() || *result.ptr != '_') return -1;
  return value;
}

int64_t spriteLineNumber(std::string_view key) {
  if (key.size() <= 5 || !key.starts_with("Image")) return -1;
  int64_t value = 0;
  const auto result = std::from_chars(key.data() + 5, key.data() + key.size(), value);
  if (result.ec != std::errc() || result.ptr != key.data() + key.size()) return -1;
  return value;
}

bool readSprite(const SaveBlock& block, const SavePieces& pieces, uint32_t now, SpriteSaveRecord& r) {
  SaveLineReader in(block, pieces);
  if (pieces.size() != 53) return false;
  r.source = in.text();
  r.second = in.text();
  if (!readKindArea(in.raw(), r)) return false;
  r.textParams[0] = in.int32();
  r.textParams[1] = in.int32();
  for (int i = 2; i < 5; ++i) r.textParams[static_cast<size_t>(i)] = static_cast<int32_t>(in.hex());
  r.order = in.int32();
  r.shakeX = readShake(in, now);
  r.shakeY = readShake(in, now);
  for (int32_t& e : r.loadEffects) e = in.int32();
  SpriteProperties& p = r.props;
  p.flags = static_cast<uint32_t>(in.integer());
  p.alpha = in.int32();
  p.blend = in.int32();
  p.colourOp = static_cast<uint32_t>(in.integer());
  p.colour = in.hex();
  r.width = in.int32();
  r.height = in.int32();
  p.x = in.real(), p.y = in.real(), p.scaleW = in.real(), p.scaleH = in.real();
  p.rotX = in.real(), p.rotY = in.real(), p.rotZ = in.real();
  p.anchorX = in.int32(), p.anchorY = in.int32();
  const int32_t cellCode = in.int32();
  p.cell = cellCode >> 8;
  r.division = cellCode & 0xFF;
  p.parent = in.int32();
  p.maskSoftness = in.int32(), p.maskProgress = in.int32(), p.maskInvert = in.int32();
  r.textDrawing = in.int32() != 0;
  return in.ok && validShakeAxis(r.shakeX) && validShakeAxis(r.shakeY) && p.parent >= 0 && p.parent < kSpriteCount && r.width >= 0 && r.height >= 0 && r.width <= 16384 &&
         r.height <= 16384;
}

bool readTracks(const SaveBlock& block, uint32_t now, SpriteSaveRecord& r) {
  for (const TrackLetter& t : kTrackLetters) {
    auto& frames = r.tracks[static_cast<size_t>(t.kind)];
    for (size_t i = 0;; ++i) {
      const std::string key = std::string("Image") + t.letter + n(r.n) + "_" + n(static_cast<int64_t>(i));
      const auto* pieces = block.find(key);
      if (!pieces) break;
      if (i >= 4096) return reportBrokenSave(key);
      SaveLineReader in(block, *pieces);
      TrackKeyframe f;
      f.start = now - in.elapsed();  // a segment saved as it started (0 elapsed) starts now
      f.flags = static_cast<uint32_t>(in.integer());
      f.passes = static_cast<uint32_t>(in.integer());
      f.from = in.int32(), f.to = in.int32();
      f.duration = in.integer();
      f.easing = in.int32();
      if (t.kind == track::Mask) f.extra = in.int32();
      if (t.kind == track::CrossFade) {
        // Written first with the segment's extra value before the text; that value is always 1.
        if (in.remaining() == 2) in.int32();
        f.extra = 1;
        if (i == 0 && !readFadeOrigin(in.text(), r)) in.ok = false;
      }
      if (!in.ok || f.duration < 0 || f.flags > 15 || f.passes > 255) return reportBrokenSave(key);
      frames.push_back(f);
    }
  }
  return true;
}

// Files already found while reading this save: a scene often shows one picture many times, and
// each look for a loose file asks the file system.
bool pictureExists(const std::string& name, std::unordered_set<std::string>& found) {
  std::string file = name.substr(0, name.find('?'));
  if (found.count(file)) return true;
  if (!storedFileExists(file)) return reportMissingSaveFile(file);
  found.insert(std::move(file));
  return true;
}

// Whether a restored sprite takes up a cross-fade: a standing picture with a saved fade whose old
// picture still exists. Otherwise the sprite simply shows the new picture, where the fade ends.
bool fadesOnAfterLoad(const SpriteSaveRecord& r) {
  return r.kind == SourceKind::Standing && !r.tracks[track::CrossFade].empty() && !r.fadeFromName.empty() &&
         storedFileExists(r.fadeFromName.substr(0, r.fadeFromName.find('?')));
}

}  // namespace

void writeSpriteSaveLines(std::string& out, uint32_t now) { visitList(out, 0, now, 0); }

bool readSpriteSaveLines(const SaveBlock& block, uint32_t now, std::vector<SpriteSaveRecord>& sprites) {
  sprites.clear();
  std::array<const SavePieces*, kSpriteCount> lines{};
  std::array<bool, kSpriteCount> hasTracks{};
  for (const auto& [key, pieces] : block.values) {
    const int64_t id = spriteLineNumber(key);
    if (id == -1) {
      const int64_t owner = trackLineSprite(key);
      if (owner >= 0 && owner < kSpriteCount) hasTracks[static_cast<size_t>(owner)] = true;
      continue;
    }
    if (id < 0 || id >= kSpriteCount) return reportBrokenSave(key);
    lines[static_cast<size_t>(id)] = &pieces;
  }
  sprites.reserve(static_cast<size_t>(kSpriteCount - std::count(lines.begin(), lines.end(), nullptr)));
  std::unordered_set<std::string> found;
  for (int32_t id = 0; id < kSpriteCount; ++id) {
    if (!lines[static_cast<size_t>(id)]) continue;
    // Read in place: a record is large, and moving a thousand of them shows in a load.
    SpriteSaveRecord& r = sprites.emplace_back();
    r.n = id;
    if (!readSprite(block, *lines[static_cast<size_t>(id)], now, r)) return reportBrokenSave("Image" + n(id));
    if (hasTracks[static_cast<size_t>(id)] && !readTracks(block, now, r)) return false;
    const bool fromFile = r.kind == SourceKind::Picture || r.kind == SourceKind::Standing;
    if (fromFile && !r.source.empty() && !pictureExists(r.source, found)) return false;
    if (!r.second.empty() && fromFile && !pictureExists(r.second, found)) return false;
  }
  return true;
}

void applySpriteSaveLines(const std::vector<SpriteSaveRecord>& sprites) {
  const PictureBatch decodeEachFileOnce;
  std::array<bool, kSpriteCount> showsOldPicture{};
  for (const SpriteSaveRecord& r : sprites) {
    Sprite& s = sprite(r.n);
    s.loadEffects = r.loadEffects;
    s.clipX = r.clipX, s.clipY = r.clipY, s.clipW = r.clipW, s.clipH = r.clipH;
    bool loaded = false;
    // A sprite saved in the middle of a cross-fade comes back showing its old picture; the new
    // one is loaded into the back buffer below, once the sprite is listed, and the fade goes on.
    if (fadesOnAfterLoad(r)) {
      const ClipRect clip{r.clipX, r.clipY, r.clipW, r.clipH};
      loaded = r.fadeFromKind == SourceKind::Standing
                   ? loadStandingSprite(r.n, r.fadeFromName, r.props.flags, r.fadeFromW, r.fadeFromH)
                   : loadSprite(r.n, r.fadeFromName, r.props.flags, r.division, clip);
      showsOldPicture[static_cast<size_t>(r.n)] = loaded;
    }
    if (!loaded) switch (r.kind) {
      case SourceKind::Picture:
        loaded = loadSprite(r.n, r.source, r.props.flags, r.division, {r.clipX, r.clipY, r.clipW, r.clipH});
        break;
      case SourceKind::Standing:
        loaded = loadStandingSprite(r.n, r.source, r.props.flags, r.standingW, r.standingH);
        break;
      case SourceKind::Canvas:
        // A text sprite gets a clear picture of its size; the text layer draws its text again once
        // the fonts and the log layout are back.
        if (r.textState != 0)
          loaded = loadSpriteImage(r.n, createImage(std::max(r.width, 1), std::max(r.height, 1), 32), r.props.flags, 0);
        else
          loaded = makeCanvasSprite(r.n, std::max(r.width, 1), std::max(r.height, 1), r.props.flags);
        break;
      default:
        break;  // kept and composed pictures have nothing to load from
    }
    if (!loaded) continue;
    if (!r.second.empty() && r.kind != SourceKind::Canvas)
      maskSprite(r.n, r.second, r.props.maskInvert, r.props.maskProgress, r.props.maskSoftness, r.maskX, r.maskY);
    s.sourceName = r.source;
    s.secondName = r.second;
    s.sourceKind = r.kind;
    s.standingW = r.standingW, s.standingH = r.standingH;
    s.maskX = r.maskX, s.maskY = r.maskY;
    s.textParams = r.textParams;
    s.textState = r.kind == SourceKind::Canvas ? r.textState : 0;
    s.textDrawing = r.textDrawing;
    s.order = r.order;
    s.backImage().props = r.props;
    commitSprite(r.n);
    for (SpriteImage& b : s.buffers) {
      b.props = r.props;
      b.dirty = true;
    }
    listSprite(r.n, r.props.parent);
  }
  // Tracks and shakes once every sprite is there.
  for (const SpriteSaveRecord& r : sprites) {
    Sprite& s = sprite(r.n);
    if (!s.inUse()) continue;
    restoreSpriteShakes(r.n, r.shakeX, r.shakeY);
    for (int kind = 0; kind < kTrackKinds; ++kind)
      if (kind != track::CrossFade) restoreTrackKeyframes(r.n, kind, r.tracks[static_cast<size_t>(kind)]);
    if (!showsOldPicture[static_cast<size_t>(r.n)]) continue;
    const SpriteProperties shown = s.frontImage().props;
    if (!loadStandingSprite(r.n, r.source, shown.flags, r.standingW, r.standingH)) continue;
    if (resumeCrossFade(r.n, r.tracks[track::CrossFade])) {
      s.fadeFromName = r.fadeFromName;
      s.fadeFromKind = r.fadeFromKind;
      s.fadeFromW = r.fadeFromW;
      s.fadeFromH = r.fadeFromH;
    }
  }
}

}  // namespace vellum
