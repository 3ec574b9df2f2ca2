// The render resources that a reset takes away (the back buffer, the two scene-sized targets, the
// sprites' targets) and the mask texture, the default states, Screen Change, the back-buffer size
// and multisampling.
#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "render/renderer_state.h"
#include "render/texture_reuse.h"
#include "script/builtins/plugin_libraries.h"

namespace vellum {

namespace {

void setDefaultStates(gpu::Device* d) {
  using namespace gpu;
  d->setRenderState(rs::CullMode, kCullNone);
  d->setRenderState(rs::ZWriteEnable, 0);
  d->setRenderState(rs::ZEnable, 0);
  d->setRenderState(rs::Lighting, 0);
  d->setRenderState(rs::ColorVertex, 0);
  d->setRenderState(rs::Clipping, 0);
  d->setRenderState(rs::LastPixel, 0);
  d->setRenderState(rs::MultisampleAntialias, 0);
  d->setRenderState(rs::DitherEnable, 0);
  d->setRenderState(rs::AlphaBlendEnable, 1);
  d->setRenderState(rs::BlendOp, blendop::Add);
  d->setRenderState(rs::SrcBlend, blend::One);
  d->setRenderState(rs::DestBlend, blend::Zero);
  d->setTextureStageState(0, tss::ColorOp, top::SelectArg1);
  d->setTextureStageState(0, tss::ColorArg1, ta::Texture);
  d->setTextureStageState(0, tss::ColorArg2, ta::Diffuse);
  d->setTextureStageState(0, tss::AlphaOp, top::Modulate);
  d->setTextureStageState(0, tss::AlphaArg1, ta::Texture);
  d->setTextureStageState(0, tss::AlphaArg2, ta::Diffuse);
  d->setTextureStageState(1, tss::ColorOp, top::Disable);
  d->setTextureStageState(1, tss::ColorArg1, ta::Texture);
  d->setTextureStageState(1, tss::ColorArg2, ta::Diffuse);
  d->setTextureStageState(1, tss::AlphaOp, top::Disable);
  d->setTextureStageState(1, tss::AlphaArg1, ta::Texture);
  d->setTextureStageState(1, tss::AlphaArg2, ta::Current);
  for (uint32_t s = 0; s < 2; ++s) {
    d->setSamplerState(s, ss::AddressU, taddress::Clamp);
    d->setSamplerState(s, ss::AddressV, taddress::Clamp);
  }
}

bool sceneTarget(gpu::Texture*& texture, gpu::Surface*& surface, const char* textureName, const char* surfaceName) {
  RendererState& r = renderer();
  const auto w = static_cast<uint32_t>(r.display.renderW), h = static_cast<uint32_t>(r.display.renderH);
  gpu::Result e = r.device->createTexture(w, h, 1, gpu::kUsageRenderTarget, r.backBufferFormat, gpu::Pool::Default, &texture);
  if (gpu::failed(e)) {
    deviceErrorDialog(std::string("CreateTexture ") + textureName + " ", e);
    return false;
  }
  e = texture->getSurfaceLevel(0, &surface);
  if (gpu::failed(e)) {
    deviceErrorDialog(std::string("GetSurfaceLevel ") + surfaceName + " ", e);
    return false;
  }
  return true;
}

}  // namespace

bool createRenderResources() {
  RendererState& r = renderer();
  if (!r.device) return false;
  // 1-4. The back buffer, the two scene-sized targets and the mask.
  if (const gpu::Result e = r.device->getBackBuffer(0, 0, &r.backBuffer); gpu::failed(e)) {
    deviceErrorDialog("GetBackBuffer g_pBackBuffer ", e);
    return false;
  }
  if (!sceneTarget(r.backTexture, r.backSurface, "g_pBackTexture", "g_pBackSurface")) return false;
  if (!sceneTarget(r.renderTexture, r.renderSurface, "g_pRenderTexture", "g_pRenderSurface")) return false;
  {
    releaseObject(r.maskTexture);
    const gpu::Result e = r.device->createTexture(static_cast<uint32_t>(r.display.renderW),
                                                  static_cast<uint32_t>(r.display.renderH), 1, 0, r.textureFormat,
                                                  gpu::Pool::Managed, &r.maskTexture);
    if (gpu::failed(e)) {
      deviceErrorDialog("CreateTexture g_pMaskTexture ", e);
      return false;
    }
  }
  // 5-6. The final pass, then the sprites' own targets.
  selectFinalPass();
  if (r.callbacks.recreateSpriteTargets) r.callbacks.recreateSpriteTargets();
  // 7-8. States and a black back buffer.
  setDefaultStates(r.device);
  r.device->setRenderTarget(0, r.backBuffer);
  r.device->clear(gpu::kClearTarget, 0xFF000000, 1.0f, 0);
  r.device->setRenderTarget(0, r.frameTarget);
  // 9. The plug-ins.
  notifyDeviceReset();
  return true;
}

void releaseDefaultPoolResources() {
  RendererState& r = renderer();
  dropReusableTextures();
  if (r.callbacks.releaseSpriteTargets) r.callbacks.releaseSpriteTargets();
  // The mask is managed and would survive; it is made again at the render size all the same.
  releaseObject(r.maskTexture);
  releaseObject(r.renderSurface);
  releaseObject(r.renderTexture);
  releaseObject(r.backSurface);
  releaseObject(r.backTexture);
  releaseObject(r.backBuffer);
  r.frameTarget = nullptr;
  notifyDeviceLost();
}

bool screenChange() {
  RendererState& r = renderer();
  if (!r.device) return false;
  r.params.presentationInterval =
      (settings().vSyncWait & 1) ? gpu::kPresentIntervalOne : gpu::kPresentIntervalImmediate;
  releaseDefaultPoolResources();
  if (const gpu::Result e = r.device->reset(r.params); gpu::failed(e)) {
    deviceErrorDialog("Screen Change ", e);
    // The program ends, as when its window is destroyed.
    engine().quitFlag = 1;
    return false;
  }
  return createRenderResources();
}

bool resizeBackBuffer(int recomputeFinalPass) {
  RendererState& r = renderer();
  if (!r.device) return false;
  const EngineSettings& s = settings();
  const bool renderSized = (s.fullScreen && s.fullMode == 0) || s.interpolation == 0;
  const auto w = static_cast<uint32_t>(renderSized ? r.display.renderW : r.display.monitorW);
  const auto h = static_cast<uint32_t>(renderSized ? r.display.renderH : r.display.monitorH);
  if (w == r.params.backBufferWidth && h == r.params.backBufferHeight && recomputeFinalPass != 0) selectFinalPass();
  r.params.backBufferWidth = w;
  r.params.backBufferHeight = h;
  return screenChange();
}

uint32_t multiSampleType() { return renderer().params.multiSampleType; }

bool changeMultiSample(uint32_t samples) {
  RendererState& r = renderer();
  if (!r.device || samples == r.params.multiSampleType) return true;
  if (samples == 0) {
    r.params.multiSampleType = 0;
    r.params.multiSampleQuality = 0;
    return screenChange();
  }
  for (uint32_t s = samples; s >= 1; --s) {
    uint32_t levels = 0;
    if (gpu::failed(r.gpu->checkDeviceMultiSampleType(0, gpu::DeviceType::Hal, r.backBufferFormat, true, s, &levels)))
      continue;
    r.params.multiSampleType = s;
    r.params.multiSampleQuality = levels > 0 ? levels - 1 : 0;
    return screenChange();
  }
  return true;
}

bool createRenderer(SDL_Window* window) {
  shutdownRenderer();
  if (!createDevice(window)) {
    shutdownRenderer();
    return false;
  }
  return createRenderResources();
}

void shutdownRenderer() {
  RendererState& r = renderer();
  dropReusableTextures();
  if (r.device) {
    if (r.callbacks.releaseSpriteTargets) r.callbacks.releaseSpriteTargets();
    r.device->setTexture(0, nullptr);
    r.device->setTexture(1, nullptr);
    r.device->setPixelShader(nullptr);
  }
  releaseObject(r.renderSurface);
  releaseObject(r.renderTexture);
  releaseObject(r.backSurface);
  releaseObject(r.backTexture);
  releaseObject(r.backBuffer);
  releaseObject(r.maskTexture);
  for (gpu::PixelShader*& s : r.shaders) releaseObject(s);
  r.frameTarget = nullptr;
  releaseObject(r.device);
  releaseObject(r.gpu);
  r.window = nullptr;
}

}  // namespace vellum
