#include "scene/screen_transform.h"

#include "persist/engine_settings.h"
#include "render/renderer_state.h"
#include "scene/easing.h"
#include "script/script_state.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

bool screenFixed(const SpriteProperties& p) { return (p.flags & 3) != 0; }

void markAllListed() {
  for (auto& [parent, list] : spriteTable().lists)
    for (const auto& [key, n] : list) {
      Sprite& s = sprite(n);
      s.pending |= pending::kProperties;
      for (SpriteImage& b : s.buffers) b.dirty = true;
    }
}

void markCameraSprites() {
  for (auto& [parent, list] : spriteTable().lists)
    for (const auto& [key, n] : list) {
      Sprite& s = sprite(n);
      if (screenFixed(s.frontImage().props)) continue;
      s.pending |= pending::kProperties;
      for (SpriteImage& b : s.buffers) b.dirty = true;
    }
}

// The sprites drawn on the screen that the quake or the camera moved this frame.
void markMovedSprites(const ScreenUpdate& u) {
  const auto list = spriteTable().lists.find(0);
  if (list == spriteTable().lists.end()) return;
  const int32_t skip = settings().effectSkip;
  const uint32_t mask = screenTransform().quakeMask;
  for (const auto& [key, n] : list->second) {
    Sprite& s = sprite(n);
    const SpriteProperties& p = s.frontImage().props;
    bool moved = false;
    if (screenFixed(p)) moved = u.quakeMoved && (mask & quake_target::kScreenFixed) && !(skip & 2) && !(p.flags & 2);
    else moved = !(skip & 1) && ((u.quakeMoved && (mask & quake_target::kSprites)) || u.cameraChanged);
    if (moved)
      for (SpriteImage& b : s.buffers) b.dirty = true;
  }
}

float zoomCentre(bool y) {
  const ScreenGeometry& g = screenGeometry();
  const int32_t size = y ? g.gameH : g.gameW;
  if (size > 0) return static_cast<float>(size) / 2;
  return static_cast<float>(y ? renderer().display.renderH : renderer().display.renderW) / 2;
}

}  // namespace

ScreenTransform& screenTransform() {
  static ScreenTransform t;
  return t;
}

void resetScreenTransform() { screenTransform() = ScreenTransform{}; }

void quakeScreen(bool yAxis, uint32_t targetMask, const ShakeRequest& r, uint32_t now) {
  ScreenTransform& t = screenTransform();
  ShakeAxis& axis = yAxis ? t.quakeY : t.quakeX;
  const bool wasRunning = t.quakeX.amplitude != 0 || t.quakeY.amplitude != 0;
  if (shakeStops(r)) {
    axis = ShakeAxis{};
  } else {
    startShakeAxis(axis, r, now);
    t.quakeMask = targetMask;
  }
  if (wasRunning) markAllListed();
}

void moveCamera(CameraValueKind which, float v, int32_t time, int32_t easing, int32_t delay, uint32_t now) {
  CameraValue& c = screenTransform().camera[static_cast<size_t>(which)];
  // A running track counts as finished: the new move starts from its end.
  const float from = c.track.change != 0 ? c.track.from + c.track.change : c.pending;
  if (scriptState().fastForwardMode != 0) {
    c.current = c.pending = v;
    c.track = CameraTrack{};
    markCameraSprites();
    return;
  }
  if (time < 10 || v == from) {
    // No track: an older one must not overwrite the value at its end.
    c.pending = v;
    c.track = CameraTrack{};
    markCameraSprites();
    return;
  }
  c.track = CameraTrack{now + static_cast<uint32_t>(delay), time, from, v - from, easing};
}

void commitCamera() {
  for (CameraValue& c : screenTransform().camera) c.current = c.pending;
}

ScreenUpdate updateScreenTransform(uint32_t now) {
  ScreenTransform& t = screenTransform();
  ScreenUpdate u;
  for (ShakeAxis* axis : {&t.quakeX, &t.quakeY}) {
    if (axis->amplitude == 0) continue;
    advanceShakeAxis(*axis, now);
    u.quakeMoved = true;
  }
  for (CameraValue& c : t.camera) {
    CameraTrack& k = c.track;
    if (k.change == 0) continue;
    const int64_t a = static_cast<int32_t>(now - k.start);
    float value = k.from;
    if (a >= k.duration) {
      value = k.from + k.change;
      k = CameraTrack{};
    } else if (a > 0) {
      value = k.from + static_cast<float>(ease(k.easing, static_cast<float>(a) / static_cast<float>(k.duration), 0, 1)) * k.change;
    }
    c.current = c.pending = value;
    u.cameraChanged = true;
  }
  if (u.quakeMoved || u.cameraChanged) markMovedSprites(u);
  return u;
}

bool screenTransformActive() {
  const ScreenTransform& t = screenTransform();
  if (t.quakeX.amplitude != 0 || t.quakeY.amplitude != 0) return true;
  for (const CameraValue& c : t.camera)
    if (c.track.change != 0) return true;
  return false;
}

void messageQuakeOffset(float& dx, float& dy) {
  const ScreenTransform& t = screenTransform();
  const bool moves = (t.quakeMask & quake_target::kScreenFixed) && !(settings().effectSkip & 2);
  dx = moves ? t.quakeX.offset : 0;
  dy = moves ? t.quakeY.offset : 0;
}

SpriteProperties placedProperties(const Sprite& s, const SpriteProperties& p, bool pendingCamera) {
  SpriteProperties out = p;
  const ScreenTransform& t = screenTransform();
  const int32_t skip = settings().effectSkip;
  const bool onScreen = p.parent == 0;
  float dx = 0, dy = 0;
  const auto addShake = [&] {
    dx += s.shakeX.offset;
    dy += s.shakeY.offset;
  };
  const auto addQuake = [&] {
    dx += t.quakeX.offset;
    dy += t.quakeY.offset;
  };
  if (screenFixed(p)) {
    if (!(skip & 2)) {
      addShake();
      if (onScreen && (t.quakeMask & quake_target::kScreenFixed) && !(p.flags & 2)) addQuake();
    }
  } else {
    if (!(skip & 1)) {
      addShake();
      if (onScreen && (t.quakeMask & quake_target::kSprites) && !(p.flags & 0x10)) addQuake();
    }
    if (onScreen && !(p.flags & 0x20)) {
      const auto value = [&](int k) {
        const CameraValue& c = t.camera[static_cast<size_t>(k)];
        return pendingCamera ? c.pending : c.current;
      };
      const float zoomW = value(kCameraW), zoomH = value(kCameraH);
      dx += value(kCameraX);
      dy += value(kCameraY);
      if (zoomW != 100) {
        dx += (p.x - zoomCentre(false)) * (zoomW - 100) / 100;
        out.scaleW = p.scaleW * zoomW / 100;
      }
      if (zoomH != 100) {
        dy += (p.y - zoomCentre(true)) * (zoomH - 100) / 100;
        out.scaleH = p.scaleH * zoomH / 100;
      }
    }
  }
  out.x = p.x + dx;
  out.y = p.y + dy;
  return out;
}

}  // namespace vellum
