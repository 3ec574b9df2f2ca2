// The shaders the transitions and sprites use: MaskFade, the AlphaMask forms and the Stand
// cross-fades, drawn without blending into a target that keeps alpha.
#include <gtest/gtest.h>

#include <cmath>

#include "render/renderer_fixture.h"

namespace vellum::test {
namespace {

struct TwoSetVertex {
  float x, y, z, rhw;
  uint32_t colour;
  float u0, v0, u1, v1;
};

constexpr int kSize = 16;

class SceneShaderTest : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    if (!create(displayOf(kSize, kSize, kSize, kSize))) GTEST_SKIP() << "no GL 3.3 core context here";
    ASSERT_TRUE(createRenderTargetTexture(kSize, kSize, &target_, &surface_));
    // The picture: one colour. The mask: red rising by 16 per column.
    std::vector<uint32_t> colour(kSize * kSize, 0xC0408020), mask(kSize * kSize), other(kSize * kSize, 0xFF00FF00);
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) mask[static_cast<size_t>(y * kSize + x)] = 0xFF000000u | (static_cast<uint32_t>(x * 16) << 16);
    picture_ = upload(colour);
    mask_ = upload(mask);
    other_ = upload(other);
  }

  void TearDown() override {
    releaseObject(picture_);
    releaseObject(mask_);
    releaseObject(other_);
    releaseObject(surface_);
    releaseObject(target_);
    RendererTest::TearDown();
  }

  gpu::Texture* upload(const std::vector<uint32_t>& pixels) {
    gpu::Texture* t = createTexture(kSize, kSize, 1);
    writeTexture2(t, pixels.data(), 0, kSize, kSize, kSize, kSize);
    return t;
  }

  // Draws the whole target through the shader with the two textures and constants.
  std::vector<uint32_t> draw(int slot, gpu::Texture* stage0, gpu::Texture* stage1, std::vector<std::array<float, 4>> constants,
                             uint32_t diffuse = 0xFFFFFFFF) {
    gpu::Device* d = renderer().device;
    const float e = kSize - 0.5f;
    const TwoSetVertex quad[4] = {{-0.5f, -0.5f, 0, 1, diffuse, 0, 0, 0, 0},
                                  {e, -0.5f, 0, 1, diffuse, 1, 0, 1, 0},
                                  {-0.5f, e, 0, 1, diffuse, 0, 1, 0, 1},
                                  {e, e, 0, 1, diffuse, 1, 1, 1, 1}};
    d->setRenderTarget(0, surface_);
    d->setRenderState(gpu::rs::AlphaBlendEnable, 0);
    for (uint32_t s = 0; s < 2; ++s) {
      d->setSamplerState(s, gpu::ss::MinFilter, gpu::texf::Point);
      d->setSamplerState(s, gpu::ss::MagFilter, gpu::texf::Point);
    }
    d->setTexture(0, stage0);
    d->setTexture(1, stage1);
    d->setPixelShader(renderer().shaders[static_cast<size_t>(slot)]);
    d->setPixelShaderConstantF(0, constants.front().data(), static_cast<uint32_t>(constants.size()));
    d->setFVF(gpu::kFvfXyzRhw | gpu::kFvfDiffuse | gpu::fvfTex(2));
    d->beginScene();
    EXPECT_EQ(d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, quad, sizeof(TwoSetVertex)), gpu::kOk);
    d->endScene();
    d->setPixelShader(nullptr);
    d->setTexture(0, nullptr);
    d->setTexture(1, nullptr);
    std::vector<uint32_t> out = readTarget(surface_);
    d->setRenderTarget(0, renderer().frameTarget);
    return out;
  }

  static int alphaOf(uint32_t p) { return static_cast<int>(p >> 24); }
  static int channel(uint32_t p, int c) { return static_cast<int>((p >> (8 * c)) & 0xFF); }

  gpu::Texture* target_ = nullptr;
  gpu::Surface* surface_ = nullptr;
  gpu::Texture* picture_ = nullptr;
  gpu::Texture* mask_ = nullptr;
  gpu::Texture* other_ = nullptr;
};

