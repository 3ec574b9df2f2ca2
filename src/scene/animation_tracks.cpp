#include "scene/animation_tracks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "base/report.h"
#include "script/script_state.h"
#include "scene/animation_messages.h"
#include "scene/easing.h"
#include "scene/sprite_table.h"

namespace vellum {

namespace {

struct Segment {
  uint32_t start = 0;
  uint32_t flags = 0;
  int32_t from = 0, to = 0;
  int64_t duration = 2;
  int32_t easing = 0;
  int32_t extra = 0;
};

// The pass count belongs to the chain: it travels with whichever segment is current.
struct Chain {
  std::vector<Segment> segments;
  size_t current = 0;
  uint32_t passes = 1;
  bool deleteSprite = false;
};

struct TrackState {
  std::array<std::map<int32_t, Chain>, kTrackKinds> chains;
};

TrackState& state() {
  static TrackState s;
  return s;
}

bool fastForwarding() { return scriptState().fastForwardMode != 0; }

// The shown value of a property in command units (scales in percent), truncated.
int32_t currentValue(const Sprite& s, int kind) {
  const SpriteProperties& p = s.buffers[static_cast<size_t>(s.front & 1)].props;
  switch (kind) {
    case track::X: return static_cast<int32_t>(p.x);
    case track::Y: return static_cast<int32_t>(p.y);
    case track::ScaleW: return static_cast<int32_t>(p.scaleW * 100);
    case track::ScaleH: return static_cast<int32_t>(p.scaleH * 100);
    case track::RotX: return static_cast<int32_t>(p.rotX);
    case track::RotY: return static_cast<int32_t>(p.rotY);
    case track::RotZ: return static_cast<int32_t>(p.rotZ);
    case track::Alpha: return p.alpha;
    case track::Cell: return p.cell;
    case track::Colour: return static_cast<int32_t>(p.colour & 0xFFFFFF);
    case track::Mask: return p.maskProgress;
    default: return s.crossFadeProgress != 0 ? s.crossFadeProgress : 1;
  }
}

template <typename Apply>
void writeBoth(Sprite& s, Apply apply) {
  for (SpriteImage& b : s.buffers) {
    apply(b.props);
    b.dirty = true;
  }
}

void writeFloat(Sprite& s, int kind, float v) {
  writeBoth(s, [kind, v](SpriteProperties& p) {
    switch (kind) {
      case track::X: p.x = v; break;
      case track::Y: p.y = v; break;
      case track::ScaleW: p.scaleW = v * 0.01f; break;
      case track::ScaleH: p.scaleH = v * 0.01f; break;
      case track::RotX: p.rotX = v; break;
      case track::RotY: p.rotY = v; break;
      default: p.rotZ = v; break;
    }
  });
}

void writeInt(Sprite& s, int kind, int32_t v, int32_t extra) {
  if (kind == track::CrossFade) {
    s.crossFadeProgress = v;
    return;
  }
  writeBoth(s, [kind, v, extra](SpriteProperties& p) {
    switch (kind) {
      case track::Alpha: p.alpha = v & 0xFF; break;
      case track::Cell: p.cell = v; break;
      case track::Colour: p.colour = static_cast<uint32_t>(v) | 0xFF000000u; break;
      default:
        p.maskProgress = v;
        p.maskSoftness = extra;
        break;
    }
  });
}

// The property at a segment's end value, exactly.
void writeEnd(Sprite& s, int kind, const Segment& g) {
  if (kind <= track::RotZ) writeFloat(s, kind, static_cast<float>(g.to));
  else writeInt(s, kind, g.to, g.extra);
}

// A curve that overshoots carries alpha and colour channels past 0 or 255; they are held there,
// since a byte that wrapped would flash the other end of its range.
int32_t heldByte(int32_t v) { return std::clamp(v, 0, 255); }

int32_t blendColour(int32_t from, int32_t to, int64_t a, int64_t d, int32_t e) {
  int32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int32_t f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
    out |= heldByte(f + progress(t - f, a, d, e)) << shift;
  }
  return out;
}

// The property at elapsed time a (< duration) of a segment.
void writeBetween(Sprite& s, int kind, const Segment& g, int64_t a) {
  const int32_t change = static_cast<int32_t>(static_cast<int64_t>(g.to) - g.from);
  if (kind <= track::RotZ) {
    writeFloat(s, kind, static_cast<float>(g.from) + progressF(change, a, g.duration, g.easing));
    return;
  }
  switch (kind) {
    case track::Cell:
      if (s.frontImage().props.cell != g.to) writeInt(s, kind, g.to, g.extra);
      break;
    case track::Alpha: writeInt(s, kind, heldByte(g.from + progress(change, a, g.duration, g.easing)), g.extra); break;
    case track::Colour: writeInt(s, kind, blendColour(g.from, g.to, a, g.duration, g.easing), g.extra); break;
    case track::CrossFade:
      writeInt(s, kind, static_cast<int32_t>((a * 256) / g.duration) | 1, g.extra);
      break;
    default: writeInt(s, kind, g.from + progress(change, a, g.duration, g.easing), g.extra); break;
  }
}

// The end of a picture cross-fade: the new picture is shown, with the old one's properties.
void finishCrossFade(Sprite& s) {
  if (!s.crossFade) return;
  const SpriteProperties shown = s.frontImage().props;
  s.front ^= 1;
  freePicture(s.backImage().picture);
  s.frontImage().props = shown;
  s.backImage().props = shown;
  for (SpriteImage& b : s.buffers) b.dirty = true;
  s.pending &= 0xF0F;
  s.crossFade = false;
  s.crossFadeProgress = 0;
  s.fadeFromName.clear();
}

void endChain(Sprite& s, int kind, const Chain& c) {
  if (kind == track::CrossFade) finishCrossFade(s);
  if (c.deleteSprite) s.pending |= pending::kDelete;
  s.animationBits &= ~(1u << kind);
}

// After the current segment played: the next one, the next pass, or the end (false).
bool finishSegment(Sprite& s, int kind, Chain& c, uint32_t now) {
  const bool last = c.current + 1 == c.segments.size();
  const bool remove = (c.segments[c.current].flags & track_mode::kFlagRemoveWhenPlayed) != 0;
  if (last && c.passes == 1) {
    endChain(s, kind, c);
    return false;
  }
  if (remove) c.segments.erase(c.segments.begin() + static_cast<std::ptrdiff_t>(c.current));
  else ++c.current;
  if (last) {
    if (c.passes != 0) --c.passes;  // 0 plays without end
    c.current = 0;
    if (c.segments.empty()) {
      endChain(s, kind, c);
      return false;
    }
    c.segments[0].start = now;
    return true;
  }
  Segment& next = c.segments[c.current];
  if (static_cast<int32_t>(now - next.start) > 0) next.start = now;
  return true;
}

bool advance(Sprite& s, int kind, Chain& c, uint32_t now) {
  const Segment& g = c.segments[c.current];
  int64_t a = static_cast<int32_t>(now - g.start);
  if (a < 0) a = 0;
  if (a < g.duration) {
    writeBetween(s, kind, g, a);
    return true;
  }
  writeEnd(s, kind, g);
  return finishSegment(s, kind, c, now);
}

void report(int32_t n, const char* gbkText) { errorc(ReportText().number(n).gbk(gbkText), true); }

}  // namespace

