// The renderer's one instance: the device, its fixed surfaces and shaders, the final pass and the
// frame-pacing state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "platform/gpu/gpu.h"
#include "render/renderer.h"
#include "render/shader_resources.h"

namespace vellum {

struct RendererState {
  SDL_Window* window = nullptr;
  gpu::Gpu* gpu = nullptr;
  gpu::Device* device = nullptr;
  gpu::DeviceType deviceType = gpu::DeviceType::Hal;
  gpu::Caps deviceCapsRaw;
  DeviceCaps caps;
  gpu::PresentParameters params;
  bool sixteenBit = false;
  gpu::Format backBufferFormat = gpu::Format::X8R8G8B8;
  gpu::Format textureFormat = gpu::Format::A8R8G8B8;

  // The fixed surfaces.
  gpu::Surface* backBuffer = nullptr;     // g_pBackBuffer
  gpu::Texture* backTexture = nullptr;    // g_pBackTexture
  gpu::Surface* backSurface = nullptr;    // g_pBackSurface
  gpu::Texture* renderTexture = nullptr;  // g_pRenderTexture
  gpu::Surface* renderSurface = nullptr;  // g_pRenderSurface
  gpu::Texture* maskTexture = nullptr;    // g_pMaskTexture

  // Textures handed back while a reuse window is open (see texture_reuse.h), by size; each holds
  // one reference.
  std::unordered_multimap<uint64_t, gpu::Texture*> reusableTextures;
  int textureReuseDepth = 0;

  // The shaders in the order of kShaderResources; all null without pixel shaders.
  std::array<gpu::PixelShader*, kShaderResources.size()> shaders{};
  bool ruleShaderVersion = false;  // scene mode 3 uses the shader version

  // The frame.
  gpu::Surface* frameTarget = nullptr;  // not counted: one of backSurface, backBuffer
  FramePass pass = FramePass::Direct;
  int32_t filter = 0;                   // the Interpolation value whose shader the pass runs
  uint32_t plainFilter = gpu::texf::None;
  gpu::Rect finalRect{0, 0, 800, 600};
  std::optional<gpu::Rect> presentSource, presentDestination;
  std::array<QuadVertex, 4> finalQuad{};
  std::array<SceneVertex, 4> sceneQuad{};
  std::array<float, 256> colourToAlpha{};
  bool motionBlur = false;

  // Pacing.
  uint32_t lastFrame = 0;
  uint32_t carry = 0;

  // draw2 renders when something asked for it since the last draw2.
  bool refreshRequested = false;
  uint32_t clearColour = 0xFF000000;

  RendererDisplay display;
  SceneCallbacks callbacks;
  RendererNotice notice;
};

// Index of a shader in kShaderResources.
enum ShaderSlot : int {
  kSharpShader = 0, kLanczos1Shader, kQuadShader, kCubicShader, kMaskFadeShader, kAlphaMask1Shader,
  kAlphaMask1Shader4, kAlphaMask1Shader7, kStandShader, kStandShader4, kStandShader7, kLanczos2Shader,
};

// Sets the plain final quad and the scene quad to a rectangle.
void setQuadRect(std::array<QuadVertex, 4>& quad, const gpu::Rect& r);
void setSceneQuadRect(const gpu::Rect& r);

// Reports of the two channels the renderer uses: the error dialog and a script error.
void deviceErrorDialog(const std::string& gbkText, gpu::Result result);
void deviceScriptError(const std::string& gbkText, gpu::Result result);
void rendererNotice(const std::string& gbk);

// Releases a counted object and clears the pointer.
template <typename T>
void releaseObject(T*& object) {
  if (object) object->release();
  object = nullptr;
}

}  // namespace vellum
