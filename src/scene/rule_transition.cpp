// The rule transition: a greyscale picture in the mask texture decides when each pixel changes.
// The shader version computes each pixel's alpha on the device; the CPU version rewrites the
// mask's alpha every frame by one table look-up per texel.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "base/report.h"
#include "image/ops/resize.h"
#include "render/renderer_state.h"
#include "scene/easing.h"
#include "scene/sprite_loading.h"
#include "scene/transition_drawing.h"
#include "scene/transition_scenes.h"

namespace vellum {

namespace {

// ASCII text of this engine's own check.
constexpr char kNotGrey[] = " rule picture is not greyscale";
// Grey pictures saved through lossy formats may differ this much between channels.
constexpr int kGreyTolerance = 2;

constexpr int32_t kSegments32 = 512, kEntries32 = 1024;
constexpr int32_t kSegments16 = 32, kEntries16 = 64;

// Segment s, entry k: the alpha of a texel whose progress lead over its mask value is k - 255 (or
// k - 15), for softness s. Segment 0 is a hard edge, the same as segment 1: a pixel changes all
// at once when the progress passes its value.
struct RuleTables {
  std::vector<uint8_t> alpha32 = std::vector<uint8_t>(static_cast<size_t>(kSegments32) * kEntries32);
  std::vector<uint8_t> alpha16 = std::vector<uint8_t>(static_cast<size_t>(kSegments16) * kEntries16);
  RuleTables() {
    for (int32_t s = 0; s < kSegments32; ++s)
      for (int32_t k = 0; k < kEntries32; ++k)
        alpha32[static_cast<size_t>(s * kEntries32 + k)] =
            static_cast<uint8_t>(std::clamp(255 * (k - 255) / std::max(s, 1), 0, 255));
    for (int32_t s = 0; s < kSegments16; ++s)
      for (int32_t k = 0; k < kEntries16; ++k)
        alpha16[static_cast<size_t>(s * kEntries16 + k)] =
            static_cast<uint8_t>(std::clamp(15 * (k - 15) / std::max(s, 1), 0, 15) * 16);
  }
};

const RuleTables& ruleTables() {
  static const RuleTables tables;
  return tables;
}

bool sixteenBitMask() { return renderer().textureFormat == gpu::Format::A4R4G4B4; }

bool isGrey(const Image& image) {
  for (int32_t i = 0; i < image.pixelCount; ++i) {
    const uint32_t p = image.pixels[i];
    const int r = static_cast<int>((p >> 16) & 0xFF), g = static_cast<int>((p >> 8) & 0xFF), b = static_cast<int>(p & 0xFF);
    if (std::max({r, g, b}) - std::min({r, g, b}) > kGreyTolerance) return false;
  }
  return true;
}

// Locks the mask: DISCARD first, plainly when the texture refuses that.
gpu::Result lockMask(gpu::LockedRect& locked) {
  gpu::Texture* mask = renderer().maskTexture;
  if (!mask) return gpu::kInvalidCall;
  const gpu::Result e = mask->lockRect(0, locked, nullptr, gpu::kLockDiscard);
  if (!gpu::failed(e)) return e;
  return mask->lockRect(0, locked, nullptr, 0);
}

// The grey value of every pixel into all three colour channels, so that the shader (red) and the
// CPU version (blue) read the same value.
void fillMask(const Image& image, const gpu::LockedRect& locked) {
  const TransitionSize size = transitionSize();
  const int32_t w = std::min(image.width, size.w), h = std::min(image.height, size.h);
  auto* base = static_cast<uint8_t*>(locked.bits);
  for (int32_t y = 0; y < h; ++y) {
    const uint32_t* from = image.pixels + static_cast<size_t>(y) * static_cast<size_t>(image.width);
    uint8_t* row = base + static_cast<size_t>(y) * static_cast<size_t>(locked.pitch);
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t grey = from[x] & 0xFF;
      const uint32_t argb = 0xFF000000u | (grey << 16) | (grey << 8) | grey;
      if (sixteenBitMask()) {
        const uint16_t texel = gpu::toA4R4G4B4(argb);
        std::memcpy(row + x * 2, &texel, 2);
      } else {
        std::memcpy(row + x * 4, &argb, 4);
      }
    }
  }
}

struct RuleVertex {
  float x, y, z, rhw, u0, v0, u1, v1;
};

void drawRuleQuad() {
  const TransitionSize size = transitionSize();
  const float right = static_cast<float>(size.w) - 0.5f, bottom = static_cast<float>(size.h) - 0.5f;
  const RuleVertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0, 0, 0},
                              {right, -0.5f, 0, 1, 1, 0, 1, 0},
                              {-0.5f, bottom, 0, 1, 0, 1, 0, 1},
                              {right, bottom, 0, 1, 1, 1, 1, 1}};
  gpu::Device* d = renderer().device;
  d->setFVF(gpu::kFvfXyzRhw | gpu::fvfTex(2));
  pointSampling(d, 0);
  pointSampling(d, 1);
  d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, quad, sizeof(RuleVertex));
  d->setTexture(0, nullptr);
  d->setTexture(1, nullptr);
}

