#include "scene/screen_save_lines.h"

#include <cmath>

#include "scene/sprite_shakes.h"

namespace vellum {

namespace {

uint32_t elapsedSince(uint32_t start, uint32_t now) { return start == 0 ? 0 : now - start; }
uint32_t startFrom(uint32_t elapsed, uint32_t now) { return elapsed == 0 ? 0 : now - elapsed; }
int32_t rounded(float v) { return static_cast<int32_t>(std::lround(v)); }

}  // namespace

void writeScreenSaveLines(std::string& out, uint32_t now) {
  const ScreenTransform& t = screenTransform();
  const ShakeAxis &x = t.quakeX, &y = t.quakeY;
  auto n = [](int64_t v) { return std::to_string(v); };
  out += "ScQ=" + n(t.quakeMask) + ", " + n(x.amplitude) + "," + n(y.amplitude) + ", " + n(x.passes) + "," +
         n(y.passes) + ", " + n(x.easing) + "," + n(y.easing) + ", " + n(elapsedSince(x.start, now)) + "," +
         n(elapsedSince(y.start, now)) + ", " + n(x.period) + "," + n(y.period) + ", " + realText(x.offset) + "," +
         realText(y.offset) + ", " + n(x.wave) + "," + n(y.wave) + "\n";
  std::string line = "ScXYWH=";
  auto group = [&](auto value, const char* after) {
    for (int i = 0; i < 4; ++i) line += n(value(t.camera[static_cast<size_t>(i)])) + (i < 3 ? "," : after);
  };
  group([](const CameraValue& c) { return static_cast<int64_t>(rounded(c.track.from)); }, ", ");
  group([now](const CameraValue& c) { return static_cast<int64_t>(elapsedSince(c.track.start, now)); }, ", ");
  group([](const CameraValue& c) { return c.track.duration; }, ", ");
  group([](const CameraValue& c) { return static_cast<int64_t>(rounded(c.track.change)); }, ", ");
  group([](const CameraValue& c) { return static_cast<int64_t>(c.track.easing); }, ", ");
  for (int i = 0; i < 4; ++i) line += realText(t.camera[static_cast<size_t>(i)].current) + (i < 3 ? "," : "\n");
  out += line;
}

bool readScreenSaveLines(const SaveBlock& block, uint32_t now, ScreenTransform& t) {
  t = ScreenTransform{};
  bool ok = true;
  if (const auto* pieces = block.find("ScQ")) {
    ShakeAxis &x = t.quakeX, &y = t.quakeY;
    SaveLineReader q(block, *pieces);
    t.quakeMask = static_cast<uint32_t>(q.integer());
    x.amplitude = q.int32(), y.amplitude = q.int32();
    x.passes = q.int32(), y.passes = q.int32();
    x.easing = q.int32(), y.easing = q.int32();
    x.start = startFrom(q.elapsed(), now), y.start = startFrom(q.elapsed(), now);
    x.period = q.elapsed(), y.period = q.elapsed();
    x.offset = q.real(), y.offset = q.real();
    x.wave = q.int32(), y.wave = q.int32();
    ok = ok && q.ok && validShakeAxis(x) && validShakeAxis(y);
  }
  if (const auto* pieces = block.find("ScXYWH")) {
    SaveLineReader r(block, *pieces);
    for (auto& c : t.camera) c.track.from = static_cast<float>(r.int32());
    for (auto& c : t.camera) c.track.start = startFrom(r.elapsed(), now);
    for (auto& c : t.camera) c.track.duration = r.elapsed();
    for (auto& c : t.camera) c.track.change = static_cast<float>(r.int32());
    for (auto& c : t.camera) c.track.easing = r.int32();
    for (auto& c : t.camera) c.current = c.pending = r.real();
    ok = ok && r.ok;
  }
  return ok;
}

void applyScreenSaveLines(const ScreenTransform& state) {
  screenTransform() = state;
  for (Sprite& s : spriteTable().sprites)
    for (SpriteImage& b : s.buffers) b.dirty = true;
}

}  // namespace vellum
