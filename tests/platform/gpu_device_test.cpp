// The device layer on the machine's GL (llvmpipe headless): conventions, pools, locks, loss and
// reset, targets, read-back, states and the fault hook.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "platform/gpu/gpu.h"
#include "platform/gpu/gpu_faults.h"
#include "support/gl_window.h"
#include "support/surface_pixels.h"

namespace vellum::gpu {
namespace {

struct TexturedVertex {
  float x, y, z, rhw, u, v;
};

struct ColouredVertex {
  float x, y, z, rhw;
  uint32_t colour;
};

class GpuDeviceTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kSize = 32;

  void SetUp() override {
    clearGpuFaults();
    window_ = std::make_unique<test::GlWindow>(kSize, kSize);
    if (!window_->get()) GTEST_SKIP() << "no window for a GL context";
    gpu_ = Gpu::create();
    ASSERT_NE(gpu_, nullptr);
    params_.backBufferWidth = kSize;
    params_.backBufferHeight = kSize;
    params_.deviceWindow = window_->get();
    if (failed(gpu_->createDevice(0, DeviceType::Hal, window_->get(),
                                  kCreateMultithreaded | kCreateHardwareVertexProcessing, params_, &device_)))
      GTEST_SKIP() << "no GL 3.3 core context here";
  }

  void TearDown() override {
    clearGpuFaults();
    if (device_) device_->release();
    if (gpu_) gpu_->release();
  }

  Surface* backBuffer() {
    Surface* s = nullptr;
    EXPECT_EQ(device_->getBackBuffer(0, 0, &s), kOk);
    s->release();  // the device keeps its own reference
    return s;
  }

  std::vector<uint32_t> readBack(Surface* target) { return test::readSurfacePixels(device_, target); }

  Texture* managedTexture(uint32_t w, uint32_t h, Format f, const std::vector<uint32_t>& argb) {
    Texture* t = nullptr;
    EXPECT_EQ(device_->createTexture(w, h, 1, 0, f, Pool::Managed, &t), kOk);
    LockedRect r;
    EXPECT_EQ(t->lockRect(0, r, nullptr, 0), kOk);
    for (uint32_t y = 0; y < h; ++y) {
      auto* row = static_cast<uint8_t*>(r.bits) + static_cast<size_t>(y) * r.pitch;
      for (uint32_t x = 0; x < w; ++x) {
        const uint32_t p = argb[y * w + x];
        if (f == Format::A4R4G4B4) reinterpret_cast<uint16_t*>(row)[x] = toA4R4G4B4(p);
        else if (f == Format::R5G6B5) reinterpret_cast<uint16_t*>(row)[x] = toR5G6B5(p);
        else std::memcpy(row + x * 4, &p, 4);
      }
    }
    EXPECT_EQ(t->unlockRect(0), kOk);
    return t;
  }

  // Draws the texture over the whole target with point sampling and no blending.
  void copyQuad(Texture* t, float w, float h) {
    const TexturedVertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                                    {w - 0.5f, -0.5f, 0, 1, 1, 0},
                                    {-0.5f, h - 0.5f, 0, 1, 0, 1},
                                    {w - 0.5f, h - 0.5f, 0, 1, 1, 1}};
    device_->setRenderState(rs::CullMode, kCullNone);
    device_->setTextureStageState(0, tss::ColorOp, top::SelectArg1);
    device_->setTextureStageState(0, tss::AlphaOp, top::SelectArg1);
    device_->setSamplerState(0, ss::MinFilter, texf::Point);
    device_->setSamplerState(0, ss::MagFilter, texf::Point);
    device_->setTexture(0, t);
    device_->setFVF(kFvfXyzRhw | fvfTex(1));
    ASSERT_EQ(device_->beginScene(), kOk);
    ASSERT_EQ(device_->drawPrimitiveUP(Primitive::TriangleStrip, 2, quad, sizeof(TexturedVertex)), kOk);
    ASSERT_EQ(device_->endScene(), kOk);
    device_->setTexture(0, nullptr);
  }

