// Every shader the renderer carries compiles and links on both kinds of context: OpenGL 3.3 core and
// OpenGL ES 3.0 (WebGL2's), whose compiler is stricter (no implicit int to float, precisions).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gpu/gl_context.h"
#include "platform/gpu/gpu.h"
#include "render/shader_resources.h"
#include "support/gl_window.h"

namespace vellum::test {
namespace {

struct ShaderFlavour {
  const char* name;
  gpu::GlFlavour flavour;
};

class ShaderFlavours : public ::testing::TestWithParam<ShaderFlavour> {
 protected:
  void SetUp() override {
    before_ = gpu::glFlavour();
    gpu::setGlFlavour(GetParam().flavour);
    window_ = std::make_unique<GlWindow>(8, 8);
    gpu_ = window_->get() ? gpu::Gpu::create() : nullptr;
    if (!gpu_) GTEST_SKIP() << "no window for a GL context";
    gpu::PresentParameters params;
    params.backBufferWidth = params.backBufferHeight = 8;
    params.deviceWindow = window_->get();
    if (gpu::failed(gpu_->createDevice(0, gpu::DeviceType::Hal, window_->get(), gpu::kCreateHardwareVertexProcessing,
                                       params, &device_)))
      GTEST_SKIP() << "no " << GetParam().name << " context here";
  }
  void TearDown() override {
    if (device_) device_->release();
    if (gpu_) gpu_->release();
    window_.reset();
    gpu::setGlFlavour(before_);
  }

  gpu::GlFlavour before_ = gpu::GlFlavour::Core33;
  std::unique_ptr<GlWindow> window_;
  gpu::Gpu* gpu_ = nullptr;
  gpu::Device* device_ = nullptr;
};

TEST_P(ShaderFlavours, EveryRendererShaderCompilesAndLinks) {
  struct Vertex {
    float x, y, z, rhw;
    uint32_t colour;
    float uv[9][2];
  };
  Vertex quad[4] = {};
  const float corners[4][2] = {{0, 0}, {8, 0}, {0, 8}, {8, 8}};
  for (int i = 0; i < 4; ++i) {
    quad[i] = {corners[i][0], corners[i][1], 0, 1, 0xFFFFFFFF, {}};
  }
  device_->setFVF(gpu::kFvfXyzRhw | gpu::kFvfDiffuse | gpu::fvfTex(9));
  device_->setRenderState(gpu::rs::CullMode, gpu::kCullNone);
  int found = 0;
  for (int id = 100; id < 200; ++id) {
    const char* source = shaderResource(id);
    if (!source) continue;
    ++found;
    gpu::PixelShader* shader = nullptr;
    ASSERT_EQ(device_->createPixelShader({id, source}, &shader), gpu::kOk) << "shader " << id << " does not compile";
    device_->setPixelShader(shader);
    device_->beginScene();
    // Linking happens at the first draw.
    EXPECT_EQ(device_->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, quad, sizeof(Vertex)), gpu::kOk)
        << "shader " << id << " does not link";
    device_->endScene();
    device_->setPixelShader(nullptr);
    shader->release();
  }
  EXPECT_GE(found, 12);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ShaderFlavours,
                         ::testing::Values(ShaderFlavour{"Core33", gpu::GlFlavour::Core33},
                                           ShaderFlavour{"Es30", gpu::GlFlavour::Es30}),
                         [](const ::testing::TestParamInfo<ShaderFlavour>& info) { return info.param.name; });

}  // namespace
}  // namespace vellum::test
