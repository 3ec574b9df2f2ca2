#include "scene/sprite_shakes.h"

#include <cstdint>
#include <set>

#include "scene/easing.h"
#include "script/script_state.h"

namespace vellum {

namespace {

std::set<int32_t>& shaking() {
  static std::set<int32_t> s;
  return s;
}

// The last quarter of the last pass eases in and out: OUT and IN curves take their IN-OUT form.
int32_t lastQuarterEasing(int32_t e) {
  if (e >= -10 && e <= -1) return 10 - e;
  if (e >= 1 && e <= 10) return e + 10;
  return e;
}

float waveOffset(const ShakeAxis& x, int64_t a) {
  const int64_t period = x.period;
  const int32_t amplitude = x.amplitude;
  if (x.wave == 0) {
    const int64_t h = period / 2;
    switch (a / h) {
      case 0: return progressF(amplitude, a, h, x.easing);
      case 1: return progressF(amplitude, period - a, h, x.easing);
      default: return 0;  // past the pulse
    }
  }
  const int64_t q = period / 4, r = a % q;
  switch (a / q) {
    case 0: return progressF(amplitude, r, q, x.easing);
    case 1: return progressF(amplitude, q - r, q, x.easing);
    case 2: return progressF(-amplitude, r, q, x.easing);
    case 3: return progressF(-amplitude, q - r, q, x.passes == 1 ? lastQuarterEasing(x.easing) : x.easing);
    default: return 0;  // past the wave
  }
}

}  // namespace

bool shakeStops(const ShakeRequest& r) {
  return r.amplitude == 0 || r.period < 10 || (scriptState().fastForwardMode != 0 && r.count != 0);
}

void startShakeAxis(ShakeAxis& axis, const ShakeRequest& r, uint32_t now) {
  axis.amplitude = r.amplitude;
  axis.period = static_cast<uint32_t>(r.period);
  axis.passes = r.count & 0xFF;
  axis.easing = r.easing;
  axis.wave = r.wave;
  axis.start = now + static_cast<uint32_t>(r.delay);
  axis.offset = 0;
}

bool advanceShakeAxis(ShakeAxis& x, uint32_t now) {
  if (x.amplitude == 0) return false;
  const int64_t a = static_cast<int32_t>(now - x.start);
  if (a < 0) return true;  // delayed
  if (a >= static_cast<int64_t>(x.period)) {
    x.start += x.period;
    x.offset = 0;
    if (x.passes == 1) {
      x.amplitude = 0;
      return false;
    }
    if (x.passes != 0) --x.passes;  // 0 shakes without end
    return true;
  }
  x.offset = waveOffset(x, a);
  return true;
}

void shakeSprite(int32_t n, bool yAxis, const ShakeRequest& r, uint32_t now) {
  Sprite& s = sprite(n);
  ShakeAxis& axis = yAxis ? s.shakeY : s.shakeX;
  for (SpriteImage& b : s.buffers) b.dirty = true;
  if (shakeStops(r)) {
    axis = ShakeAxis{};
    if (s.shakeX.amplitude == 0 && s.shakeY.amplitude == 0) shaking().erase(n);
    return;
  }
  startShakeAxis(axis, r, now);
  shaking().insert(n);
}

void updateSpriteShakes(uint32_t now) {
  auto& set = shaking();
  for (auto it = set.begin(); it != set.end();) {
    Sprite& s = sprite(*it);
    const bool x = advanceShakeAxis(s.shakeX, now);
    const bool y = advanceShakeAxis(s.shakeY, now);
    s.frontImage().dirty = true;
    it = x || y ? std::next(it) : set.erase(it);
  }
}

bool spriteShakesRunning() { return !shaking().empty(); }

void forgetSpriteShakes(int32_t n) { shaking().erase(n); }

void resetSpriteShakes() { shaking().clear(); }

bool validShakeAxis(const ShakeAxis& axis) {
  return axis.amplitude == 0 || (axis.period >= 10 && axis.period <= INT32_MAX && axis.passes >= 0 && axis.passes <= 255);
}

void restoreSpriteShakes(int32_t n, const ShakeAxis& x, const ShakeAxis& y) {
  Sprite& s = sprite(n);
  s.shakeX = x;
  s.shakeY = y;
  if (x.amplitude != 0 || y.amplitude != 0) shaking().insert(n);
  else shaking().erase(n);
}

}  // namespace vellum
