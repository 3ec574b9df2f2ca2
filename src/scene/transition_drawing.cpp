#include "scene/transition_drawing.h"

#include <algorithm>

#include "render/renderer_state.h"
#include "scene/sprite_drawing.h"
#include "scene/sprite_table.h"

namespace vellum {

namespace {

bool setTarget(gpu::Surface* surface, const char* failText) {
  RendererState& r = renderer();
  const gpu::Result e = r.device->setRenderTarget(0, surface);
  if (gpu::failed(e)) {
    deviceScriptError(failText, e);
    return false;
  }
  return true;
}

void drawPicture(bool after) {
  spriteTable().afterPicture = after;
  drawNormalScene();
  spriteTable().afterPicture = false;
}

}  // namespace

TransitionSize transitionSize() {
  const RendererDisplay& d = renderer().display;
  return {d.renderW, d.renderH, d.renderW / 2, d.renderH / 2};
}

bool targetRenderSurface(const char* failText) { return setTarget(renderer().renderSurface, failText); }
bool targetFrame(const char* failText) { return setTarget(renderer().frameTarget, failText); }

void drawBeforePicture() { drawPicture(false); }
void drawAfterPicture() { drawPicture(true); }

void pointSampling(gpu::Device* d, uint32_t sampler) {
  d->setSamplerState(sampler, gpu::ss::MipFilter, gpu::texf::None);
  d->setSamplerState(sampler, gpu::ss::MinFilter, gpu::texf::Point);
  d->setSamplerState(sampler, gpu::ss::MagFilter, gpu::texf::Point);
}

void drawRenderTextureQuad(float left, float top, float right, float bottom, int32_t alpha, bool opaque,
                           uint32_t filter) {
  RendererState& r = renderer();
  gpu::Device* d = r.device;
  const uint32_t colour = (static_cast<uint32_t>(alpha & 0xFF) << 24) | 0xFFFFFF;
  // Pixel centres lie on integer coordinates, so pixel edges are half a pixel off.
  const float x[4] = {left, right, left, right}, y[4] = {top, top, bottom, bottom};
  for (size_t i = 0; i < 4; ++i) {
    SceneVertex& v = r.sceneQuad[i];
    v.x = x[i] - 0.5f;
    v.y = y[i] - 0.5f;
    v.colour = colour;
  }
  d->setRenderState(gpu::rs::AlphaBlendEnable, 1);
  d->setRenderState(gpu::rs::SeparateAlphaBlendEnable, 0);
  d->setRenderState(gpu::rs::BlendOp, gpu::blendop::Add);
  d->setRenderState(gpu::rs::SrcBlend, opaque ? gpu::blend::One : gpu::blend::SrcAlpha);
  d->setRenderState(gpu::rs::DestBlend, opaque ? gpu::blend::Zero : gpu::blend::InvSrcAlpha);
  d->setTextureStageState(0, gpu::tss::ColorOp, gpu::top::Modulate);
  d->setTextureStageState(0, gpu::tss::ColorArg1, gpu::ta::Texture);
  d->setTextureStageState(0, gpu::tss::ColorArg2, gpu::ta::Diffuse);
  d->setTextureStageState(0, gpu::tss::AlphaOp, gpu::top::Modulate);
  d->setTextureStageState(0, gpu::tss::AlphaArg1, gpu::ta::Texture);
  d->setTextureStageState(0, gpu::tss::AlphaArg2, gpu::ta::Diffuse);
  d->setTextureStageState(0, gpu::tss::TexCoordIndex, 0);
  d->setTextureStageState(1, gpu::tss::ColorOp, gpu::top::Disable);
  d->setTextureStageState(1, gpu::tss::AlphaOp, gpu::top::Disable);
  d->setPixelShader(plainSpriteShader());
  d->setFVF(gpu::kFvfXyzRhw | gpu::kFvfDiffuse | gpu::fvfTex(1));
  d->setSamplerState(0, gpu::ss::MipFilter, gpu::texf::None);
  d->setSamplerState(0, gpu::ss::MinFilter, filter);
  d->setSamplerState(0, gpu::ss::MagFilter, filter);
  d->setTexture(0, r.renderTexture);
  d->setTexture(1, nullptr);
  d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, r.sceneQuad.data(), sizeof(SceneVertex));
  d->setTexture(0, nullptr);
  d->setPixelShader(nullptr);
}

void drawRenderTexture(float x, float y, int32_t alpha) {
  const TransitionSize size = transitionSize();
  drawRenderTextureQuad(x, y, x + static_cast<float>(size.w), y + static_cast<float>(size.h), alpha, false,
                        gpu::texf::Point);
}

void copyFromRenderSurface(const gpu::Rect& source, const gpu::Rect& destination) {
  RendererState& r = renderer();
  const TransitionSize size = transitionSize();
  // Both rectangles have one size; what falls outside either surface is cut from both.
  const int32_t dx = destination.left - source.left, dy = destination.top - source.top;
  gpu::Rect from = source;
  from.left = std::max({from.left, 0, -dx});
  from.top = std::max({from.top, 0, -dy});
  from.right = std::min({from.right, size.w, size.w - dx});
  from.bottom = std::min({from.bottom, size.h, size.h - dy});
  if (from.right <= from.left || from.bottom <= from.top) return;
  const gpu::Rect to{from.left + dx, from.top + dy, from.right + dx, from.bottom + dy};
  r.device->stretchRect(r.renderSurface, &from, r.frameTarget, &to, gpu::texf::None);
}

}  // namespace vellum
