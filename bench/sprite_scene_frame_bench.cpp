// The 100-sprite scene on this machine's GL (llvmpipe without a GPU): a 1280x720 picture and 100
// moving 64x64 sprites through the sprite table and the renderer, CPU time of every thread per
// frame (the rasteriser's threads included). Read it as ratios within one run:
// - filter 2 / filter 0: what the first run's smoothing filter adds when the window has the
//   render size (its final pass is a copy there);
// - half-pixel / whole-pixel positions: what linear filtering costs over point sampling where the
//   texels do not land on pixels.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "headless_gl_window.h"
#include "image/image.h"
#include "persist/engine_settings.h"
#include "platform/gpu/gl_functions.h"
#include "render/renderer.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"

namespace {

using namespace vellum;

constexpr int kRenderW = 1280, kRenderH = 720, kSide = 64, kSprites = 100;

SDL_Window* window() {
  static SDL_Window* w = bench::openHeadlessGlWindow(kRenderW, kRenderH);
  return w;
}

// The renderer as a windowed game of the render size on a 1920x1080 monitor with the filter.
bool startRenderer(int32_t interpolation) {
  resetSprites();
  shutdownRenderer();
  if (!window()) return false;
  settings().interpolation = interpolation;
  settings().vSyncWait = 0;
  RendererDisplay d;
  d.renderW = d.clientW = kRenderW;
  d.renderH = d.clientH = kRenderH;
  d.monitorW = 1920;
  d.monitorH = 1080;
  setRendererDisplay(d);
  return createRenderer(window());
}

Image* backgroundPicture() {
  Image* image = createImage(kRenderW, kRenderH, 24);
  for (int y = 0; y < kRenderH; ++y)
    for (int x = 0; x < kRenderW; ++x)
      image->pixels[y * kRenderW + x] = 0xFF000000u | static_cast<uint32_t>(x * 255 / kRenderW) << 16 |
                                        static_cast<uint32_t>(y * 255 / kRenderH) << 8 | static_cast<uint32_t>((x ^ y) & 255);
  return image;
}

// A ball: opaque inside, a half-transparent rim, transparent corners.
Image* ballPicture() {
  Image* image = createImage(kSide, kSide, 32);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const float d = (x - 31.5f) * (x - 31.5f) + (y - 31.5f) * (y - 31.5f);
      const uint32_t alpha = d < 900 ? 255 : d < 1024 ? 128 : 0;
      image->pixels[y * kSide + x] = alpha << 24 | 0xFF0000u | static_cast<uint32_t>(x * 4 & 255) << 8 | static_cast<uint32_t>(y * 4 & 255);
    }
  return image;
}

void place(int n, float x, float y) {
  SpriteProperties& p = sprite(n).backImage().props;
  p.x = x;
  p.y = y;
  sprite(n).pending |= pending::kProperties;
}

void loadScene() {
  loadSpriteImage(0, backgroundPicture(), 0, 0);
  place(0, kRenderW / 2.0f, kRenderH / 2.0f);
  for (int n = 1; n <= kSprites; ++n) loadSpriteImage(n, ballPicture(), 0, 0);
  commitAllSprites();
  // The picture behind every sprite.
  sprite(0).order = 1000;
  listSprite(0, sprite(0).listParent);
}

// Frames of the scene with the sprites moved by whole pixels each frame, shifted by `offset`.
void runScene(benchmark::State& state, int32_t interpolation, float offset) {
  if (!startRenderer(interpolation)) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  loadScene();
  int frame = 0;
  for (auto _ : state) {
    ++frame;
    for (int n = 1; n <= kSprites; ++n)
      place(n, static_cast<float>(32 + (n * 37 + frame * 3) % 1216) + offset,
            static_cast<float>(32 + (n * 53 + frame * 2) % 656) + offset);
    commitAllSprites();
    runFrame(0, 0, 0, 0);
    gpu::gl().Finish();
  }
  resetSprites();
  shutdownRenderer();
}

void BM_SpriteSceneFrame(benchmark::State& state) { runScene(state, static_cast<int32_t>(state.range(0)), 0); }
BENCHMARK(BM_SpriteSceneFrame)->ArgName("filter")->Arg(0)->Arg(2)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_SpriteSceneFrameHalfPixel(benchmark::State& state) { runScene(state, 0, 0.5f); }
BENCHMARK(BM_SpriteSceneFrameHalfPixel)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace
