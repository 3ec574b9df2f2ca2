// A frame: the scene-draw procedure of the SceneMode, the final pass, pacing and Present with the
// recovery of a lost device.
#include <numeric>
#include <thread>

#include "base/engine_state.h"
#include "base/report.h"
#include "persist/engine_settings.h"
#include "base/clock.h"
#include "platform/browser_page.h"
#include "render/final_pass.h"
#include "render/renderer_state.h"

namespace vellum {

namespace {

void sleepOneMillisecond() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

void setLinearSamplers(gpu::Device* d) {
  for (uint32_t s = 0; s < 2; ++s) {
    d->setSamplerState(s, gpu::ss::MinFilter, gpu::texf::Linear);
    d->setSamplerState(s, gpu::ss::MagFilter, gpu::texf::Linear);
    d->setSamplerState(s, gpu::ss::MipFilter, gpu::texf::Linear);
  }
}

}  // namespace

// Until the sprite table draws, the scene is the clear colour.
void drawNormalScene() {
  RendererState& r = renderer();
  setLinearSamplers(r.device);
  if (r.callbacks.drawSpriteLists) {
    r.callbacks.drawSpriteLists(0);
  } else {
    r.device->clear(gpu::kClearTarget, r.clearColour, 1.0f, 0);
  }
  if (r.callbacks.drawMessageLayer) {
    r.callbacks.drawMessageLayer();
    setLinearSamplers(r.device);
  }
  if (r.callbacks.drawSpriteLists) r.callbacks.drawSpriteLists(1);
}

namespace {

void commit() {
  if (renderer().callbacks.commitPending) renderer().callbacks.commitPending();
}

void runScene(int mode, int a, int b, int c) {
  RendererState& r = renderer();
  switch (mode) {
    case 0:
      if (r.motionBlur && r.callbacks.drawMotionBlurScene) r.callbacks.drawMotionBlurScene();
      else drawNormalScene();
      break;
    case 1:
    case 2:
    case 4:
      if (r.callbacks.transitionScenes[static_cast<size_t>(mode)]) r.callbacks.transitionScenes[static_cast<size_t>(mode)](a, b, c);
      break;
    case 3:
      if (r.ruleShaderVersion) {
        if (r.callbacks.transitionScenes[3]) r.callbacks.transitionScenes[3](a, b, c);
      } else if (r.callbacks.ruleSceneCpu) {
        r.callbacks.ruleSceneCpu(a, b, c);
      }
      break;
    case 5:
    case 8: commit(); break;
    case 6:
      for (SceneVertex& v : r.sceneQuad) v.colour = 0xFFFFFFFF;
      commit();
      break;
    case 7:
    case 9:
      setSceneQuadRect({0, 0, r.display.renderW, r.display.renderH});
      commit();
      break;
    default: break;  // 10, 11: nothing
  }
}

void perFrameUpdate() {
  RendererState& r = renderer();
  if (r.callbacks.perFrameUpdate) r.callbacks.perFrameUpdate(tickMilliseconds());
}

// Software vertical sync: wait for the start of the next vertical blank or the end of the frame
// period, whichever comes first.
void paceFrame() {
  RendererState& r = renderer();
  const int32_t limit = settings().limitFps;
  uint32_t period = 0, step = 0;
  if (limit > 0) {
    const int32_t g = std::gcd(1000, limit);
    period = static_cast<uint32_t>(1000 / g);
    step = static_cast<uint32_t>(limit / g);
  }
  if (r.carry > period) r.carry = 0;
  const auto due = [&] { return (tickMilliseconds() - r.lastFrame) * step + r.carry < period; };
  gpu::RasterStatus raster;
  // A quit asked for meanwhile ends the wait: with a low frame limit it can last most of a second.
  while (due() && !engine().quitFlag) {
    if (gpu::failed(r.device->getRasterStatus(0, raster)) || !raster.inVBlank || raster.scanLine != 0) break;
    sleepOneMillisecond();
  }
  while (due() && !engine().quitFlag) {
    if (gpu::failed(r.device->getRasterStatus(0, raster)) || raster.inVBlank || raster.scanLine == 0) break;
    sleepOneMillisecond();
  }
  const uint32_t now = tickMilliseconds();
  r.carry += (now - r.lastFrame) * step - period;
  r.lastFrame = now;
}

// After Present said the device is lost: wait for it, reset it and make the resources again.
bool recoverDevice() {
  RendererState& r = renderer();
  const gpu::Result level = r.device->testCooperativeLevel();
  if (level == gpu::kDeviceLost) return true;
  if (level == gpu::kOk) return true;
  if (level == gpu::kDeviceNotReset) {
    releaseDefaultPoolResources();
    const gpu::Result reset = r.device->reset(r.params);
    if (reset == gpu::kDeviceLost) return true;
    if (!gpu::failed(reset)) return createRenderResources();
    deviceScriptError("DeviceReset ", reset);
    ++engine().quitFlag;
    return false;
  }
  errorc(ReportText("TestCooperativeLevel ", CodePage::Gbk).number(static_cast<uint32_t>(level) & 0xFF), true);
  ++engine().quitFlag;
  return false;
}

bool frameWithFinalPass(int mode, int a, int b, int c) {
  RendererState& r = renderer();
  gpu::Device* d = r.device;
  if (gpu::failed(d->beginScene())) return true;
  perFrameUpdate();
  if (const gpu::Result e = d->setRenderTarget(0, r.backSurface); gpu::failed(e)) {
    deviceErrorDialog("SetRenderTarget g_pBackSurface ", e);
    d->endScene();
    return false;
  }
  runScene(mode, a, b, c);
  if (const gpu::Result e = d->setRenderTarget(0, r.backBuffer); gpu::failed(e)) {
    deviceErrorDialog("SetRenderTarget g_pBackBuffer ", e);
    d->endScene();
    return false;
  }
  if (r.pass == FramePass::Shader) runShaderPass();
  else runPlainPass();
  return presentFrame();
}

bool frameDirect(int mode, int a, int b, int c) {
  RendererState& r = renderer();
  gpu::Device* d = r.device;
  if (gpu::failed(d->beginScene())) return true;
  perFrameUpdate();
  runScene(mode, a, b, c);
  d->setTexture(0, nullptr);
  d->setTexture(1, nullptr);
  return presentFrame();
}

}  // namespace

bool presentFrame() {
  RendererState& r = renderer();
  r.device->endScene();
  if (settings().vSyncWait & 2) paceFrame();
  const gpu::Result e = r.device->present(r.presentSource ? &*r.presentSource : nullptr,
                                          r.presentDestination ? &*r.presentDestination : nullptr);
  waitForBrowserFrame();
  if (e == gpu::kDeviceLost) return recoverDevice();
  if (gpu::failed(e)) {
    deviceScriptError("DeviceReset2 ", e);
    ++engine().quitFlag;
    return false;
  }
  return true;
}

bool runFrame(int sceneMode, int a, int b, int c) {
  RendererState& r = renderer();
  if (!r.device) return false;
  // Resources released for a reset that has not happened yet: keep waiting for it.
  if (!r.backBuffer) return recoverDevice();
  return r.pass == FramePass::Direct ? frameDirect(sceneMode, a, b, c) : frameWithFinalPass(sceneMode, a, b, c);
}

}  // namespace vellum
