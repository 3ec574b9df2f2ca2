// The cost of animation on this machine's GL (llvmpipe without a GPU): 1000 sprites of 64x64 on a
// 1280x720 screen, each with running x, y and alpha tracks and a shake, against the same 1000 sprites
// standing still; whole frames, and the CPU side alone (update, commit, submission). Read the
// figures as ratios within one run.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <random>

#include "headless_gl_window.h"
#include "base/clock.h"
#include "image/image.h"
#include "persist/engine_settings.h"
#include "platform/gpu/gl_functions.h"
#include "render/renderer.h"
#include "render/renderer_state.h"
#include "scene/animation_tracks.h"
#include "scene/animation_update.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_shakes.h"
#include "scene/sprite_table.h"

namespace {

using namespace vellum;

constexpr int kRenderW = 1280, kRenderH = 720, kSide = 64, kSprites = 1000;

struct Session {
  SDL_Window* window = nullptr;

  Session() { window = bench::openHeadlessGlWindow(kRenderW, kRenderH); }

  bool start() {
    resetSprites();
    shutdownRenderer();
    return bench::startHeadlessRenderer(window, kRenderW, kRenderH);
  }
};

Session& session() {
  static Session s;
  return s;
}

void loadSprites(bool animated) {
  std::mt19937 random(5);
  for (int n = 0; n < kSprites; ++n) {
    Image* image = createImage(kSide, kSide, 32);
    for (int i = 0; i < image->pixelCount; ++i) image->pixels[i] = random() | 0x80000000u;
    loadSpriteImage(n, image, 0, 0);
    SpriteProperties& p = sprite(n).backImage().props;
    p.x = static_cast<float>(64 + (n * 37) % (kRenderW - 128));
    p.y = static_cast<float>(64 + (n * 53) % (kRenderH - 128));
    sprite(n).pending |= pending::kProperties;
  }
  commitAllSprites();
  if (!animated) return;
  // Endless tracks (pass count 0) and shakes, so that every frame moves every sprite.
  const uint32_t now = tickMilliseconds();
  for (int n = 0; n < kSprites; ++n) {
    const SpriteProperties& p = sprite(n).frontImage().props;
    startTrack(n, {track::X, static_cast<int32_t>(p.x) + 40, 997, 2, 0x000, 0}, now);
    startTrack(n, {track::Y, static_cast<int32_t>(p.y) + 30, 1499, 12, 0x000, 0}, now);
    startTrack(n, {track::Alpha, 64, 701, 0, 0x000, 0}, now);
    shakeSprite(n, true, {4, 120, 0, 3, 1, 0}, now);
  }
}

// One frame as draw makes it: the commit, then the frame (whose update advances the animations).
void frames(benchmark::State& state, bool animated) {
  if (!session().start()) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  loadSprites(animated);
  for (auto _ : state) {
    commitAllSprites();
    runFrame(0, 0, 0, 0);
    gpu::gl().Finish();
  }
  resetSprites();
  shutdownRenderer();
}
void BM_FrameStill(benchmark::State& state) { frames(state, false); }
void BM_FrameAnimated(benchmark::State& state) { frames(state, true); }
BENCHMARK(BM_FrameStill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameAnimated)->Unit(benchmark::kMillisecond);

// The CPU side alone: the update at a moving clock, the commit and the submission of the lists.
void submissions(benchmark::State& state, bool animated) {
  if (!session().start()) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  loadSprites(animated);
  gpu::Device* d = renderer().device;
  uint32_t now = tickMilliseconds();
  for (auto _ : state) {
    now += 16;
    updateAnimations(now);
    commitAllSprites();
    d->beginScene();
    sceneCallbacks().drawSpriteLists(0);
    sceneCallbacks().drawSpriteLists(1);
    d->endScene();
    state.PauseTiming();
    gpu::gl().Finish();
    state.ResumeTiming();
  }
  resetSprites();
  shutdownRenderer();
}
void BM_SubmitStill(benchmark::State& state) { submissions(state, false); }
void BM_SubmitAnimated(benchmark::State& state) { submissions(state, true); }
BENCHMARK(BM_SubmitStill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SubmitAnimated)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// The update alone for the 1000 animated sprites (tracks, shakes), at a moving clock.
void BM_UpdateAnimated(benchmark::State& state) {
  if (!session().start()) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  loadSprites(true);
  uint32_t now = tickMilliseconds();
  for (auto _ : state) {
    now += 16;
    updateAnimations(now);
  }
  resetSprites();
  shutdownRenderer();
}
BENCHMARK(BM_UpdateAnimated)->Unit(benchmark::kMicrosecond);

}  // namespace
