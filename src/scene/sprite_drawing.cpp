#include "scene/sprite_drawing.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "base/report.h"
#include "persist/engine_settings.h"
#include "render/renderer_state.h"
#include "scene/animation_update.h"
#include "scene/screen_transform.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_mask.h"
#include "scene/sprite_table.h"
#include "scene/sprite_textures.h"
#include "scene/texel_alignment.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

using gpu::blend::InvDestColor;
using gpu::blend::InvSrcAlpha;
using gpu::blend::InvSrcColor;
using gpu::blend::One;
using gpu::blend::SrcAlpha;
using gpu::blend::SrcColor;
using gpu::blend::Zero;

constexpr uint32_t kSpriteFvf = gpu::kFvfXyz | gpu::kFvfDiffuse | gpu::fvfTex(1);
constexpr uint32_t kMaskedFvf = gpu::kFvfXyz | gpu::kFvfDiffuse | gpu::fvfTex(2);

// Texel times diffuse, for sprites that need nothing of stage 1: far cheaper per pixel than the
// general texture-stage program on a software rasteriser.
constexpr int kPlainShaderId = 200;
constexpr const char* kPlainShaderSource = "void main() { oC0 = texture(s0, t0) * v0; }\n";
gpu::PixelShader* plainShader = nullptr;
bool plainShaderTried = false;

// Whether the blend mode leaves stage 1 off.
bool stageOneFree(const SpriteProperties& p) {
  const bool colourStage = p.colourOp != 0 && renderer().caps.blendFactor && settings().colorBlend != 0;
  return !colourStage && (p.blend <= 2 || p.blend > 8 || (p.blend == 3 && renderer().caps.blendOp));
}

// The texel alone, for sprites at full opacity: the diffuse is white there, so the pixels are
// the plain shader's with a multiply less for each of them.
constexpr int kTexelShaderId = 201;
constexpr const char* kTexelShaderSource = "void main() { oC0 = texture(s0, t0); }\n";
gpu::PixelShader* texelShader = nullptr;
bool texelShaderTried = false;

// One of the sprite shaders, made on its first use; null where the device has no pixel shaders or
// refused it (it is not asked again until the shaders are released).
gpu::PixelShader* spriteShader(int id, const char* source, gpu::PixelShader*& shader, bool& tried) {
  RendererState& r = renderer();
  if (!tried && r.device && r.caps.pixelShaderMajor >= 2) {
    tried = true;
    if (gpu::failed(r.device->createPixelShader({id, source}, &shader))) shader = nullptr;
  }
  return shader;
}

gpu::PixelShader* texelSpriteShader() {
  return spriteShader(kTexelShaderId, kTexelShaderSource, texelShader, texelShaderTried);
}

// Whether every pixel the sprite draws is opaque and replaces what is below, whatever its blend
// would do: a 24-bit picture (alpha 255 everywhere) at full opacity, blended normally, with no
// colour stage. Drawing it unblended gives the same pixels.
bool opaqueSprite(const SpritePicture& picture, const SpriteProperties& p) {
  return picture.pixels && picture.pixels->bitsPerPixel == 24 && !picture.masked && !picture.canvas &&
         (p.alpha & 0xFF) == 255 && p.blend <= 1 && stageOneFree(p);
}

void releaseTargetsAndShaders() {
  releasePlainShader();
  releaseCanvasTargets();
}

void stageOne(gpu::Device* d, uint32_t op, uint32_t arg1, uint32_t arg2) {
  d->setTextureStageState(1, gpu::tss::ColorOp, op);
  d->setTextureStageState(1, gpu::tss::ColorArg1, arg1);
  d->setTextureStageState(1, gpu::tss::ColorArg2, arg2);
}

// Stage 1 of the multiply and darken modes: transparent parts turn white, which multiplies away.
void towardsWhite(gpu::Device* d) {
  d->setRenderState(gpu::rs::TextureFactor, 0xFFFFFFFF);
  stageOne(d, gpu::top::BlendCurrentAlpha, gpu::ta::Current, gpu::ta::TFactor);
}

// Stage 1 of the screen, lighten and exclusion modes: colour premultiplied by its alpha.
void premultiplied(gpu::Device* d) {
  stageOne(d, gpu::top::Modulate, gpu::ta::Current | gpu::ta::AlphaReplicate, gpu::ta::Current);
}