void alphaBlending(gpu::Device* d) {
  d->setRenderState(gpu::rs::AlphaBlendEnable, 1);
  d->setRenderState(gpu::rs::SeparateAlphaBlendEnable, 0);
  d->setRenderState(gpu::rs::BlendOp, gpu::blendop::Add);
  d->setRenderState(gpu::rs::SrcBlend, gpu::blend::SrcAlpha);
  d->setRenderState(gpu::rs::DestBlend, gpu::blend::InvSrcAlpha);
  d->setTextureStageState(1, gpu::tss::ColorOp, gpu::top::Disable);
}

// The CPU version's alpha for every texel of the locked mask.
void rewriteMaskAlpha(const gpu::LockedRect& locked, int32_t elapsed, int32_t duration, int32_t easing) {
  const TransitionSize size = transitionSize();
  const int32_t softness = transitionState().softness;
  auto* base = static_cast<uint8_t*>(locked.bits);
  if (sixteenBitMask()) {
    const int32_t s4 = softness >> 4;
    // An overshooting curve is held inside the table.
    const int32_t pos = std::clamp(progress(s4 + 15, elapsed, duration, easing), 0, s4 + 15);
    const uint8_t* segment = ruleTables().alpha16.data() + static_cast<size_t>(s4) * kEntries16 + pos + 15;
    for (int32_t y = 0; y < size.h; ++y) {
      uint8_t* row = base + static_cast<size_t>(y) * static_cast<size_t>(locked.pitch);
      for (int32_t x = 0; x < size.w; ++x) {
        uint8_t* texel = row + x * 2;  // low byte green-blue, high byte alpha-red
        texel[1] = static_cast<uint8_t>((texel[1] & 0x0F) | segment[-(texel[0] & 0x0F)]);
      }
    }
    return;
  }
  const int32_t pos = std::clamp(progress(softness + 255, elapsed, duration, easing), 0, softness + 255);
  const uint8_t* segment = ruleTables().alpha32.data() + static_cast<size_t>(softness) * kEntries32 + pos + 255;
  for (int32_t y = 0; y < size.h; ++y) {
    uint8_t* row = base + static_cast<size_t>(y) * static_cast<size_t>(locked.pitch);
    for (int32_t x = 0; x < size.w; ++x) row[x * 4 + 3] = segment[-row[x * 4]];
  }
}

}  // namespace

uint8_t ruleAlpha32(int32_t softness, int32_t pos, int32_t maskValue) {
  const int32_t s = std::clamp(softness, 0, kSegments32 - 1);
  const int32_t k = std::clamp(pos, 0, s + 255) - std::clamp(maskValue, 0, 255) + 255;
  return ruleTables().alpha32[static_cast<size_t>(s * kEntries32 + k)];
}

