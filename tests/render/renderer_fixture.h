// A clean engine with a hidden GL window and the renderer's notices recorded, for the renderer's
// tests. Tests that need a device skip when this machine cannot make a GL 3.3 core context.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "persist/engine_settings.h"
#include "platform/gpu/gpu.h"
#include "platform/gpu/gpu_faults.h"
#include "render/renderer.h"
#include "render/renderer_state.h"
#include "support/engine_fixture.h"
#include "support/gl_window.h"

namespace vellum::test {

class RendererTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    gpu::clearGpuFaults();
    window = std::make_unique<GlWindow>(kWindowW, kWindowH);
    setRendererNotice([this](const std::string& gbkText) { notices.push_back(gbkText); });
    // No pacing or vertical sync unless a test asks for it.
    settings().vSyncWait = 0;
  }

  void TearDown() override {
    // The callbacks may point into the finished test's frame.
    sceneCallbacks() = SceneCallbacks{};
    shutdownRenderer();
    setRendererNotice(nullptr);
    gpu::clearGpuFaults();
    EngineTest::TearDown();
    window.reset();
  }

  // A display of the given render size shown in a client area of the given size.
  static RendererDisplay displayOf(int renderW, int renderH, int clientW, int clientH) {
    RendererDisplay d;
    d.renderW = renderW;
    d.renderH = renderH;
    d.clientW = clientW;
    d.clientH = clientH;
    d.monitorW = std::max(clientW, renderW);
    d.monitorH = std::max(clientH, renderH);
    for (int m = 1; m <= 4; ++m) {
      d.src[static_cast<size_t>(m)] = {0, 0, renderW, renderH};
      d.dest[static_cast<size_t>(m)] = {0, 0, clientW, clientH};
    }
    return d;
  }

  // Creates the renderer, or skips the test when there is no GL here at all.
  bool create(const RendererDisplay& display) {
    if (!glAvailable()) return false;
    setRendererDisplay(display);
    return createRenderer(window->get());
  }

  bool glAvailable() {
    if (!window || !window->get()) return false;
    static const bool available = [] {
      gpu::Gpu* g = gpu::Gpu::create();
      if (!g) return false;
      gpu::Caps c;
      const bool ok = !gpu::failed(g->getDeviceCaps(0, gpu::DeviceType::Hal, c));
      g->release();
      return ok;
    }();
    return available;
  }

  // What a render target holds, as 0xAARRGGBB words.
  static std::vector<uint32_t> readTarget(gpu::Surface* target) {
    gpu::SurfaceDesc d;
    target->getDesc(d);
    gpu::Surface* copy = nullptr;
    std::vector<uint32_t> out;
    if (gpu::failed(renderer().device->createOffscreenPlainSurface(d.width, d.height, d.format, gpu::Pool::SystemMem, &copy)))
      return out;
    if (!gpu::failed(renderer().device->getRenderTargetData(target, copy))) {
      gpu::LockedRect r;
      copy->lockRect(r, nullptr, 0);
      out.resize(static_cast<size_t>(d.width) * d.height);
      for (uint32_t y = 0; y < d.height; ++y)
        for (uint32_t x = 0; x < d.width; ++x) {
          const uint8_t* row = static_cast<const uint8_t*>(r.bits) + static_cast<size_t>(y) * r.pitch;
          out[y * d.width + x] = gpu::bytesPerPixel(d.format) == 4
                                     ? reinterpret_cast<const uint32_t*>(row)[x]
                                     : gpu::fromR5G6B5(reinterpret_cast<const uint16_t*>(row)[x]);
        }
      copy->unlockRect();
    }
    copy->release();
    return out;
  }

  static constexpr int kWindowW = 64, kWindowH = 48;
  std::unique_ptr<GlWindow> window;
  std::vector<std::string> notices;  // GBK
};

#define VELLUM_REQUIRE_GL()                                               \
  do {                                                                     \
    if (!glAvailable()) GTEST_SKIP() << "no GL 3.3 core context here";     \
  } while (0)

}  // namespace vellum::test