bool checkAnimatedSprite(int32_t n) {
  if (n < 0 || n >= kSpriteCount) {
    report(n, animation_messages::kBadNumber);
    return false;
  }
  if (!sprite(n).frontImage().picture.present()) {
    reportNoPicture(n);
    return false;
  }
  return true;
}

bool checkTrackRequest(int32_t n, const TrackRequest& r) {
  if ((r.modeWord & 0xF) > track_mode::kAppendLoopNew) {
    errorc(ReportText().number(n).ascii(animation_messages::kBadMode).number(r.modeWord & 0xF), true);
    return false;
  }
  if (r.duration < 0) {
    errorc(ReportText().number(n).ascii(animation_messages::kBadDuration).number(r.duration), true);
    return false;
  }
  return true;
}

bool startTrack(int32_t n, const TrackRequest& r, uint32_t now) {
  if (r.kind < 0 || r.kind >= kTrackKinds || !checkAnimatedSprite(n) || !checkTrackRequest(n, r)) return false;
  Sprite& s = sprite(n);
  const int kind = r.kind;
  const uint32_t mode = r.modeWord & 0xF;
  const uint32_t passes = (r.modeWord >> 8) & 0xFF;
  Segment g;
  g.flags = (r.modeWord >> 4) & 0xF;
  g.to = r.to;
  g.duration = static_cast<int64_t>(r.duration | 2);
  g.easing = r.easing;
  g.extra = r.extra;

  auto& chains = state().chains[static_cast<size_t>(kind)];
  auto it = chains.find(n);
  if (it == chains.end() || it->second.segments.empty()) {
    const bool appends = mode == track_mode::kAppend || mode == track_mode::kAppendLoopNew;
    if (appends && !fastForwarding()) {
      report(n, animation_messages::kNoChainToAppend);
      return false;
    }
    g.from = currentValue(s, kind);
    if (it != chains.end()) chains.erase(it);
    it = chains.end();
  } else {
    Chain& c = it->second;
    g.from = c.segments.back().to;
    if (mode == track_mode::kReplace || mode == track_mode::kReplaceFromHere) {
      if (mode == track_mode::kReplaceFromHere) g.from = currentValue(s, kind);
      writeEnd(s, kind, c.segments.back());
      chains.erase(it);
      it = chains.end();
      s.animationBits &= ~(1u << kind);
    } else if (mode == track_mode::kAppendLoopNew) {
      c.segments.erase(c.segments.begin(), c.segments.begin() + static_cast<std::ptrdiff_t>(c.current));
      c.current = 0;
      for (Segment& old : c.segments) old.flags |= track_mode::kFlagRemoveWhenPlayed;
      c.passes = passes;
    }
  }

  // Fast-forward plays a finite track to its end at once.
  if (fastForwarding() && passes != 0) {
    if (g.flags & track_mode::kFlagDeleteSprite) s.pending |= pending::kDelete;
    else writeEnd(s, kind, g);
    return true;
  }

  if (it == chains.end()) {
    it = chains.emplace(n, Chain{}).first;
    it->second.passes = passes;
  }
  Chain& c = it->second;
  if (g.flags & track_mode::kFlagDeleteSprite) c.deleteSprite = true;
  g.start = now;
  c.segments.push_back(g);
  s.animationBits |= 1u << kind;
  if (kind == track::Mask) writeInt(s, kind, currentValue(s, kind), g.extra);
  return true;
}