  std::unique_ptr<test::GlWindow> window_;
  Gpu* gpu_ = nullptr;
  Device* device_ = nullptr;
  PresentParameters params_;
};

TEST_F(GpuDeviceTest, CapabilitiesComeFromTheImplementation) {
  Caps c;
  ASSERT_EQ(gpu_->getDeviceCaps(0, DeviceType::Hal, c), kOk);
  EXPECT_GE(c.maxTextureWidth, 2048u);
  EXPECT_EQ(shaderMajor(c.pixelShaderVersion), 3u);
  EXPECT_FALSE(c.textureCaps & caps::TexPow2);
  EXPECT_FALSE(c.textureCaps & caps::TexSquareOnly);
  EXPECT_TRUE(c.srcBlendCaps & caps::BlendBlendFactor);
  EXPECT_EQ(c.numSimultaneousRTs, 1u);
  AdapterIdentifier id;
  ASSERT_EQ(gpu_->getAdapterIdentifier(0, id), kOk);
  EXPECT_GT(std::strlen(id.description), 0u);
  DisplayMode mode;
  EXPECT_EQ(gpu_->getAdapterDisplayMode(0, mode), kOk);
  // The scan is timed from the refresh rate, 60 Hz where the display does not say, so software
  // vertical sync works on every display.
  EXPECT_TRUE(c.caps & caps::ReadScanline);
  RasterStatus raster;
  ASSERT_EQ(device_->getRasterStatus(0, raster), kOk);
  EXPECT_LT(raster.scanLine, mode.height);
  EXPECT_TRUE(!raster.inVBlank || raster.scanLine == 0);
}

TEST_F(GpuDeviceTest, ClearAndReadBackKeepTheColourWord) {
  ASSERT_EQ(device_->clear(kClearTarget, 0x80336699, 1.0f, 0), kOk);
  // An X8R8G8B8 target has no alpha of its own: it reads as opaque.
  for (uint32_t p : readBack(backBuffer())) ASSERT_EQ(p, 0xFF336699u);
  EXPECT_EQ(device_->clear(kClearTarget | kClearZBuffer, 0, 1.0f, 0), kInvalidCall) << "there is no depth buffer";
}

TEST_F(GpuDeviceTest, CheckerboardDrawnPixelForPixelIsExact) {
  std::vector<uint32_t> board(kSize * kSize);
  for (uint32_t y = 0; y < kSize; ++y)
    for (uint32_t x = 0; x < kSize; ++x) board[y * kSize + x] = ((x + y) & 1) ? 0xFFFFFFFF : 0xFF000000 | (y << 16) | x;
  Texture* t = managedTexture(kSize, kSize, Format::A8R8G8B8, board);
  copyQuad(t, kSize, kSize);
  EXPECT_EQ(readBack(backBuffer()), board) << "rows stay top-down and centres land on pixels";
  // Linear sampling at texel centres is exact too: no half-pixel shift anywhere.
  device_->setSamplerState(0, ss::MinFilter, texf::Linear);
  device_->setSamplerState(0, ss::MagFilter, texf::Linear);
  const TexturedVertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                                  {kSize - 0.5f, -0.5f, 0, 1, 1, 0},
                                  {-0.5f, kSize - 0.5f, 0, 1, 0, 1},
                                  {kSize - 0.5f, kSize - 0.5f, 0, 1, 1, 1}};
  device_->setTexture(0, t);
  device_->beginScene();
  device_->drawPrimitiveUP(Primitive::TriangleStrip, 2, quad, sizeof(TexturedVertex));
  device_->endScene();
  device_->setTexture(0, nullptr);
  EXPECT_EQ(readBack(backBuffer()), board);
  t->release();
}

