// Which final pass a frame runs (from the Interpolation setting, the window and the display mode),
// and the two kinds of final pass: the plain copy with the device's sampler and the shader filters.
#include <algorithm>

#include "persist/engine_settings.h"
#include "render/filter_passes.h"
#include "render/final_pass.h"
#include "render/renderer_state.h"

namespace vellum {

namespace {

int shaderSlotOf(int32_t interpolation) {
  switch (interpolation) {
    case 3: return kSharpShader;
    case 4: return kLanczos1Shader;
    case 5: return kQuadShader;
    case 6: return kCubicShader;
    case 7: return kLanczos2Shader;
    default: return -1;
  }
}

// The filtered pass for an Interpolation value. A shader filter whose shader did not load runs
// as the plain pass.
void chooseFiltered(RendererState& r, int32_t interpolation) {
  const int slot = shaderSlotOf(interpolation);
  if (slot >= 0 && r.shaders[static_cast<size_t>(slot)]) {
    r.pass = FramePass::Shader;
    r.filter = interpolation;
  } else {
    r.pass = FramePass::Plain;
    r.filter = 0;
  }
}

gpu::Rect clampedTo(const gpu::Rect& rect, const gpu::PresentParameters& p) {
  gpu::Rect out = rect;
  out.right = std::min(out.right, static_cast<int32_t>(p.backBufferWidth));
  out.bottom = std::min(out.bottom, static_cast<int32_t>(p.backBufferHeight));
  return out;
}

}  // namespace

void selectFinalPass() {
  RendererState& r = renderer();
  const EngineSettings& s = settings();
  const RendererDisplay& d = r.display;
  recomputePlainFilter();
  r.presentSource.reset();
  r.presentDestination.reset();
  const int mode = std::clamp(s.fullMode, 0, 4);
  if (s.interpolation != 0 && !s.fullScreen) {
    r.frameTarget = r.backSurface;
    r.finalRect = {0, 0, d.clientW, d.clientH};
    r.presentSource = clampedTo(r.finalRect, r.params);
    if (d.clientW == d.renderW) {
      r.pass = FramePass::Plain;
      r.filter = 0;
    } else {
      chooseFiltered(r, s.interpolation);
    }
  } else if (s.interpolation != 0 && s.fullScreen && mode >= 1) {
    r.frameTarget = r.backSurface;
    r.finalRect = d.dest[static_cast<size_t>(mode)];
    r.presentSource = clampedTo(r.finalRect, r.params);
    r.presentDestination = r.finalRect;
    if (mode == 2) {
      r.pass = FramePass::Plain;
      r.filter = 0;
    } else {
      chooseFiltered(r, s.interpolation);
    }
  } else {
    r.frameTarget = r.backBuffer;
    r.pass = FramePass::Direct;
    r.filter = 0;
    if (s.interpolation == 0 && s.fullScreen && mode > 1) {
      r.presentSource = clampedTo(d.src[static_cast<size_t>(mode)], r.params);
      r.presentDestination = d.dest[static_cast<size_t>(mode)];
    }
  }
  setQuadRect(r.finalQuad, r.finalRect);
}

void setOpaqueCopy(gpu::Device* d) {
  d->setTextureStageState(1, gpu::tss::ColorOp, gpu::top::Disable);
  d->setRenderState(gpu::rs::BlendOp, gpu::blendop::Add);
  d->setRenderState(gpu::rs::SrcBlend, gpu::blend::One);
  d->setRenderState(gpu::rs::DestBlend, gpu::blend::Zero);
}

namespace {

// At magnification one every filter gives the source texel, so the pass is a straight copy: far
// cheaper than a textured quad on a software rasteriser. A multisampled back buffer cannot take a
// copy and keeps the quad.
bool copiedStraight(RendererState& r) {
  const gpu::Rect& to = r.finalRect;
  if (to.width() != r.display.renderW || to.height() != r.display.renderH) return false;
  const gpu::Rect from{0, 0, r.display.renderW, r.display.renderH};
  return !gpu::failed(r.device->stretchRect(r.backSurface, &from, r.backBuffer, &to, gpu::texf::None));
}

}  // namespace

void runPlainPass() {
  RendererState& r = renderer();
  gpu::Device* d = r.device;
  if (copiedStraight(r)) return;
  setOpaqueCopy(d);
  d->setPixelShader(nullptr);
  d->setFVF(gpu::kFvfXyzRhw | gpu::fvfTex(1));
  d->setSamplerState(0, gpu::ss::MipFilter, gpu::texf::None);
  d->setSamplerState(0, gpu::ss::MinFilter, r.plainFilter);
  d->setSamplerState(0, gpu::ss::MagFilter, r.plainFilter);
  d->setTexture(0, r.backTexture);
  d->setTexture(1, nullptr);
  d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, r.finalQuad.data(), sizeof(QuadVertex));
  d->setTexture(0, nullptr);
}

void runShaderPass() {
  RendererState& r = renderer();
  gpu::Device* d = r.device;
  const int w = r.display.renderW, h = r.display.renderH;
  setOpaqueCopy(d);
  d->setSamplerState(0, gpu::ss::MipFilter, gpu::texf::None);
  d->setSamplerState(0, gpu::ss::MinFilter, gpu::texf::Point);
  d->setSamplerState(0, gpu::ss::MagFilter, gpu::texf::Point);
  d->setTexture(0, r.backTexture);
  d->setPixelShader(r.shaders[static_cast<size_t>(shaderSlotOf(r.filter))]);
  const auto constants = filterConstants(r.filter, w, h, r.finalRect.width());
  if (!constants.empty())
    d->setPixelShaderConstantF(0, constants.front().data(), static_cast<uint32_t>(constants.size()));
  switch (static_cast<Interpolation>(r.filter)) {
    case Interpolation::BiLinearSharp:
    case Interpolation::Lanczos1: {
      const auto quad = fourSetQuad(r.finalRect, w, h);
      d->setFVF(kFourSetFvf);
      d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, quad.data(), sizeof(FourSetVertex));
      break;
    }
    case Interpolation::BiQuad: {
      const auto quad = nineSetQuad(r.finalRect, w, h);
      d->setFVF(kNineSetFvf);
      d->drawPrimitiveUP(gpu::Primitive::TriangleFan, 2, quad.data(), sizeof(NineSetVertex));
      break;
    }
    default: {
      const auto quad = eightSetQuad(r.finalRect, w, h);
      d->setFVF(kEightSetFvf);
      d->drawPrimitiveUP(gpu::Primitive::TriangleFan, 2, quad.data(), sizeof(EightSetVertex));
      break;
    }
  }
  d->setPixelShader(nullptr);
  d->setTexture(0, nullptr);
}

}  // namespace vellum