void endTracks(int32_t n, uint32_t kinds) {
  Sprite& s = sprite(n);
  for (int kind = 0; kind < kTrackKinds; ++kind) {
    if (!(kinds & (1u << kind))) continue;
    auto& chains = state().chains[static_cast<size_t>(kind)];
    auto it = chains.find(n);
    if (it == chains.end()) continue;
    const Chain& c = it->second;
    if (!c.segments.empty()) {
      writeEnd(s, kind, c.segments.back());
      if (c.segments.front().flags & track_mode::kFlagDeleteSprite) s.pending |= pending::kDelete;
    }
    chains.erase(it);
    s.animationBits &= ~(1u << kind);
  }
  if (kinds & (1u << track::CrossFade)) {
    finishCrossFade(s);
    s.crossFadeProgress = 0;
  }
}

bool startCrossFade(int32_t n, int32_t time, int32_t delay, uint32_t now) {
  Sprite& s = sprite(n);
  if (!s.frontImage().picture.present() || !s.backImage().picture.present()) return false;
  TrackRequest r;
  r.kind = track::CrossFade;
  r.to = 256;
  r.duration = time;
  r.modeWord = 0x100;
  r.extra = 1;
  if (!checkTrackRequest(n, r)) return false;
  // The new picture waits in the back buffer; the commit leaves the sprite alone while it fades.
  s.backImage().props = s.frontImage().props;
  s.crossFade = true;
  s.crossFadeProgress = 1;
  s.pending = pending::kLive;
  state().chains[track::CrossFade].erase(n);
  return startTrack(n, r, now + static_cast<uint32_t>(delay));
}