TEST_F(SceneShaderTest, MaskFadeShowsWhereTheProgressPassedTheMask) {
  // Softness 64, progress 100: alpha = (100/255 - red) * 255/64.
  const auto out = draw(kMaskFadeShader, picture_, mask_, {{255.0f / 64, 0, 0, 0}, {100.0f / 255, 0, 0, 0}});
  for (int x = 0; x < kSize; ++x) {
    const double want = std::clamp((100.0 - x * 16) / 64, 0.0, 1.0) * 255;
    EXPECT_NEAR(alphaOf(out[static_cast<size_t>(x)]), want, 1.0) << x;
    EXPECT_EQ(out[static_cast<size_t>(x)] & 0xFFFFFF, 0x408020u) << "the after picture's colour";
  }
  // No softness: an infinite scale leaves each pixel unchanged or changed.
  const auto hard = draw(kMaskFadeShader, picture_, mask_, {{INFINITY, 0, 0, 0}, {100.0f / 255, 0, 0, 0}});
  for (int x = 0; x < kSize; ++x) EXPECT_EQ(alphaOf(hard[static_cast<size_t>(x)]), x * 16 < 100 ? 255 : 0) << x;
}

TEST_F(SceneShaderTest, AlphaMaskScalesTheSpritesAlphaAndTreatsItsColour) {
  const std::vector<std::array<float, 4>> constants = {{2, 0, 0, 0}, {1.5f, 0, 0, 0}, {0.5f, 0.25f, 0.125f, 0}};
  const auto plain = draw(kAlphaMask1Shader, picture_, mask_, constants, 0x80FFFFFF);
  const auto times = draw(kAlphaMask1Shader4, picture_, mask_, constants);
  const auto plus = draw(kAlphaMask1Shader7, picture_, mask_, constants);
  for (int x = 0; x < kSize; ++x) {
    const double r = x * 16 / 255.0;
    const double factor = std::clamp(std::min(1.0, 1.5 - r * 2), 0.0, 1.0);
    EXPECT_NEAR(alphaOf(plain[static_cast<size_t>(x)]), 0xC0 * (128 / 255.0) * factor, 1.0) << x;
    EXPECT_NEAR(alphaOf(times[static_cast<size_t>(x)]), 0xC0 * factor, 1.0) << x;
  }
  EXPECT_NEAR(channel(times[0], 2), 0x40 * 0.5, 1.0);
  EXPECT_NEAR(channel(times[0], 1), 0x80 * 0.25, 1.0);
  EXPECT_NEAR(channel(plus[0], 2), 0x40 + 127.5, 1.0);
  EXPECT_NEAR(channel(plus[0], 0), 0x20 + 0.125 * 255, 1.0);
}

TEST_F(SceneShaderTest, StandCrossFadesTheTwoPictures) {
  const auto half = draw(kStandShader, picture_, other_, {{0.25f, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 0}});
  EXPECT_NEAR(channel(half[0], 1), 0x80 * 0.75 + 0xFF * 0.25, 1.0);
  EXPECT_NEAR(channel(half[0], 2), 0x40 * 0.75, 1.0);
  EXPECT_NEAR(alphaOf(half[0]), 0xC0 * 0.75 + 0xFF * 0.25, 1.0);
  const auto tinted = draw(kStandShader4, picture_, other_, {{1, 0, 0, 0}, {0, 0, 0, 0}, {0.5f, 0.5f, 0.5f, 0}});
  EXPECT_NEAR(channel(tinted[0], 1), 0xFF * 0.5, 1.0);
  const auto lifted = draw(kStandShader7, picture_, other_, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0.5f, 0, 0, 0}});
  EXPECT_NEAR(channel(lifted[0], 2), 0x40 + 127.5, 1.0);
}

}  // namespace
}  // namespace vellum::test
