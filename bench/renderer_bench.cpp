// The renderer on this machine's GL (llvmpipe without a GPU): uploads of a decoded 1920x1080
// picture through writeTexture2 beside a bare glTexSubImage2D of the same bytes, and whole 1280x720
// frames with each final pass beside the direct frame, so the figures read as ratios to a
// baseline of the same run.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "headless_gl_window.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "persist/engine_settings.h"
#include "platform/gpu/gl_context.h"
#include "platform/gpu/gl_functions.h"
#include "platform/message_box.h"
#include "render/renderer.h"
#include "render/renderer_state.h"

namespace {

using namespace vellum;

constexpr int kRenderW = 1280, kRenderH = 720;
constexpr int kWindowW = 1920, kWindowH = 1080;
constexpr int kPictureW = 1920, kPictureH = 1080;

struct Session {
  SDL_Window* window = nullptr;
  bool ready = false;

  Session() {
    window = bench::openHeadlessGlWindow(kWindowW, kWindowH);
    ready = window != nullptr;
  }

  // A renderer for the filter, the game at 1280x720 in a 1920x1080 window.
  bool start(int32_t interpolation) {
    shutdownRenderer();
    settings().interpolation = interpolation;
    settings().vSyncWait = 0;
    RendererDisplay d;
    d.renderW = kRenderW;
    d.renderH = kRenderH;
    d.clientW = d.monitorW = kWindowW;
    d.clientH = d.monitorH = kWindowH;
    setRendererDisplay(d);
    return ready && createRenderer(window);
  }
};

Session& session() {
  static Session s;
  return s;
}

std::vector<uint32_t> picture(int w, int h) {
  std::mt19937 random(5);
  std::vector<uint32_t> p(static_cast<size_t>(w) * h);
  for (uint32_t& v : p) v = random();
  return p;
}

// The device's clear sends queued uploads; both uploads end with it and wait for the GL.
void finishUpload() {
  renderer().device->clear(gpu::kClearTarget, 0, 1.0f, 0);
  gpu::gl().Finish();
}

// The bytes straight into a GL texture of the same format, on the renderer's context.
void BM_TexSubImageBaseline(benchmark::State& state) {
  Session& s = session();
  if (!s.start(0)) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  const auto source = picture(kPictureW, kPictureH);
  gpu::GlFunctions& g = gpu::gl();
  GLuint texture = 0;
  g.ActiveTexture(GL_TEXTURE7);
  g.GenTextures(1, &texture);
  g.BindTexture(GL_TEXTURE_2D, texture);
  g.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kPictureW, kPictureH, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
  for (auto _ : state) {
    g.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kPictureW, kPictureH, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, source.data());
    finishUpload();
  }
  g.DeleteTextures(1, &texture);
  g.ActiveTexture(GL_TEXTURE0);
  state.SetItemsProcessed(state.iterations() * kPictureW * kPictureH);
  shutdownRenderer();
}
BENCHMARK(BM_TexSubImageBaseline)->Unit(benchmark::kMillisecond);

// The upload: conversion into the staging memory, then the device sends it.
void BM_WriteTexture2(benchmark::State& state) {
  Session& s = session();
  settings().colorMode = static_cast<int32_t>(state.range(0));
  if (!s.start(0)) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  const auto source = picture(kPictureW, kPictureH);
  gpu::Texture* t = createTexture(kPictureW, kPictureH, 1);
  for (auto _ : state) {
    writeTexture2(t, source.data(), 0, kPictureW, kPictureH, kPictureW, kPictureH);
    finishUpload();
  }
  state.SetItemsProcessed(state.iterations() * kPictureW * kPictureH);
  state.SetLabel(state.range(0) ? "A4R4G4B4" : "A8R8G8B8");
  t->release();
  shutdownRenderer();
  settings().colorMode = 0;
}
BENCHMARK(BM_WriteTexture2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One frame: a full-screen picture as the scene, then the final pass and present.
void BM_Frame(benchmark::State& state) {
  Session& s = session();
  if (!s.start(static_cast<int32_t>(state.range(0)))) {
    state.SkipWithError("no GL 3.3 core context");
    return;
  }
  const auto source = picture(kRenderW, kRenderH);
  gpu::Texture* scene = createTexture(kRenderW, kRenderH, 1);
  writeTexture2(scene, source.data(), 0, kRenderW, kRenderH, kRenderW, kRenderH);
  sceneCallbacks().drawSpriteLists = [scene](int run) {
    if (run != 0) return;
    gpu::Device* d = renderer().device;
    const QuadVertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                                {kRenderW - 0.5f, -0.5f, 0, 1, 1, 0},
                                {-0.5f, kRenderH - 0.5f, 0, 1, 0, 1},
                                {kRenderW - 0.5f, kRenderH - 0.5f, 0, 1, 1, 1}};
    d->setTexture(0, scene);
    d->setFVF(gpu::kFvfXyzRhw | gpu::fvfTex(1));
    d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, quad, sizeof(QuadVertex));
    d->setTexture(0, nullptr);
  };
  for (auto _ : state) runFrame(0, 0, 0, 0);
  static const char* const names[] = {"Driver", "NearestNeighbor", "BiLinear", "BiLinearSharp",
                                      "Lanczos1", "BiQuad", "BiCubic", "Lanczos2"};
  state.SetLabel(names[state.range(0)]);
  sceneCallbacks().drawSpriteLists = nullptr;
  scene->release();
  shutdownRenderer();
}
BENCHMARK(BM_Frame)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

}  // namespace