bool resumeCrossFade(int32_t n, const std::vector<TrackKeyframe>& frames) {
  Sprite& s = sprite(n);
  if (frames.empty() || !s.frontImage().picture.present() || !s.backImage().picture.present()) return false;
  s.backImage().props = s.frontImage().props;
  s.crossFade = true;
  s.crossFadeProgress = 1;
  s.pending = pending::kLive;
  restoreTrackKeyframes(n, track::CrossFade, frames);
  return true;
}

void updateTracks(uint32_t now) {
  for (int kind = 0; kind < kTrackKinds; ++kind) {
    auto& chains = state().chains[static_cast<size_t>(kind)];
    for (auto it = chains.begin(); it != chains.end();) {
      const int32_t n = it->first;
      Sprite& s = sprite(n);
      bool keep = false;
      if (!s.frontImage().picture.present()) {
        report(n, animation_messages::kPictureGone);
        s.animationBits &= ~(1u << kind);
      } else {
        keep = !it->second.segments.empty() && advance(s, kind, it->second, now);
      }
      it = keep ? std::next(it) : chains.erase(it);
    }
  }
}

bool tracksRunning() {
  for (const auto& chains : state().chains)
    if (!chains.empty()) return true;
  return false;
}

int trackSegmentCount(int32_t n, int kind) {
  if (kind < 0 || kind >= kTrackKinds) return 0;
  const auto& chains = state().chains[static_cast<size_t>(kind)];
  const auto it = chains.find(n);
  return it == chains.end() ? 0 : static_cast<int>(it->second.segments.size());
}

bool runningTrackEnd(int32_t n, int kind, int32_t& to, int32_t& extra) {
  if (kind < 0 || kind >= kTrackKinds) return false;
  const auto& chains = state().chains[static_cast<size_t>(kind)];
  const auto it = chains.find(n);
  if (it == chains.end() || it->second.segments.empty()) return false;
  to = it->second.segments.back().to;
  extra = it->second.segments.back().extra;
  return true;
}

std::vector<TrackKeyframe> trackKeyframes(int32_t n, int kind) {
  std::vector<TrackKeyframe> frames;
  if (kind < 0 || kind >= kTrackKinds) return frames;
  const auto& chains = state().chains[static_cast<size_t>(kind)];
  const auto it = chains.find(n);
  if (it == chains.end()) return frames;
  const Chain& c = it->second;
  for (size_t i = 0; i < c.segments.size(); ++i) {
    const Segment& g = c.segments[(c.current + i) % c.segments.size()];
    frames.push_back({g.start, g.flags, c.passes, g.from, g.to, g.duration, g.easing, g.extra});
  }
  return frames;
}

void restoreTrackKeyframes(int32_t n, int kind, const std::vector<TrackKeyframe>& frames) {
  if (kind < 0 || kind >= kTrackKinds || n < 0 || n >= kSpriteCount) return;
  auto& chains = state().chains[static_cast<size_t>(kind)];
  Sprite& s = sprite(n);
  chains.erase(n);
  s.animationBits &= ~(1u << kind);
  if (frames.empty()) return;
  Chain c;
  c.passes = frames.front().passes;
  for (const TrackKeyframe& f : frames) {
    Segment g;
    g.start = f.start;
    g.flags = f.flags & 0xF;
    g.from = f.from;
    g.to = f.to;
    g.duration = f.duration < 2 ? 2 : f.duration;
    g.easing = f.easing;
    g.extra = f.extra;
    if (g.flags & track_mode::kFlagDeleteSprite) c.deleteSprite = true;
    c.segments.push_back(g);
  }
  chains[n] = std::move(c);
  s.animationBits |= 1u << kind;
}

void forgetSpriteTracks(int32_t n) {
  for (auto& chains : state().chains) chains.erase(n);
}

void resetTracks() {
  for (auto& chains : state().chains) chains.clear();
}

}  // namespace vellum