TEST_F(GpuDeviceTest, UntransformedVerticesKeepClipSpaceUpwards) {
  struct V {
    float x, y, z;
    uint32_t colour;
  };
  // The upper half of clip space, through identity transforms.
  const V quad[4] = {{-1, 1, 0, 0xFFFF0000}, {1, 1, 0, 0xFFFF0000}, {-1, 0, 0, 0xFFFF0000}, {1, 0, 0, 0xFFFF0000}};
  device_->clear(kClearTarget, 0xFF000000, 1, 0);
  device_->setRenderState(rs::CullMode, kCullNone);
  device_->setTextureStageState(0, tss::ColorOp, top::Disable);
  device_->setFVF(kFvfXyz | kFvfDiffuse);
  device_->beginScene();
  ASSERT_EQ(device_->drawPrimitiveUP(Primitive::TriangleStrip, 2, quad, sizeof(V)), kOk);
  device_->endScene();
  const auto pixels = readBack(backBuffer());
  EXPECT_EQ(pixels[1 * kSize + 5], 0xFFFF0000u);
  EXPECT_EQ(pixels[(kSize - 2) * kSize + 5], 0xFF000000u);
}

TEST_F(GpuDeviceTest, BlendingAndTextureStagesFollowTheStates) {
  device_->clear(kClearTarget, 0xFF0000FF, 1, 0);
  const ColouredVertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0x80FF0000},
                                  {kSize - 0.5f, -0.5f, 0, 1, 0x80FF0000},
                                  {-0.5f, kSize - 0.5f, 0, 1, 0x80FF0000},
                                  {kSize - 0.5f, kSize - 0.5f, 0, 1, 0x80FF0000}};
  device_->setRenderState(rs::CullMode, kCullNone);
  device_->setRenderState(rs::AlphaBlendEnable, 1);
  device_->setRenderState(rs::SrcBlend, blend::SrcAlpha);
  device_->setRenderState(rs::DestBlend, blend::InvSrcAlpha);
  device_->setTextureStageState(0, tss::ColorOp, top::SelectArg2);
  device_->setTextureStageState(0, tss::ColorArg2, ta::Diffuse);
  device_->setTextureStageState(0, tss::AlphaOp, top::SelectArg2);
  device_->setTextureStageState(0, tss::AlphaArg2, ta::Diffuse);
  device_->setFVF(kFvfXyzRhw | kFvfDiffuse);
  device_->beginScene();
  device_->drawPrimitiveUP(Primitive::TriangleStrip, 2, quad, sizeof(ColouredVertex));
  device_->endScene();
  const uint32_t p = readBack(backBuffer())[0];
  EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 128, 1);
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 127, 1);
}

TEST_F(GpuDeviceTest, DiscardIsOnlyForDynamicTextures) {
  Texture* managed = nullptr;
  ASSERT_EQ(device_->createTexture(8, 8, 1, 0, Format::A8R8G8B8, Pool::Managed, &managed), kOk);
  LockedRect r;
  EXPECT_EQ(managed->lockRect(0, r, nullptr, kLockDiscard), kInvalidCall);
  ASSERT_EQ(managed->lockRect(0, r, nullptr, 0), kOk);
  EXPECT_EQ(managed->lockRect(0, r, nullptr, 0), kInvalidCall) << "already locked";
  static_cast<uint8_t*>(r.bits)[0] = 7;
  EXPECT_EQ(managed->unlockRect(0), kOk);
  EXPECT_EQ(managed->unlockRect(0), kInvalidCall);
  ASSERT_EQ(managed->lockRect(0, r, nullptr, 0), kOk);
  EXPECT_EQ(static_cast<uint8_t*>(r.bits)[0], 7) << "a plain lock keeps what was there";
  managed->unlockRect(0);
  managed->release();

  Texture* dynamic = nullptr;
  ASSERT_EQ(device_->createTexture(8, 8, 1, kUsageDynamic, Format::A8R8G8B8, Pool::Default, &dynamic), kOk);
  ASSERT_EQ(dynamic->lockRect(0, r, nullptr, kLockDiscard), kOk);
  EXPECT_EQ(static_cast<uint8_t*>(r.bits)[0], 0xCD) << "discarded memory holds nothing of the old contents";
  dynamic->unlockRect(0);
  dynamic->release();

  Texture* target = nullptr;
  ASSERT_EQ(device_->createTexture(8, 8, 1, kUsageRenderTarget, Format::X8R8G8B8, Pool::Default, &target), kOk);
  EXPECT_EQ(target->lockRect(0, r, nullptr, 0), kInvalidCall);
  target->release();
}