void setBlendMode(gpu::Device* d, int32_t mode) {
  const auto factors = [d](uint32_t src, uint32_t dest, uint32_t op) {
    d->setRenderState(gpu::rs::SrcBlend, src);
    d->setRenderState(gpu::rs::DestBlend, dest);
    d->setRenderState(gpu::rs::BlendOp, op);
  };
  stageOne(d, gpu::top::Disable, gpu::ta::Texture, gpu::ta::Current);
  d->setRenderState(gpu::rs::AlphaBlendEnable, 1);
  d->setRenderState(gpu::rs::SeparateAlphaBlendEnable, 0);
  switch (mode) {
    case 0: factors(One, Zero, gpu::blendop::Add); break;
    case 2: factors(SrcAlpha, One, gpu::blendop::Add); break;
    case 3:
      if (renderer().caps.blendOp) {
        factors(SrcAlpha, One, gpu::blendop::RevSubtract);
      } else {
        d->setRenderState(gpu::rs::TextureFactor, 0xFF000000);
        stageOne(d, gpu::top::BlendCurrentAlpha, gpu::ta::Current, gpu::ta::TFactor);
        factors(Zero, InvSrcColor, gpu::blendop::Add);
      }
      break;
    case 4:
      factors(Zero, SrcColor, gpu::blendop::Add);
      towardsWhite(d);
      break;
    case 5:
      factors(InvDestColor, One, gpu::blendop::Add);
      premultiplied(d);
      break;
    case 6:
      factors(One, One, gpu::blendop::Max);
      premultiplied(d);
      break;
    case 7:
      factors(One, One, gpu::blendop::Min);
      towardsWhite(d);
      break;
    case 8:
      factors(InvDestColor, InvSrcColor, gpu::blendop::Add);
      premultiplied(d);
      break;
    default: factors(SrcAlpha, InvSrcAlpha, gpu::blendop::Add); break;
  }
}

void setColourStage(gpu::Device* d, const SpriteProperties& p) {
  if (p.colourOp == 0 || !renderer().caps.blendFactor || settings().colorBlend == 0) return;
  d->setRenderState(gpu::rs::TextureFactor, p.colour);
  stageOne(d, p.colourOp, gpu::ta::Current, gpu::ta::TFactor);
}

// A masked picture with the shaders: the mask on stage 1 scales the alpha. Without them the
// picture is drawn whole.
bool setMaskShader(gpu::Device* d, const SpriteProperties& p) {
  const RendererState& r = renderer();
  int slot = kAlphaMask1Shader;
  if (p.colourOp == gpu::top::Modulate) slot = kAlphaMask1Shader4;
  else if (p.colourOp == gpu::top::Add) slot = kAlphaMask1Shader7;
  gpu::PixelShader* shader = r.shaders[static_cast<size_t>(slot)];
  if (!shader || r.caps.pixelShaderMajor < 2) return false;
  const std::array<float, 2> k = maskConstants(p);
  const float constants[12] = {k[0], 0, 0, 0, k[1], 0, 0, 0,
                               static_cast<float>((p.colour >> 16) & 0xFF) / 255.0f,
                               static_cast<float>((p.colour >> 8) & 0xFF) / 255.0f,
                               static_cast<float>(p.colour & 0xFF) / 255.0f,
                               static_cast<float>(p.colour >> 24) / 255.0f};
  d->setPixelShaderConstantF(0, constants, 3);
  d->setPixelShader(shader);
  return true;
}

// While a cross-fade runs the new picture (back buffer) is blended over the old one on stage 1 by
// the Stand shaders; both pictures are cut alike, so tile i of one matches tile i of the other.
const SpritePicture* crossFadePartner(Sprite& s, const SpritePicture& shown) {
  if (!s.crossFade || &shown != &s.frontImage().picture) return nullptr;
  const RendererState& r = renderer();
  const SpritePicture& next = s.backImage().picture;
  if (!r.shaders[kStandShader] || r.caps.pixelShaderMajor < 2 || next.tiles.size() != shown.tiles.size()) return nullptr;
  return &next;
}

void setStandShader(gpu::Device* d, const SpriteProperties& p, int32_t progress) {
  const RendererState& r = renderer();
  int slot = kStandShader;
  if (p.colourOp == gpu::top::Modulate) slot = kStandShader4;
  else if (p.colourOp == gpu::top::Add) slot = kStandShader7;
  gpu::PixelShader* shader = r.shaders[static_cast<size_t>(slot)];
  if (!shader) shader = r.shaders[kStandShader];
  const float constants[12] = {static_cast<float>(progress) / 256.0f, 0, 0, 0, 0, 0, 0, 0,
                               static_cast<float>((p.colour >> 16) & 0xFF) / 255.0f,
                               static_cast<float>((p.colour >> 8) & 0xFF) / 255.0f,
                               static_cast<float>(p.colour & 0xFF) / 255.0f,
                               static_cast<float>(p.colour >> 24) / 255.0f};
  d->setPixelShaderConstantF(0, constants, 3);
  d->setPixelShader(shader);
}

