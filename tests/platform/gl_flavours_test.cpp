// The device layer on both kinds of context in one process: OpenGL 3.3 core, and OpenGL ES 3.0 (what
// WebGL2 offers: textures kept RGBA, no swizzles, no border clamp, no BGRA attributes). The same
// drawing must leave the same pixels on both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/gl_context.h"
#include "platform/gpu/gpu.h"
#include "platform/gpu/gpu_faults.h"
#include "support/gl_window.h"
#include "support/surface_pixels.h"

namespace vellum::gpu {
namespace {

struct FlavourVertex {
  float x, y, z, rhw;
  uint32_t colour;
  float u, v;
};

constexpr uint32_t kCanvasWidth = 64, kCanvasHeight = 32;

// Writes argb into a texture of the given format, converted as the engine's uploaders do.
Texture* flavourTexture(Device* device, uint32_t w, uint32_t h, Format f, const std::vector<uint32_t>& argb) {
  Texture* t = nullptr;
  EXPECT_EQ(device->createTexture(w, h, 1, 0, f, Pool::Managed, &t), kOk);
  if (!t) return nullptr;
  LockedRect r;
  EXPECT_EQ(t->lockRect(0, r, nullptr, 0), kOk);
  for (uint32_t y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(r.bits) + static_cast<size_t>(y) * r.pitch;
    auto* words = reinterpret_cast<uint16_t*>(row);
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t p = argb[y * w + x];
      switch (f) {
        case Format::A4R4G4B4: words[x] = toA4R4G4B4(p); break;
        case Format::R5G6B5: words[x] = toR5G6B5(p); break;
        case Format::A1R5G5B5:
        case Format::X1R5G5B5: words[x] = toX1R5G5B5(p); break;
        default: std::memcpy(row + x * 4, &p, 4); break;
      }
    }
  }
  EXPECT_EQ(t->unlockRect(0), kOk);
  return t;
}

std::vector<uint32_t> readSurface(Device* device, Surface* target) { return test::readSurfacePixels(device, target); }

// A quad over the rectangle with texture coordinates u0 … u1 and one colour.
void drawQuad(Device* device, float left, float top, float right, float bottom, uint32_t colour, float u0 = 0,
              float u1 = 1) {
  const FlavourVertex quad[4] = {{left - 0.5f, top - 0.5f, 0, 1, colour, u0, u0},
                                 {right - 0.5f, top - 0.5f, 0, 1, colour, u1, u0},
                                 {left - 0.5f, bottom - 0.5f, 0, 1, colour, u0, u1},
                                 {right - 0.5f, bottom - 0.5f, 0, 1, colour, u1, u1}};
  EXPECT_EQ(device->drawPrimitiveUP(Primitive::TriangleStrip, 2, quad, sizeof(FlavourVertex)), kOk);
}

void useStage(Device* device, uint32_t colourOp, uint32_t alphaOp) {
  device->setTextureStageState(0, tss::ColorOp, colourOp);
  device->setTextureStageState(0, tss::ColorArg1, ta::Texture);
  device->setTextureStageState(0, tss::ColorArg2, ta::Diffuse);
  device->setTextureStageState(0, tss::AlphaOp, alphaOp);
  device->setTextureStageState(0, tss::AlphaArg1, ta::Texture);
  device->setTextureStageState(0, tss::AlphaArg2, ta::Diffuse);
}

// What one kind of context draws: every texture format, vertex colours, blending, the border
// address mode, a pixel shader, points and lines, 16-bit and opaque targets. Empty when the
// machine has no such context.
struct Drawn {
  std::string driver;  // "OpenGL <version>"
  std::vector<uint32_t> canvas, sixteen, opaqueCopy;
};

Drawn drawWith(GlFlavour flavour) {
  Drawn drawn;
  const GlFlavour before = glFlavour();
  setGlFlavour(flavour);
  {
    test::GlWindow window(kCanvasWidth, kCanvasHeight);
    Gpu* gpu = window.get() ? Gpu::create() : nullptr;
    Device* device = nullptr;
    PresentParameters params;
    params.backBufferWidth = kCanvasWidth;
    params.backBufferHeight = kCanvasHeight;
    params.backBufferFormat = Format::X8R8G8B8;
    params.deviceWindow = window.get();
    if (gpu && !failed(gpu->createDevice(0, DeviceType::Hal, window.get(), kCreateHardwareVertexProcessing, params,
                                         &device))) {
      AdapterIdentifier identifier;
      if (gpu->getAdapterIdentifier(0, identifier) == kOk) drawn.driver = identifier.driver;
      Texture* canvasTexture = nullptr;
      EXPECT_EQ(device->createTexture(kCanvasWidth, kCanvasHeight, 1, kUsageRenderTarget, Format::A8R8G8B8,
                                      Pool::Default, &canvasTexture),
                kOk);
      Surface* canvas = nullptr;
      canvasTexture->getSurfaceLevel(0, &canvas);
      device->setRenderTarget(0, canvas);
      device->clear(kClearTarget, 0x80402010, 1, 0);
      device->setRenderState(rs::CullMode, kCullNone);
      device->setFVF(kFvfXyzRhw | kFvfDiffuse | fvfTex(1));
      device->setSamplerState(0, ss::MinFilter, texf::Point);
      device->setSamplerState(0, ss::MagFilter, texf::Point);
      device->beginScene();

      // Every format, copied as it is (colour and alpha), one 8 × 8 cell each.
      std::vector<uint32_t> colours(4 * 4);
      for (uint32_t i = 0; i < colours.size(); ++i) colours[i] = (i * 0x11000000u) | (i * 0x00100F07u) | 0x00803060u;
      const Format formats[] = {Format::A8R8G8B8, Format::X8R8G8B8, Format::A4R4G4B4,
                                Format::A1R5G5B5, Format::X1R5G5B5, Format::R5G6B5};
      useStage(device, top::SelectArg1, top::SelectArg1);
      float left = 0;
      for (Format f : formats) {
        Texture* t = flavourTexture(device, 4, 4, f, colours);
        device->setTexture(0, t);
        drawQuad(device, left, 0, left + 8, 8, 0xFFFFFFFF);
        device->setTexture(0, nullptr);
        t->release();
        left += 8;
      }
      // Vertex colours alone, and modulating a texture under alpha blending.
      useStage(device, top::SelectArg2, top::SelectArg2);
      drawQuad(device, 48, 0, 56, 8, 0xC0FF4010);
      drawQuad(device, 56, 0, 64, 8, 0x4010A0F0);
      Texture* pattern = flavourTexture(device, 4, 4, Format::A8R8G8B8, colours);
      device->setTexture(0, pattern);
      useStage(device, top::Modulate, top::Modulate);
      device->setRenderState(rs::AlphaBlendEnable, 1);
      device->setRenderState(rs::SrcBlend, blend::SrcAlpha);
      device->setRenderState(rs::DestBlend, blend::InvSrcAlpha);
      drawQuad(device, 0, 8, 16, 24, 0xE0F08040);
      device->setRenderState(rs::AlphaBlendEnable, 0);
      // The border address mode: outside 0 … 1 reads the border colour (transparent black).
      useStage(device, top::SelectArg1, top::SelectArg1);
      device->setSamplerState(0, ss::AddressU, taddress::Border);
      device->setSamplerState(0, ss::AddressV, taddress::Border);
      drawQuad(device, 16, 8, 32, 24, 0xFFFFFFFF, -0.5f, 1.5f);
      device->setSamplerState(0, ss::AddressU, taddress::Wrap);
      device->setSamplerState(0, ss::AddressV, taddress::Wrap);
      // A pixel shader with constants.
      PixelShader* shader = nullptr;
      EXPECT_EQ(device->createPixelShader({900, "void main() { oC0 = texture(s0, t0).bgra * c[1] * v0; }"}, &shader),
                kOk);
      const float constant[4] = {1.0f, 0.5f, 0.25f, 1.0f};
      device->setPixelShaderConstantF(1, constant, 1);
      device->setPixelShader(shader);
      drawQuad(device, 32, 8, 48, 24, 0xFF80FF40);
      device->setPixelShader(nullptr);
      if (shader) shader->release();
      device->setTexture(0, nullptr);
      // Points and lines in vertex colours.
      useStage(device, top::SelectArg2, top::SelectArg2);
      const FlavourVertex marks[4] = {{50, 10, 0, 1, 0xFF00FF80, 0, 0},
                                      {60, 12, 0, 1, 0xFFFF0080, 0, 0},
                                      {49, 20, 0, 1, 0xFF2040FF, 0, 0},
                                      {62, 28, 0, 1, 0xFF2040FF, 0, 0}};
      EXPECT_EQ(device->drawPrimitiveUP(Primitive::PointList, 2, marks, sizeof(FlavourVertex)), kOk);
      EXPECT_EQ(device->drawPrimitiveUP(Primitive::LineList, 1, marks + 2, sizeof(FlavourVertex)), kOk);
      device->endScene();
      drawn.canvas = readSurface(device, canvas);

      // 16-bit targets drawn into with blending, read back through their format.
      for (Format f : {Format::R5G6B5, Format::A4R4G4B4}) {
        Texture* small = nullptr;
        EXPECT_EQ(device->createTexture(8, 8, 1, kUsageRenderTarget, f, Pool::Default, &small), kOk);
        Surface* surface = nullptr;
        small->getSurfaceLevel(0, &surface);
        device->setRenderTarget(0, surface);
        device->clear(kClearTarget, 0xC0336699, 1, 0);
        device->setTexture(0, pattern);
        useStage(device, top::Modulate, top::SelectArg1);
        device->setRenderState(rs::AlphaBlendEnable, 1);
        device->beginScene();
        drawQuad(device, 0, 0, 8, 8, 0xFFC08040);
        device->endScene();
        device->setRenderState(rs::AlphaBlendEnable, 0);
        device->setTexture(0, nullptr);
        const auto pixels = readSurface(device, surface);
        drawn.sixteen.insert(drawn.sixteen.end(), pixels.begin(), pixels.end());
        surface->release();
        small->release();
      }
      // An opaque target given a copy of one with alpha still reads opaque when sampled.
      Texture* opaque = nullptr;
      EXPECT_EQ(device->createTexture(kCanvasWidth, kCanvasHeight, 1, kUsageRenderTarget, Format::X8R8G8B8,
                                      Pool::Default, &opaque),
                kOk);
      Surface* opaqueSurface = nullptr;
      opaque->getSurfaceLevel(0, &opaqueSurface);
      EXPECT_EQ(device->stretchRect(canvas, nullptr, opaqueSurface, nullptr, texf::Point), kOk);
      device->setRenderTarget(0, canvas);
      device->clear(kClearTarget, 0x00000000, 1, 0);
      device->setTexture(0, opaque);
      useStage(device, top::SelectArg1, top::SelectArg1);
      device->beginScene();
      drawQuad(device, 0, 0, kCanvasWidth, kCanvasHeight, 0xFFFFFFFF);
      device->endScene();
      device->setTexture(0, nullptr);
      drawn.opaqueCopy = readSurface(device, canvas);
      opaqueSurface->release();
      opaque->release();
      pattern->release();
      device->setRenderTarget(0, nullptr);
      canvas->release();
      canvasTexture->release();
      device->release();
    }
    if (gpu) gpu->release();
  }
  setGlFlavour(before);
  return drawn;
}

// How many pixels differ and by how much at most in one channel, for the failure message.
std::string difference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return "sizes differ";
  size_t count = 0;
  int most = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    ++count;
    for (int shift = 0; shift < 32; shift += 8)
      most = std::max(most, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF)));
  }
  return std::to_string(count) + " pixels differ, by up to " + std::to_string(most);
}