TEST_F(GpuDeviceTest, ResetNeedsEveryDefaultPoolObjectReleased) {
  Texture* target = nullptr;
  ASSERT_EQ(device_->createTexture(16, 16, 1, kUsageRenderTarget, Format::X8R8G8B8, Pool::Default, &target), kOk);
  Surface* surface = nullptr;
  ASSERT_EQ(target->getSurfaceLevel(0, &surface), kOk);
  target->release();
  Texture* managed = nullptr;
  ASSERT_EQ(device_->createTexture(8, 8, 1, 0, Format::A8R8G8B8, Pool::Managed, &managed), kOk);

  EXPECT_EQ(device_->reset(params_), kInvalidCall) << "the surface keeps its render target alive";
  surface->release();
  Surface* back = nullptr;
  device_->getBackBuffer(0, 0, &back);
  EXPECT_EQ(device_->reset(params_), kInvalidCall) << "a held back buffer blocks the reset";
  back->release();
  EXPECT_EQ(device_->reset(params_), kOk) << "managed textures may stay";
  SurfaceDesc d;
  EXPECT_EQ(managed->getLevelDesc(0, d), kOk);
  managed->release();
}

TEST_F(GpuDeviceTest, LostDeviceWaitsForResetAndComesBack) {
  EXPECT_EQ(device_->present(nullptr, nullptr), kOk);
  gpuFaults().loseDevice = true;
  gpuFaults().stayLost = true;
  EXPECT_EQ(device_->present(nullptr, nullptr), kDeviceLost);
  EXPECT_EQ(device_->testCooperativeLevel(), kDeviceLost);
  EXPECT_EQ(device_->reset(params_), kDeviceLost);
  gpuFaults().stayLost = false;
  EXPECT_EQ(device_->testCooperativeLevel(), kDeviceNotReset);
  EXPECT_EQ(device_->reset(params_), kOk);
  EXPECT_EQ(device_->testCooperativeLevel(), kOk);
  EXPECT_EQ(device_->present(nullptr, nullptr), kOk);
}

TEST_F(GpuDeviceTest, PresentChecksItsRectangles) {
  const Rect inside{0, 0, 16, 16}, window{4, 4, 20, 20}, outside{0, 0, kSize + 1, 4};
  EXPECT_EQ(device_->present(&inside, &window), kOk);
  EXPECT_EQ(device_->present(&outside, nullptr), kInvalidCall);
  device_->beginScene();
  EXPECT_EQ(device_->present(nullptr, nullptr), kInvalidCall) << "not inside a scene";
  device_->endScene();
}

TEST_F(GpuDeviceTest, WorkersWriteTexturesTheDeviceUploadsBeforeDrawing) {
  Texture* t = nullptr;
  ASSERT_EQ(device_->createTexture(kSize, kSize, 1, 0, Format::A8R8G8B8, Pool::Managed, &t), kOk);
  std::thread worker([t] {
    LockedRect r;
    if (t->lockRect(0, r, nullptr, 0) != kOk) return;
    for (uint32_t y = 0; y < kSize; ++y)
      for (uint32_t x = 0; x < kSize; ++x)
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.bits) + y * r.pitch)[x] = 0xFF00FF00;
    t->unlockRect(0);
  });
  worker.join();
  copyQuad(t, kSize, kSize);
  for (uint32_t p : readBack(backBuffer())) ASSERT_EQ(p, 0xFF00FF00u);
  t->release();
}