bool linearlyFiltered(gpu::Device* d) {
  return d->samplerState(0, gpu::ss::MinFilter) == gpu::texf::Linear &&
         d->samplerState(0, gpu::ss::MagFilter) == gpu::texf::Linear;
}

void setFilter(gpu::Device* d, uint32_t filter) {
  d->setSamplerState(0, gpu::ss::MinFilter, filter);
  d->setSamplerState(0, gpu::ss::MagFilter, filter);
}

bool targetSize(gpu::Device* d, int& width, int& height) {
  gpu::Surface* target = nullptr;
  if (gpu::failed(d->getRenderTarget(0, &target))) return false;
  gpu::SurfaceDesc desc;
  target->getDesc(desc);
  target->release();
  width = static_cast<int>(desc.width);
  height = static_cast<int>(desc.height);
  return true;
}

bool hiddenMessageLayer(const SpriteProperties& p) {
  if (!(p.flags & 1)) return false;
  const auto& shown = spriteTable().messageWindowShown;
  return shown && !shown();
}

gpu::Surface* targetSurfaceOf(int32_t n) {
  if (n < 0 || n >= kSpriteCount) return nullptr;
  SpritePicture& p = sprite(n).frontImage().picture;
  return p.canvas ? p.targetSurface : nullptr;
}

// Canvas sprites with children are drawn first, highest number first, each into its own target.
void drawCanvases() {
  RendererState& r = renderer();
  gpu::Device* d = r.device;
  const auto& lists = spriteTable().lists;
  bool drewAny = false;
  for (auto it = lists.rbegin(); it != lists.rend(); ++it) {
    const int32_t n = it->first;
    if (n <= 0 || it->second.empty()) continue;
    gpu::Surface* surface = targetSurfaceOf(n);
    if (!surface) {
      showErrorBox(ReportText("RenderTextureA ", CodePage::Gbk).number(n).ascii(" Not Found"));
      continue;
    }
    d->setRenderTarget(0, surface);
    d->clear(gpu::kClearTarget, 0, 1.0f, 0);
    const SpriteTile& t = sprite(n).frontImage().picture.tiles.front();
    const SpriteTarget target{static_cast<float>(t.textureW) / 2, static_cast<float>(t.textureH) / 2};
    drawSpriteList(n, target, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(),
                   spriteTable().afterPicture);
    drewAny = true;
  }
  if (drewAny) d->setRenderTarget(0, r.frameTarget);
}

// The screen's list is laid out in game pixels, whatever the render size.
SpriteTarget screenTarget() {
  const ScreenGeometry& g = screenGeometry();
  if (g.gameW > 0 && g.gameH > 0) return {static_cast<float>(g.gameW) / 2, static_cast<float>(g.gameH) / 2, g.scale};
  return {static_cast<float>(renderer().display.renderW) / 2, static_cast<float>(renderer().display.renderH) / 2};
}

// Whether the first sprite drawn covers the whole target with opaque pixels, unchanged by its
// blend: then clearing the target first changes nothing. Pictures of 24 bits have alpha 255
// everywhere.
bool firstSpriteCoversTarget(const SpriteTarget& target, bool afterPicture) {
  auto list = spriteTable().lists.find(0);
  if (list == spriteTable().lists.end()) return false;
  auto first = std::find_if(list->second.begin(), list->second.end(), [](const auto& entry) { return entry.first >= 0; });
  if (first == list->second.end()) return false;
  Sprite& s = sprite(first->second);
  if (s.crossFade || (afterPicture && (s.pending & ~pending::kLive))) return false;
  const SpritePicture& picture = s.frontImage().picture;
  const SpriteProperties& p = s.frontImage().props;
  if (!picture.present() || !opaqueSprite(picture, p) || hiddenMessageLayer(p)) return false;
  gpu::Device* d = renderer().device;
  int targetW = 0, targetH = 0;
  if (!targetSize(d, targetW, targetH)) return false;
  Matrix world, view, projection;
  buildSpriteMatrices(placedProperties(s, p, afterPicture), picture, target, world, view, projection);
  std::vector<TileQuad> quads;
  cellQuads(p, picture, quads);
  const SpriteTarget device{static_cast<float>(targetW) / 2, static_cast<float>(targetH) / 2};
  float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
  for (const TileQuad& q : quads) {
    // Padding beside the pixels could be filtered into the edges.
    const SpriteTile& tile = picture.tiles[static_cast<size_t>(q.tile)];
    if (!tile.texture || tile.textureW != tile.sourceW || tile.textureH != tile.sourceH) return false;
    float x[4], y[4];
    for (size_t i = 0; i < 4; ++i) projectModelPoint(world, view, projection, device, q.corners[i].x, q.corners[i].y, x[i], y[i]);
    // Each tile an upright rectangle, so that together they fill their bounds.
    if (x[0] != x[2] || x[1] != x[3] || y[0] != y[1] || y[2] != y[3]) return false;
    left = std::min({left, x[0], x[1]});
    right = std::max({right, x[0], x[1]});
    top = std::min({top, y[0], y[2]});
    bottom = std::max({bottom, y[0], y[2]});
  }
  // Every pixel centre well inside.
  return left <= -0.25f && top <= -0.25f && right >= static_cast<float>(targetW) - 0.75f &&
         bottom >= static_cast<float>(targetH) - 0.75f;
}