bool prepareRule(const std::string& name) {
  Image* picture = loadSpritePictureFile(name);
  if (!picture) return false;
  if (!isGrey(*picture)) {
    errorc(ReportText().gbk(name).ascii(kNotGrey), true);
    freeImage(picture);
    return false;
  }
  const TransitionSize size = transitionSize();
  if ((picture->width != size.w || picture->height != size.h) && resizeImage2(&picture, size.w, size.h, 1, 2, 1) == 0) {
    freeImage(picture);
    return false;
  }
  gpu::LockedRect locked;
  if (const gpu::Result e = lockMask(locked); gpu::failed(e)) {
    deviceScriptError("StageStart LockRect ", e);
    freeImage(picture);
    return false;
  }
  fillMask(*picture, locked);
  freeImage(picture);
  if (const gpu::Result e = renderer().maskTexture->unlockRect(0); gpu::failed(e)) {
    deviceScriptError("StageStart UnlockRect ", e);
    return false;
  }
  ruleTables();  // made before the first frame, not during it
  return true;
}

void ruleSceneShader(int32_t elapsed, int32_t duration, int32_t easing) {
  RendererState& r = renderer();
  gpu::Device* d = r.device;
  if (!targetRenderSurface("SetRenderTarget Shader 1 ")) return;
  drawAfterPicture();
  if (!targetFrame("SetRenderTarget Shader 2 ")) return;
  drawBeforePicture();
  alphaBlending(d);
  const int32_t softness = transitionState().softness;
  // Softness 0 is the hard edge of one grey step, as in the CPU version's table.
  const float constants[8] = {255.0f / static_cast<float>(std::max(softness, 1)), 0, 0, 0,
                              progressF(softness + 255, elapsed, duration, easing) / 255.0f, 0, 0, 0};
  d->setPixelShaderConstantF(0, constants, 2);
  d->setPixelShader(r.shaders[kMaskFadeShader]);
  d->setTextureStageState(0, gpu::tss::TexCoordIndex, 0);
  d->setTextureStageState(1, gpu::tss::TexCoordIndex, 1);
  d->setTexture(0, r.renderTexture);
  d->setTexture(1, r.maskTexture);
  drawRuleQuad();
  d->setPixelShader(nullptr);
}

void ruleSceneCpu(int32_t elapsed, int32_t duration, int32_t easing) {
  RendererState& r = renderer();
  gpu::Device* d = r.device;
  if (!targetRenderSurface("SetRenderTarget Stage 1 ")) return;
  drawAfterPicture();
  if (!targetFrame("SetRenderTarget Stage 2 ")) return;
  drawBeforePicture();
  alphaBlending(d);
  gpu::LockedRect locked;
  if (const gpu::Result e = lockMask(locked); gpu::failed(e)) {
    deviceScriptError("StageTransition LockRect ", e);
    return;
  }
  rewriteMaskAlpha(locked, elapsed, duration, easing);
  if (const gpu::Result e = r.maskTexture->unlockRect(0); gpu::failed(e)) {
    deviceScriptError("StageTransition UnlockRect ", e);
    return;
  }
  // Colour from the after picture on stage 1, alpha from the mask on stage 0.
  d->setPixelShader(nullptr);
  d->setTextureStageState(0, gpu::tss::ColorOp, gpu::top::SelectArg1);
  d->setTextureStageState(0, gpu::tss::ColorArg1, gpu::ta::Texture);
  d->setTextureStageState(0, gpu::tss::AlphaOp, gpu::top::SelectArg1);
  d->setTextureStageState(0, gpu::tss::AlphaArg1, gpu::ta::Texture);
  d->setTextureStageState(0, gpu::tss::TexCoordIndex, 0);
  d->setTextureStageState(1, gpu::tss::ColorOp, gpu::top::SelectArg1);
  d->setTextureStageState(1, gpu::tss::ColorArg1, gpu::ta::Texture);
  d->setTextureStageState(1, gpu::tss::ColorArg2, gpu::ta::Diffuse);
  d->setTextureStageState(1, gpu::tss::AlphaOp, gpu::top::SelectArg1);
  d->setTextureStageState(1, gpu::tss::AlphaArg1, gpu::ta::Current);
  d->setTextureStageState(1, gpu::tss::TexCoordIndex, 1);
  d->setTexture(0, r.maskTexture);
  d->setTexture(1, r.renderTexture);
  drawRuleQuad();
  d->setTextureStageState(1, gpu::tss::ColorOp, gpu::top::Disable);
  d->setTextureStageState(1, gpu::tss::AlphaOp, gpu::top::Disable);
}

}  // namespace vellum