TEST_F(GpuDeviceTest, SixteenBitFormatsAreQuantised) {
  PresentParameters p = params_;
  p.backBufferFormat = Format::R5G6B5;
  ASSERT_EQ(device_->reset(p), kOk);
  device_->clear(kClearTarget, 0xFF8FC3A7, 1, 0);
  const auto pixels = readBack(backBuffer());
  EXPECT_EQ(pixels[0], toR5G6B5(0xFF8FC3A7));

  ASSERT_EQ(device_->reset(params_), kOk);
  std::vector<uint32_t> colour(4 * 4, 0xFF8FC3A7);
  Texture* t = managedTexture(4, 4, Format::A4R4G4B4, colour);
  copyQuad(t, kSize, kSize);
  // 0x8, 0xC, 0xA widened by repetition of the nibble.
  EXPECT_EQ(readBack(backBuffer())[0], 0xFF88CCAAu);
  t->release();
}

TEST_F(GpuDeviceTest, RenderTargetsStretchAndDrawIntoEachOther) {
  Texture* target = nullptr;
  ASSERT_EQ(device_->createTexture(8, 8, 1, kUsageRenderTarget, Format::A8R8G8B8, Pool::Default, &target), kOk);
  Surface* surface = nullptr;
  target->getSurfaceLevel(0, &surface);
  EXPECT_EQ(readBack(surface)[0], 0u) << "a new target is transparent black";
  ASSERT_EQ(device_->setRenderTarget(0, surface), kOk);
  device_->clear(kClearTarget, 0xFF204060, 1, 0);
  device_->setRenderTarget(0, backBuffer());
  const Rect half{0, 0, kSize / 2, kSize};
  ASSERT_EQ(device_->stretchRect(surface, nullptr, backBuffer(), &half, texf::Point), kOk);
  const auto pixels = readBack(backBuffer());
  EXPECT_EQ(pixels[3], 0xFF204060u);
  EXPECT_NE(pixels[kSize - 1], 0xFF204060u);
  EXPECT_EQ(device_->setRenderTarget(1, surface), kInvalidCall) << "one render target at a time";
  Texture* plain = nullptr;
  device_->createTexture(8, 8, 1, 0, Format::A8R8G8B8, Pool::Managed, &plain);
  Surface* plainSurface = nullptr;
  plain->getSurfaceLevel(0, &plainSurface);
  EXPECT_EQ(device_->setRenderTarget(0, plainSurface), kInvalidCall);
  plainSurface->release();
  plain->release();
  surface->release();
  target->release();
}

TEST_F(GpuDeviceTest, PixelShadersSeeTheirConstantsAndSamplers) {
  const char* source = "void main() { oC0 = texture(s0, t0) * c[2]; }";
  PixelShader* shader = nullptr;
  ASSERT_EQ(device_->createPixelShader({500, source}, &shader), kOk);
  PixelShader* broken = nullptr;
  EXPECT_EQ(device_->createPixelShader({501, "void main() { nonsense; }"}, &broken), kInvalidCall);
  gpuFaults().failShaderId = 500;
  PixelShader* refused = nullptr;
  EXPECT_EQ(device_->createPixelShader({500, source}, &refused), kInvalidCall);
  gpuFaults().failShaderId = 0;

  std::vector<uint32_t> white(4, 0xFFFFFFFF);
  Texture* t = managedTexture(2, 2, Format::A8R8G8B8, white);
  const float half[4] = {0.5f, 1.0f, 0.0f, 1.0f};
  device_->setPixelShaderConstantF(2, half, 1);
  device_->setPixelShader(shader);
  copyQuad(t, kSize, kSize);
  device_->setPixelShader(nullptr);
  const uint32_t p = readBack(backBuffer())[0];
  EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 128, 1);
  EXPECT_EQ((p >> 8) & 0xFF, 0xFFu);
  EXPECT_EQ(p & 0xFF, 0u);
  t->release();
  shader->release();
}