void drawLists(int run) {
  RendererState& r = renderer();
  if (run == 0) {
    drawCanvases();
    if (!firstSpriteCoversTarget(screenTarget(), spriteTable().afterPicture))
      r.device->clear(gpu::kClearTarget, r.clearColour, 1.0f, 0);
    drawSpriteList(0, screenTarget(), 0, std::numeric_limits<int64_t>::max(), spriteTable().afterPicture);
  } else {
    drawSpriteList(0, screenTarget(), std::numeric_limits<int64_t>::min(), -1, spriteTable().afterPicture);
  }
  r.device->setTexture(0, nullptr);
  r.device->setTexture(1, nullptr);
  stageOne(r.device, gpu::top::Disable, gpu::ta::Texture, gpu::ta::Current);
}

}  // namespace

gpu::PixelShader* plainSpriteShader() {
  return spriteShader(kPlainShaderId, kPlainShaderSource, plainShader, plainShaderTried);
}

void releasePlainShader() {
  releaseObject(plainShader);
  plainShaderTried = false;
  releaseObject(texelShader);
  texelShaderTried = false;
}

void drawSprite(int32_t n, const SpriteTarget& target, bool afterPicture) {
  Sprite& s = sprite(n);
  SpriteImage* shown = &s.frontImage();
  SpriteImage* props = shown;
  const uint32_t waiting = s.pending & ~pending::kLive;
  if (afterPicture && waiting && !s.crossFade) {
    if (waiting & pending::kDelete) return;
    // Properties alone: the front's picture with the back's properties. Otherwise the new picture.
    props = &s.backImage();
    if (waiting != pending::kProperties && s.backImage().picture.present()) shown = &s.backImage();
  }
  const SpritePicture& picture = shown->picture;
  const SpriteProperties& p = props->props;
  if (!picture.present() || (p.alpha & 0xFF) == 0 || hiddenMessageLayer(p)) return;

  gpu::Device* d = renderer().device;
  // Matrices are rebuilt only when the properties changed or the target is another size.
  SpriteImage& cache = *props;
  if (props != shown) {
    buildSpriteMatrices(placedProperties(s, p, true), picture, target, cache.world, cache.view, cache.projection);
    cache.dirty = true;
  } else if (cache.dirty || cache.matrixHalfW != target.halfW || cache.matrixHalfH != target.halfH) {
    buildSpriteMatrices(placedProperties(s, p, afterPicture), picture, target, cache.world, cache.view,
                        cache.projection);
    cache.matrixHalfW = target.halfW;
    cache.matrixHalfH = target.halfH;
    cache.dirty = false;
  }
  d->setTransform(gpu::TransformType::World, cache.world.data());
  d->setTransform(gpu::TransformType::View, cache.view.data());
  d->setTransform(gpu::TransformType::Projection, cache.projection.data());
  setBlendMode(d, p.blend);
  setColourStage(d, p);
  const SpritePicture* fadeTo = crossFadePartner(s, picture);
  if (fadeTo) setStandShader(d, p, s.crossFadeProgress);
  const bool masked = !fadeTo && picture.masked && setMaskShader(d, p);
  gpu::PixelShader* plain = nullptr;
  if (!masked && !fadeTo && stageOneFree(p)) {
    if ((p.alpha & 0xFF) == 255) plain = texelSpriteShader();
    if (!plain) plain = plainSpriteShader();
  }
  if (!masked && !fadeTo) d->setPixelShader(plain);
  const bool opaque = !fadeTo && opaqueSprite(picture, p);
  d->setFVF(masked || fadeTo ? kMaskedFvf : kSpriteFvf);
  d->setTexture(1, nullptr);
  static thread_local std::vector<TileQuad> quads;
  cellQuads(p, picture, quads);
  int targetW = 0, targetH = 0;
  const bool mayPoint = !masked && !fadeTo && picture.levels <= 1 && linearlyFiltered(d) && targetSize(d, targetW, targetH);
  // Filtering at the edges takes in edge texels only (no border colour).
  const bool clamped = d->samplerState(0, gpu::ss::AddressU) == gpu::taddress::Clamp &&
                       d->samplerState(0, gpu::ss::AddressV) == gpu::taddress::Clamp;
  bool pointed = false, blendOff = false;
  for (const TileQuad& q : quads) {
    const SpriteTile& tile = picture.tiles[static_cast<size_t>(q.tile)];
    if (!tile.texture) continue;
    // An opaque tile shown texel for pixel is copied rather than drawn.
    gpu::Rect texels;
    int32_t toX = 0, toY = 0;
    if (opaque && mayPoint &&
        texelCopyPlacement(cache.world, cache.view, cache.projection, q, tile, targetW, targetH, texels, toX, toY) &&
        !gpu::failed(d->copyTexels(tile.texture, texels, toX, toY)))
      continue;
    const bool point = mayPoint && texelsLandOnPixels(cache.world, cache.view, cache.projection, q, tile, targetW, targetH);
    if (point != pointed) setFilter(d, point ? gpu::texf::Point : gpu::texf::Linear);
    pointed = point;
    // Padding beside the pixels (transparent) could be filtered into the edges of a tile.
    const bool unblended = opaque && (point || (clamped && tile.textureW == tile.sourceW && tile.textureH == tile.sourceH));
    if (unblended != blendOff) d->setRenderState(gpu::rs::AlphaBlendEnable, unblended ? 0 : 1);
    blendOff = unblended;
    d->setTexture(0, tile.texture);
    if (masked) d->setTexture(1, tile.mask);
    if (fadeTo) d->setTexture(1, fadeTo->tiles[static_cast<size_t>(q.tile)].texture);
    d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, q.corners.data(), sizeof(SpriteVertex));
  }
  if (pointed) setFilter(d, gpu::texf::Linear);
  if (blendOff) d->setRenderState(gpu::rs::AlphaBlendEnable, 1);
  if (masked || fadeTo) d->setTexture(1, nullptr);
  if (masked || plain || fadeTo) d->setPixelShader(nullptr);
}