TEST(GlFlavours, CoreAndEsContextsDrawTheSamePixels) {
  const Drawn core = drawWith(GlFlavour::Core33);
  if (core.canvas.empty()) GTEST_SKIP() << "no GL 3.3 core context here";
  const Drawn es = drawWith(GlFlavour::Es30);
  ASSERT_FALSE(es.canvas.empty()) << "no OpenGL ES 3.0 context (Mesa offers one through EGL)";
  EXPECT_EQ(core.driver.find("OpenGL ES"), std::string::npos) << core.driver;
  EXPECT_EQ(es.driver.rfind("OpenGL OpenGL ES 3", 0), 0u) << es.driver;
  EXPECT_EQ(core.canvas, es.canvas) << difference(core.canvas, es.canvas);
  EXPECT_EQ(core.sixteen, es.sixteen) << difference(core.sixteen, es.sixteen);
  EXPECT_EQ(core.opaqueCopy, es.opaqueCopy) << difference(core.opaqueCopy, es.opaqueCopy);
  // The reference itself: the first cell copies A8R8G8B8 exactly, vertex colours keep their order,
  // and the opaque copy reads alpha one.
  EXPECT_EQ(core.canvas[0], 0x00803060u);
  EXPECT_EQ(core.canvas[49], 0xC0FF4010u);
  EXPECT_EQ(core.opaqueCopy[0] >> 24, 0xFFu);
}

}  // namespace
}  // namespace vellum::gpu