// Draws send only the uniforms and sampler settings that changed: a shader made in place of a
// released one, and a target of another size after a reset, must still get theirs.
TEST_F(GpuDeviceTest, ChangedShadersSamplersAndTargetsAreSeenByTheNextDraw) {
  const char* source = "void main() { oC0 = texture(s0, t0) * c[2]; }";
  std::vector<uint32_t> white(4, 0xFFFFFFFF);
  Texture* t = managedTexture(2, 2, Format::A8R8G8B8, white);
  const float half[4] = {0.5f, 1.0f, 0.0f, 1.0f};
  device_->setPixelShaderConstantF(2, half, 1);
  for (int id : {510, 511}) {
    SCOPED_TRACE(id);
    PixelShader* shader = nullptr;
    ASSERT_EQ(device_->createPixelShader({id, source}, &shader), kOk);
    device_->clear(kClearTarget, 0xFF000000, 1, 0);
    device_->setPixelShader(shader);
    copyQuad(t, kSize, kSize);
    device_->setPixelShader(nullptr);
    const uint32_t p = readBack(backBuffer())[kSize * kSize - 1];
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 128, 1) << "the constants reach a shader made after a release";
    EXPECT_EQ((p >> 8) & 0xFF, 0xFFu);
    shader->release();
  }
  t->release();

  // Point, then linear sampling of a black and white pair stretched over the target.
  Texture* pair = managedTexture(2, 1, Format::A8R8G8B8, {0xFF000000, 0xFFFFFFFF});
  copyQuad(pair, kSize, kSize);
  EXPECT_EQ(readBack(backBuffer())[kSize / 2 - 2], 0xFF000000u);
  device_->setSamplerState(0, ss::MagFilter, texf::Linear);
  device_->setTexture(0, pair);
  const TexturedVertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                                  {kSize - 0.5f, -0.5f, 0, 1, 1, 0},
                                  {-0.5f, kSize - 0.5f, 0, 1, 0, 1},
                                  {kSize - 0.5f, kSize - 0.5f, 0, 1, 1, 1}};
  device_->beginScene();
  device_->drawPrimitiveUP(Primitive::TriangleStrip, 2, quad, sizeof(TexturedVertex));
  device_->endScene();
  const uint32_t mixed = readBack(backBuffer())[kSize / 2 - 2] & 0xFF;
  EXPECT_GT(mixed, 0x20u) << "the filter change reaches the sampler";
  EXPECT_LT(mixed, 0xE0u);

  // A smaller back buffer: the same program maps pixels onto the new size.
  PresentParameters smaller = params_;
  smaller.backBufferWidth = smaller.backBufferHeight = kSize / 2;
  device_->setTexture(0, nullptr);
  ASSERT_EQ(device_->reset(smaller), kOk);
  device_->clear(kClearTarget, 0xFF0000FF, 1, 0);
  copyQuad(pair, kSize / 2, kSize / 2);
  const auto pixels = readBack(backBuffer());
  ASSERT_EQ(pixels.size(), static_cast<size_t>(kSize * kSize / 4));
  EXPECT_EQ(pixels[0], 0xFF000000u);
  EXPECT_EQ(pixels.back(), 0xFFFFFFFFu) << "the whole smaller target is covered";
  pair->release();
}