void drawSpriteList(int32_t parent, const SpriteTarget& target, int64_t lowKey, int64_t highKey, bool afterPicture) {
  auto list = spriteTable().lists.find(parent);
  if (list == spriteTable().lists.end()) return;
  // Texel times diffuse (the sprite's alpha) on stage 0; mirrored sprites are not culled.
  gpu::Device* d = renderer().device;
  d->setRenderState(gpu::rs::CullMode, gpu::kCullNone);
  d->setTextureStageState(0, gpu::tss::ColorOp, gpu::top::Modulate);
  d->setTextureStageState(0, gpu::tss::ColorArg1, gpu::ta::Texture);
  d->setTextureStageState(0, gpu::tss::ColorArg2, gpu::ta::Diffuse);
  d->setTextureStageState(0, gpu::tss::AlphaOp, gpu::top::Modulate);
  d->setTextureStageState(0, gpu::tss::AlphaArg1, gpu::ta::Texture);
  d->setTextureStageState(0, gpu::tss::AlphaArg2, gpu::ta::Diffuse);
  d->setTextureStageState(0, gpu::tss::TexCoordIndex, 0);
  d->setTextureStageState(1, gpu::tss::TexCoordIndex, 1);
  d->setTextureStageState(1, gpu::tss::AlphaOp, gpu::top::Disable);
  for (const auto& [key, n] : list->second) {
    if (key < lowKey || key > highKey) continue;
    drawSprite(n, target, afterPicture);
  }
}

void installSceneCallbacks() {
  SceneCallbacks& c = sceneCallbacks();
  c.drawSpriteLists = &drawLists;
  c.commitPending = [] {
    commitCamera();
    commitAllSprites();
  };
  // The per-frame update is the engine's (the frame hooks call updateAnimations with the rest).
  c.sceneActive = &animationsActive;
  c.releaseSpriteTargets = &releaseTargetsAndShaders;
  c.recreateSpriteTargets = &recreateCanvasTargets;
  c.spriteTargetSurface = &targetSurfaceOf;
}

}  // namespace vellum
