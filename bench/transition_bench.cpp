// Transition frames at 1280x720 on this machine's GL (llvmpipe without a GPU), each beside a plain
// frame of the same scene in the same run: the rule transition in its shader and CPU versions, the
// fade, the mosaic, and one named transition of each family. Read the figures as ratios to
// BM_PlainFrame.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "headless_gl_window.h"
#include "image/image.h"
#include "persist/engine_settings.h"
#include "platform/gpu/gl_functions.h"
#include "render/renderer.h"
#include "render/renderer_state.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "scene/transition_scenes.h"

namespace {

using namespace vellum;

constexpr int kRenderW = 1280, kRenderH = 720;
constexpr int kDuration = 1000, kElapsed = 400;

struct Session {
  SDL_Window* window = nullptr;
  Session() { window = bench::openHeadlessGlWindow(kRenderW, kRenderH); }

  // Before: one full-screen picture shown. After: another one waiting to be committed.
  bool start() {
    resetSprites();
    shutdownRenderer();
    resetTransitions();
    if (!bench::startHeadlessRenderer(window, kRenderW, kRenderH)) return false;
    for (int n = 0; n < 2; ++n) {
      std::mt19937 random(static_cast<unsigned>(n + 3));
      Image* image = createImage(kRenderW, kRenderH, 32);
      for (int i = 0; i < image->pixelCount; ++i) image->pixels[i] = random() | 0xFF000000u;
      loadSpriteImage(n, image, 0, 0);
      SpriteProperties& p = sprite(n).backImage().props;
      p.x = kRenderW / 2.0f;
      p.y = kRenderH / 2.0f;
      sprite(n).pending |= pending::kProperties;
      if (n == 0) commitAllSprites();
    }
    return true;
  }
  void stop() {
    resetSprites();
    shutdownRenderer();
  }
};

Session& session() {
  static Session s;
  return s;
}

// A grey rule picture: a diagonal ramp.
Image* writeRulePicture() {
  Image* image = createImage(kRenderW, kRenderH, 32);
  for (int y = 0; y < kRenderH; ++y)
    for (int x = 0; x < kRenderW; ++x)
      image->pixels[y * kRenderW + x] = 0xFF000000u | 0x010101u * static_cast<uint32_t>((x + y) * 255 / (kRenderW + kRenderH));
  return image;
}

void frames(benchmark::State& state, int mode) {
  for (auto _ : state) {
    runFrame(mode, kElapsed, kDuration, 0);
    gpu::gl().Finish();
  }
}

void BM_PlainFrame(benchmark::State& state) {
  if (!session().start()) return state.SkipWithError("no GL 3.3 core context");
  frames(state, 0);
  session().stop();
}
BENCHMARK(BM_PlainFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The mask filled straight from a picture, as the rule preparation does after loading it.
bool fillMask() {
  Image* image = writeRulePicture();
  gpu::LockedRect locked;
  RendererState& r = renderer();
  if (!r.maskTexture || gpu::failed(r.maskTexture->lockRect(0, locked, nullptr, 0))) return false;
  for (int y = 0; y < kRenderH; ++y)
    std::memcpy(static_cast<uint8_t*>(locked.bits) + y * locked.pitch, image->pixels + y * kRenderW, kRenderW * 4);
  r.maskTexture->unlockRect(0);
  freeImage(image);
  return true;
}

void BM_RuleFrame(benchmark::State& state) {
  if (!session().start() || !fillMask()) return state.SkipWithError("no GL 3.3 core context");
  const bool shader = state.range(0) != 0;
  if (shader && !renderer().shaders[kMaskFadeShader]) return state.SkipWithError("no pixel shaders");
  renderer().ruleShaderVersion = shader;
  transitionState().softness = 64;
  state.SetLabel(shader ? "shader" : "cpu");
  frames(state, 3);
  session().stop();
}
BENCHMARK(BM_RuleFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FadeFrame(benchmark::State& state) {
  if (!session().start()) return state.SkipWithError("no GL 3.3 core context");
  frames(state, 1);
  session().stop();
}
BENCHMARK(BM_FadeFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MosaicFrame(benchmark::State& state) {
  if (!session().start()) return state.SkipWithError("no GL 3.3 core context");
  transitionState().softness = 31;
  frames(state, 4);
  session().stop();
}
BENCHMARK(BM_MosaicFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// One of each family: wipe, diagonal wipe, iris, slide, scroll, shutter, curtain, fading slide,
// fading scroll.
const char* const kFamilies[] = {"DirectionRight", "DirectionRightDown", "SquareOut", "SlideInLeftRight",
                                 "ScrollUp", "ShutterDown", "CurtainLeft", "FadeSlideInLeftUp", "FadeScrollRight"};

void BM_NamedFrame(benchmark::State& state) {
  if (!session().start()) return state.SkipWithError("no GL 3.3 core context");
  const char* name = kFamilies[state.range(0)];
  transitionState().selectedNamed = findNamedTransition(name);
  state.SetLabel(name);
  frames(state, 2);
  session().stop();
}
BENCHMARK(BM_NamedFrame)->DenseRange(0, 8)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