// A texel copy puts the texels where a point-sampled quad would, clipped to the target, and is
// refused where a copy would not give the drawn pixels.
TEST_F(GpuDeviceTest, CopiedTexelsLandWhereAQuadWouldDrawThem) {
  std::vector<uint32_t> texels(8 * 8);
  for (uint32_t y = 0; y < 8; ++y)
    for (uint32_t x = 0; x < 8; ++x) texels[y * 8 + x] = 0xFF000000u | (x * 30) << 16 | (y * 30) << 8 | 0x55u;
  Texture* t = managedTexture(8, 8, Format::A8R8G8B8, texels);
  device_->clear(kClearTarget, 0xFF000000, 1, 0);
  EXPECT_EQ(device_->copyTexels(t, {1, 1, 7, 7}, -2, -3), kInvalidCall) << "outside a scene";
  ASSERT_EQ(device_->beginScene(), kOk);
  EXPECT_EQ(device_->copyTexels(t, {1, 1, 7, 7}, -2, -3), kOk);
  EXPECT_EQ(device_->copyTexels(t, {0, 0, 8, 8}, kSize - 4, kSize - 2), kOk);
  EXPECT_EQ(device_->copyTexels(t, {0, 0, 9, 8}, 10, 10), kInvalidCall) << "beyond the texture";
  ASSERT_EQ(device_->endScene(), kOk);
  const auto pixels = readBack(backBuffer());
  EXPECT_EQ(pixels[0], texels[4 * 8 + 3]) << "the clipped top-left corner";
  EXPECT_EQ(pixels[2 * kSize + 3], texels[6 * 8 + 6]);
  EXPECT_EQ(pixels[2 * kSize + 4], 0xFF000000u) << "nothing beyond the copied texels";
  EXPECT_EQ(pixels[3 * kSize + 3], 0xFF000000u);
  EXPECT_EQ(pixels[(kSize - 1) * kSize + kSize - 1], texels[1 * 8 + 3]) << "the clipped bottom-right corner";
  EXPECT_EQ(pixels[(kSize - 1) * kSize + kSize - 5], 0xFF000000u);
  t->release();

  Texture* sixteen = managedTexture(4, 4, Format::A4R4G4B4, std::vector<uint32_t>(16, 0xFFFFFFFF));
  device_->beginScene();
  EXPECT_EQ(device_->copyTexels(sixteen, {0, 0, 4, 4}, 0, 0), kInvalidCall) << "16-bit texels round apart from a draw";
  device_->endScene();
  sixteen->release();
}

TEST_F(GpuDeviceTest, MultisampledBackBufferResolvesForReadBack) {
  uint32_t quality = 0;
  if (gpu_->checkDeviceMultiSampleType(0, DeviceType::Hal, Format::X8R8G8B8, true, 4, &quality) != kOk)
    GTEST_SKIP() << "no 4x multisampling here";
  EXPECT_EQ(quality, 1u);
  PresentParameters p = params_;
  p.multiSampleType = 4;
  ASSERT_EQ(device_->reset(p), kOk);
  device_->clear(kClearTarget, 0xFF112233, 1, 0);
  EXPECT_EQ(readBack(backBuffer())[5], 0xFF112233u);
  EXPECT_EQ(device_->present(nullptr, nullptr), kOk);
  gpuFaults().maxMultiSamples = 2;
  EXPECT_EQ(gpu_->checkDeviceMultiSampleType(0, DeviceType::Hal, Format::X8R8G8B8, true, 4, &quality), kNotAvailable);
}

TEST_F(GpuDeviceTest, FaultHookRefusesEachCreationStep) {
  gpuFaults().failCreate = true;
  EXPECT_EQ(Gpu::create(), nullptr);
  gpuFaults().failCreate = false;
  gpuFaults().capsHal = kNotAvailable;
  Caps c;
  EXPECT_EQ(gpu_->getDeviceCaps(0, DeviceType::Hal, c), kNotAvailable);
  EXPECT_EQ(gpu_->getDeviceCaps(0, DeviceType::Ref, c), kOk);
  gpuFaults().createHalHardware = kNotAvailable;
  Device* other = nullptr;
  PresentParameters p = params_;
  EXPECT_EQ(gpu_->createDevice(0, DeviceType::Hal, window_->get(), kCreateHardwareVertexProcessing, p, &other),
            kNotAvailable);
  EXPECT_EQ(other, nullptr);
  gpuFaults().adjustCaps = [](Caps& caps) { caps.pixelShaderVersion = pixelShaderVersion(2, 0); };
  EXPECT_EQ(gpu_->getDeviceCaps(0, DeviceType::Ref, c), kOk);
  EXPECT_EQ(shaderMajor(c.pixelShaderVersion), 2u);
}

}  // namespace
}  // namespace vellum::gpu
