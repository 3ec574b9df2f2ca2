// The renderer core: device creation with its fallbacks and report, DeviceCaps against the
// settings, the shaders, final-pass selection, frames, loss and reset, uploads, read-back and the
// commands.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <vellum/exports.h>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/engine_state.h"
#include "render/device_caps.h"
#include "render/filter_passes.h"
#include "render/render_messages.h"
#include "render/renderer_commands.h"
#include "render/renderer_fixture.h"
#include "render/texture_reuse.h"
#include "script/builtins/plugin_libraries.h"
#include "test_paths.h"

namespace vellum::test {
namespace {

using gpu::gpuFaults;

class RendererCoreTest : public RendererTest {
 protected:
  std::string report() { return readFileBytes(game / "Information.txt"); }
  bool createPlain() { return create(displayOf(64, 48, 64, 48)); }
  bool noticed(const std::string& gbkPiece) const {
    for (const std::string& n : notices)
      if (n.find(gbkPiece) != std::string::npos) return true;
    return false;
  }
};

TEST_F(RendererCoreTest, CreationWritesTheReportAndMakesEveryFixedSurface) {
  VELLUM_REQUIRE_GL();
  settings().hardwareVertex = 1;
  ASSERT_TRUE(createPlain());
  const std::string text = report();
  EXPECT_NE(text.find("GetAdapterIdentifier\n\tDescription "), std::string::npos);
  EXPECT_NE(text.find("CheckDeviceType\n\tScreenColor D3DFMT_X8R8G8B8\nGetDeviceCaps\n\tDeviceType D3DDEVTYPE_HAL\n"),
            std::string::npos);
  EXPECT_NE(text.find("\tCaps2\n\t\tD3DCAPS2_CANMANAGERESOURCE 0\n\t\tD3DCAPS2_DYNAMICTEXTURES 1\n"), std::string::npos);
  EXPECT_NE(text.find("\tPixelShaderVersion 3.0\n"), std::string::npos);
  EXPECT_NE(text.find("D3DDEVTYPE_HAL D3DCREATE_HARDWARE_VERTEXPROCESSING D3D_OK\n"), std::string::npos);
  EXPECT_NE(text.find("Interpolation0 TextureMax0 ColorMode0 ColorBlend"), std::string::npos);
  RendererState& r = renderer();
  EXPECT_NE(r.backBuffer, nullptr);
  EXPECT_NE(r.backSurface, nullptr);
  EXPECT_NE(r.renderSurface, nullptr);
  EXPECT_NE(r.maskTexture, nullptr);
  for (gpu::PixelShader* s : r.shaders) EXPECT_NE(s, nullptr);
  EXPECT_TRUE(r.ruleShaderVersion);
  EXPECT_FLOAT_EQ(r.colourToAlpha[51], 0.2f);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(RendererCoreTest, DeviceCreationFallsBackStepByStep) {
  VELLUM_REQUIRE_GL();
  settings().hardwareVertex = 1;
  gpuFaults().createHalHardware = gpu::kNotAvailable;
  gpuFaults().createHalSoftware = gpu::kOutOfVideoMemory;
  ASSERT_TRUE(createPlain());
  const std::string text = report();
  EXPECT_NE(text.find("D3DDEVTYPE_HAL D3DCREATE_HARDWARE_VERTEXPROCESSING D3DERR_NOTAVAILABLE\n"
                      "D3DDEVTYPE_HAL D3DCREATE_SOFTWARE_VERTEXPROCESSING D3DERR_OUTOFVIDEOMEMORY\n"
                      "D3DDEVTYPE_REF D3DCREATE_SOFTWARE_VERTEXPROCESSING D3D_OK\n"),
            std::string::npos);
  shutdownRenderer();
  gpuFaults().createRef = gpu::kInvalidCall;
  EXPECT_FALSE(createPlain());
  EXPECT_TRUE(reports.anyBoxContains("CreateDevice D3DERR_INVALIDCALL"));
  EXPECT_FALSE(rendererReady());
}

TEST_F(RendererCoreTest, EachEarlyStepFailsWithItsMessage) {
  VELLUM_REQUIRE_GL();
  struct Case {
    std::function<void()> fault;
    const char* message;
  };
  const Case cases[] = {
      {[] { gpuFaults().failCreate = true; }, "Direct3DCreate9"},
      {[] { gpuFaults().adapterIdentifier = gpu::kNotAvailable; }, "GetAdapterIdentifier D3DERR_NOTAVAILABLE"},
      {[] { gpuFaults().displayMode = gpu::kInvalidCall; }, "GetAdapterDisplayMode D3DERR_INVALIDCALL"},
      {[] { gpuFaults().capsHal = gpuFaults().capsRef = gpu::kNotAvailable; }, "GetDeviceCaps D3DERR_NOTAVAILABLE"},
      {[] { gpuFaults().no32BitBackBuffer = true; }, "CheckDeviceType 32bit D3DERR_NOTAVAILABLE"},
      {[] { gpuFaults().failShaderId = 104; }, "CreatePixelShader g_pQuadShader D3DERR_INVALIDCALL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    gpu::clearGpuFaults();
    reports.clear();
    c.fault();
    EXPECT_FALSE(createPlain());
    EXPECT_TRUE(reports.anyBoxContains(c.message));
    shutdownRenderer();
  }
}

TEST_F(RendererCoreTest, ColourModeFallsBackWithItsDialog) {
  VELLUM_REQUIRE_GL();
  settings().colorMode = 1;
  gpuFaults().no16BitBackBuffer = true;
  gpuFaults().displayFormat = gpu::Format::X8R8G8B8;
  ASSERT_TRUE(createPlain());
  EXPECT_TRUE(noticed(render_messages::kSixteenBitUnavailable));
  EXPECT_EQ(settings().colorMode, 0);
  shutdownRenderer();
  gpu::clearGpuFaults();
  settings().colorMode = 1;
  ASSERT_TRUE(createPlain());
  EXPECT_TRUE(renderer().sixteenBit);
  EXPECT_EQ(renderer().textureFormat, gpu::Format::A4R4G4B4);
  EXPECT_NE(report().find("\tScreenColor D3DFMT_R5G6B5\n"), std::string::npos);
}

TEST_F(RendererCoreTest, DeviceCapsAdjustTheSettings) {
  gpu::Caps c;
  c.caps = 0;
  c.textureCaps = gpu::caps::TexPow2 | gpu::caps::TexMipMap;
  c.maxTextureWidth = c.maxTextureHeight = 2048;
  c.pixelShaderVersion = gpu::pixelShaderVersion(0, 0);
  c.stretchRectFilterCaps = gpu::caps::FilterMinPoint | gpu::caps::FilterMagPoint;
  EngineSettings& s = settings();
  s.vSyncWait = 2;
  s.colorBlend = 1;
  s.textureMax = -1;
  s.pixelShader = 1;
  s.mipMap = 1;
  const DeviceCaps d = deriveDeviceCaps(c);
  EXPECT_TRUE(noticed(render_messages::kSoftwareSyncUnavailable));
  EXPECT_EQ(s.vSyncWait, 1);
  EXPECT_EQ(s.colorBlend, 0) << "no blend factor";
  EXPECT_EQ(s.textureMax, 256) << "power-of-two textures required";
  EXPECT_EQ(d.textureMax, 256);
  EXPECT_TRUE(d.pow2);
  EXPECT_FALSE(d.mipMap) << "not with power-of-two textures";
  EXPECT_EQ(s.pixelShader, 0);
  EXPECT_EQ(d.pixelShaderMajor, 0);
  EXPECT_TRUE(d.pointStretch);
  EXPECT_FALSE(d.linearStretch);

  c.textureCaps = gpu::caps::TexMipMap;
  c.srcBlendCaps = c.destBlendCaps = gpu::caps::BlendBlendFactor;
  s.textureMax = -1;
  s.colorBlend = 1;
  const DeviceCaps e = deriveDeviceCaps(c);
  EXPECT_EQ(s.textureMax, 0);
  EXPECT_EQ(e.textureMax, 2048) << "the device's maximum";
  EXPECT_EQ(s.colorBlend, 1);
  EXPECT_TRUE(e.mipMap);
}

TEST_F(RendererCoreTest, FilterWithoutItsShaderModelFallsBackToBiLinear) {
  VELLUM_REQUIRE_GL();
  settings().interpolation = 5;
  gpuFaults().adjustCaps = [](gpu::Caps& c) { c.pixelShaderVersion = gpu::pixelShaderVersion(1, 4); };
  ASSERT_TRUE(create(displayOf(32, 24, 64, 48)));
  EXPECT_TRUE(noticed(std::string(render_messages::kFilterUnavailableBefore) + "BiQuad" +
                      render_messages::kFilterUnavailableAfter));
  EXPECT_EQ(settings().interpolation, 2);
  EXPECT_EQ(renderer().shaders[kQuadShader], nullptr);
  EXPECT_FALSE(renderer().ruleShaderVersion);
  shutdownRenderer();
  // Lanczos2 needs model 3.
  notices.clear();
  settings().interpolation = 7;
  gpuFaults().adjustCaps = [](gpu::Caps& c) { c.pixelShaderVersion = gpu::pixelShaderVersion(2, 0); };
  ASSERT_TRUE(create(displayOf(32, 24, 64, 48)));
  EXPECT_TRUE(noticed("Lanczos2"));
  EXPECT_NE(renderer().shaders[kQuadShader], nullptr);
  EXPECT_EQ(renderer().shaders[kLanczos2Shader], nullptr);
}

TEST_F(RendererCoreTest, FinalPassFollowsFilterWindowAndDisplayMode) {
  VELLUM_REQUIRE_GL();
  settings().interpolation = 6;
  ASSERT_TRUE(create(displayOf(32, 24, 64, 48)));
  RendererState& r = renderer();
  EXPECT_EQ(r.pass, FramePass::Shader);
  EXPECT_EQ(r.frameTarget, r.backSurface);
  EXPECT_EQ(r.presentSource->right, 64);
  EXPECT_FALSE(r.presentDestination.has_value());
  EXPECT_EQ(r.params.backBufferWidth, 64u) << "the monitor's size";

  RendererDisplay d = displayOf(32, 24, 32, 24);
  d.monitorW = 64;
  d.monitorH = 48;
  setRendererDisplay(d);
  selectFinalPass();
  EXPECT_EQ(r.pass, FramePass::Plain) << "client as wide as the render size";

  settings().fullScreen = 1;
  settings().fullMode = 2;
  d.dest[2] = {16, 12, 48, 36};
  setRendererDisplay(d);
  selectFinalPass();
  EXPECT_EQ(r.pass, FramePass::Plain);
  EXPECT_EQ(r.presentDestination->left, 16);
  EXPECT_FLOAT_EQ(r.finalQuad[0].x, 15.5f);
  settings().fullMode = 3;
  selectFinalPass();
  EXPECT_EQ(r.pass, FramePass::Shader);
  settings().fullMode = 0;
  selectFinalPass();
  EXPECT_EQ(r.pass, FramePass::Direct);
  EXPECT_EQ(r.frameTarget, r.backBuffer);

  settings().interpolation = 0;
  settings().fullMode = 3;
  d.dest[3] = {4, 0, 60, 48};
  setRendererDisplay(d);
  selectFinalPass();
  EXPECT_EQ(r.pass, FramePass::Direct);
  EXPECT_EQ(r.presentDestination->left, 4);
  EXPECT_EQ(r.presentSource->right, 32);
}

TEST_F(RendererCoreTest, LostDeviceRecoversAndTellsThePlugIns) {
  VELLUM_REQUIRE_GL();
  ASSERT_TRUE(loadPluginLibrary(VELLUM_DEVICE_PLUGIN_PATH));
  auto counts = reinterpret_cast<void (*)(int*, int*)>(dlsym(pluginLibraries().front().handle, "device_plugin_counts"));
  ASSERT_NE(counts, nullptr);
  int lost0 = 0, reset0 = 0;
  ASSERT_TRUE(createPlain());
  counts(&lost0, &reset0);
  int sprites = 0;
  sceneCallbacks().releaseSpriteTargets = [&] { --sprites; };
  sceneCallbacks().recreateSpriteTargets = [&] { ++sprites; };

  gpuFaults().loseDevice = true;
  gpuFaults().stayLost = true;
  EXPECT_TRUE(runFrame(0, 0, 0, 0)) << "lost: the frame still succeeds";
  EXPECT_TRUE(runFrame(0, 0, 0, 0));
  EXPECT_NE(renderer().backBuffer, nullptr) << "nothing released while the device stays lost";
  gpuFaults().stayLost = false;
  EXPECT_TRUE(runFrame(0, 0, 0, 0));
  int lost = 0, reset = 0;
  counts(&lost, &reset);
  EXPECT_EQ(lost, lost0 + 1);
  EXPECT_EQ(reset, reset0 + 1);
  EXPECT_EQ(sprites, 0) << "sprite targets released and made again";
  EXPECT_NE(renderer().backSurface, nullptr);
  EXPECT_TRUE(runFrame(0, 0, 0, 0));
  EXPECT_EQ(engine().quitFlag, 0);
  freeAllPluginLibraries();
}

TEST_F(RendererCoreTest, ResetAndPresentFailuresEndTheProgram) {
  VELLUM_REQUIRE_GL();
  ASSERT_TRUE(createPlain());
  gpuFaults().loseDevice = true;
  gpuFaults().reset = gpu::kOutOfVideoMemory;
  EXPECT_FALSE(runFrame(0, 0, 0, 0));
  EXPECT_TRUE(reports.anyBoxContains("DeviceReset D3DERR_OUTOFVIDEOMEMORY"));
  EXPECT_EQ(engine().quitFlag, 1);
  gpu::clearGpuFaults();
  shutdownRenderer();
  engine().quitFlag = 0;
  ASSERT_TRUE(createPlain());
  gpuFaults().present = gpu::kDriverInternalError;
  EXPECT_FALSE(runFrame(0, 0, 0, 0));
  EXPECT_TRUE(reports.anyBoxContains("DeviceReset2 D3DERR_DRIVERINTERNALERROR"));
  EXPECT_EQ(engine().quitFlag, 1);
}

TEST_F(RendererCoreTest, ScreenChangeAndMultisampling) {
  VELLUM_REQUIRE_GL();
  ASSERT_TRUE(createPlain());
  settings().vSyncWait = 3;
  ASSERT_TRUE(screenChange());
  EXPECT_EQ(renderer().params.presentationInterval, gpu::kPresentIntervalOne);
  gpuFaults().maxMultiSamples = 1;
  EXPECT_TRUE(changeMultiSample(4));
  EXPECT_EQ(multiSampleType(), 0u) << "a count the device cannot do leaves everything";
  gpuFaults().maxMultiSamples = 2;
  EXPECT_TRUE(changeMultiSample(8));
  EXPECT_EQ(multiSampleType(), 2u) << "the largest supported count below";
  EXPECT_TRUE(runFrame(0, 0, 0, 0));
  EXPECT_TRUE(changeMultiSample(0));
  EXPECT_EQ(multiSampleType(), 0u);
  gpuFaults().reset = gpu::kNotAvailable;
  EXPECT_FALSE(screenChange());
  EXPECT_TRUE(reports.anyBoxContains("Screen Change D3DERR_NOTAVAILABLE"));
  EXPECT_EQ(engine().quitFlag, 1);
}

TEST_F(RendererCoreTest, UploadsConvertPadAndStayInsideTheTexture) {
  VELLUM_REQUIRE_GL();
  ASSERT_TRUE(createPlain());
  gpu::Texture* t = createTexture(8, 4, 1);
  ASSERT_NE(t, nullptr);
  const std::vector<uint32_t> image(5 * 3, 0xFF102030);
  ASSERT_TRUE(writeTexture2(t, image.data(), 0, 5, 3, 8, 4));
  gpu::LockedRect locked;
  ASSERT_EQ(t->lockRect(0, locked, nullptr, 0), gpu::kOk);
  const auto* rows = static_cast<const uint8_t*>(locked.bits);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows)[4], 0xFF102030u);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows)[5], 0u) << "the row's rest is zeroed";
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows + 3 * locked.pitch)[0], 0u) << "rows below are zeroed";
  t->unlockRect(0);

  // A picture larger than the texture is cut at the texture's edges.
  const std::vector<uint32_t> big(40 * 40, 0xFFABCDEF);
  EXPECT_TRUE(writeTexture2(t, big.data(), 0, 40, 40, 40, 40));

  // A tile: the picture's rest from the offset, at most the texture's size.
  std::vector<uint32_t> picture(10 * 6);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint32_t>(i);
  ASSERT_TRUE(writeTexture3(t, picture.data(), 0, 10, 6, 8, 4, 6, 4));
  ASSERT_EQ(t->lockRect(0, locked, nullptr, 0), gpu::kOk);
  rows = static_cast<const uint8_t*>(locked.bits);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows)[0], 46u);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows)[3], 49u);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows)[4], 0u);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows + locked.pitch)[0], 56u);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows + 2 * locked.pitch)[0], 0u);
  t->unlockRect(0);
  EXPECT_FALSE(writeTexture3(t, picture.data(), 0, 10, 6, 8, 4, 10, 0));
  EXPECT_FALSE(writeTexture3(t, picture.data(), 0, 10, 6, 8, 4, -1, 0));
  EXPECT_TRUE(reports.anyBoxContains("writeTexture3 tile -1,0"));
  t->release();

  gpu::Texture* odd = nullptr;
  ASSERT_EQ(renderer().device->createTexture(4, 4, 1, 0, gpu::Format::X1R5G5B5, gpu::Pool::Managed, &odd), gpu::kOk);
  EXPECT_FALSE(writeTexture2(odd, image.data(), 0, 4, 2, 4, 4));
  EXPECT_TRUE(reports.anyBoxContains("writeTexture2 not D3DFMT"));
  odd->release();

  gpuFaults().createTexture = gpu::kOutOfVideoMemory;
  EXPECT_EQ(createTexture(8, 8, 1), nullptr);
  EXPECT_TRUE(reports.anyBoxContains("CreateTexture D3DERR_OUTOFVIDEOMEMORY"));
}

TEST_F(RendererCoreTest, TexturesHandedBackInAReuseWindowServeTheSameSizeAndTheRestAreReleased) {
  VELLUM_REQUIRE_GL();
  ASSERT_TRUE(createPlain());
  const uint32_t red[4] = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000};
  const uint32_t blue[2] = {0xFF0000FF, 0xFF0000FF};
  gpu::Texture* small = createTexture(2, 2, 1);
  gpu::Texture* large = createTexture(4, 2, 1);
  gpu::Texture* bound = createTexture(2, 2, 1);
  ASSERT_TRUE(small && large && bound);
  ASSERT_TRUE(writeTexture2(small, red, 0, 2, 2, 2, 2));
  renderer().device->setTexture(0, bound);
  {
    const TextureReuseWindow window;
    gpu::Texture* const oldSmall = small;
    recycleTexture(small);
    recycleTexture(large);
    recycleTexture(bound);  // the device still draws with it: released, not pooled
    EXPECT_EQ(small, nullptr);
    EXPECT_EQ(renderer().reusableTextures.size(), 2u);
    gpu::Texture* mipped = createTexture(2, 2, 2);  // another level count: always a new one
    EXPECT_NE(mipped, oldSmall);
    gpu::Texture* again = createTexture(2, 2, 1);
    EXPECT_EQ(again, oldSmall);
    EXPECT_EQ(renderer().reusableTextures.size(), 1u);
    // The reused texture holds what a new one would: the upload fills its whole level.
    ASSERT_TRUE(writeTexture2(again, blue, 0, 2, 1, 2, 2));
    gpu::LockedRect locked;
    ASSERT_EQ(again->lockRect(0, locked, nullptr, 0), gpu::kOk);
    const auto* rows = static_cast<const uint8_t*>(locked.bits);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows)[1], 0xFF0000FFu);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(rows + locked.pitch)[0], 0u);
    EXPECT_EQ(again->unlockRect(0), gpu::kOk);
    mipped->release();
    again->release();
  }
  EXPECT_TRUE(renderer().reusableTextures.empty());  // closing the window released the 4x2 one
  gpu::Texture* outside = createTexture(2, 2, 1);
  recycleTexture(outside);
  EXPECT_TRUE(renderer().reusableTextures.empty());
  renderer().device->setTexture(0, nullptr);
}

TEST_F(RendererCoreTest, SixteenBitUploadsAndReadBack) {
  VELLUM_REQUIRE_GL();
  settings().colorMode = 1;
  ASSERT_TRUE(createPlain());
  gpu::Texture* t = createTexture(2, 1, 1);
  const uint32_t pixels[2] = {0xFF8FC3A7, 0x7F123456};
  ASSERT_TRUE(writeTexture2(t, pixels, 0, 2, 1, 2, 1));
  gpu::LockedRect locked;
  ASSERT_EQ(t->lockRect(0, locked, nullptr, 0), gpu::kOk);
  EXPECT_EQ(static_cast<const uint16_t*>(locked.bits)[0], 0xF8CAu);
  EXPECT_EQ(static_cast<const uint16_t*>(locked.bits)[1], 0x7135u);
  t->unlockRect(0);
  t->release();
  renderer().clearColour = 0xFF8FC3A7;
  ASSERT_TRUE(runFrame(0, 0, 0, 0));
  std::vector<uint32_t> frame(64 * 48);
  ASSERT_TRUE(getRenderImage(frame.data(), 64, 48));
  EXPECT_EQ(frame[100], 0x0088C0A0u) << "R5G6B5 widened, alpha 0";
}

TEST_F(RendererCoreTest, ReadBackCopiesTheFrameTarget) {
  VELLUM_REQUIRE_GL();
  settings().interpolation = 2;
  ASSERT_TRUE(create(displayOf(32, 24, 64, 48)));
  renderer().clearColour = 0xFF336699;
  ASSERT_TRUE(runFrame(0, 0, 0, 0));
  std::vector<uint32_t> frame(32 * 24);
  ASSERT_TRUE(getRenderImage(frame.data(), 32, 24));
  EXPECT_EQ(frame[0], 0xFF336699u);
  EXPECT_EQ(frame.back(), 0xFF336699u);
  EXPECT_FALSE(getRenderImage(frame.data(), 16, 16)) << "the size must be the frame target's";
  EXPECT_TRUE(reports.anyBoxContains("GetRenderTargetData D3DERR_INVALIDCALL"));
}

TEST_F(RendererCoreTest, SetRenderTarget2ChecksTheSpriteNumber) {
  VELLUM_REQUIRE_GL();
  ASSERT_TRUE(createPlain());
  gpu::Texture* target = nullptr;
  gpu::Surface* surface = nullptr;
  ASSERT_TRUE(createRenderTargetTexture(16, 16, &target, &surface));
  sceneCallbacks().spriteTargetSurface = [surface](int n) { return n == 5 ? surface : nullptr; };
  EXPECT_EQ(setRenderTarget2(0, 5), gpu::kOk);
  EXPECT_EQ(setRenderTarget2(0, 0), gpu::kOk) << "back to the frame target";
  EXPECT_EQ(setRenderTarget2(0, 6), gpu::kInvalidCall);
  EXPECT_TRUE(reports.anyBoxContains(std::string("6") + render_messages::kNoPicture));
  EXPECT_EQ(setRenderTarget2(0, 1000), gpu::kInvalidCall);
  EXPECT_TRUE(reports.anyBoxContains(std::string("1000") + render_messages::kNoPicture));
  EXPECT_EQ(setRenderTarget2(1, 5), gpu::kInvalidCall) << "one target index on this device";
  surface->release();
  target->release();
}

TEST_F(RendererCoreTest, DeviceErrorNames) {
  EXPECT_EQ(deviceErrorName(0), "D3D_OK");
  EXPECT_EQ(deviceErrorName(gpu::kDeviceLost), "D3DERR_DEVICELOST");
  EXPECT_EQ(deviceErrorName(static_cast<gpu::Result>(0x8876021C)), "D3DERR_WASSTILLDRAWING");
  EXPECT_EQ(deviceErrorName(static_cast<gpu::Result>(0x8007000E)), "E_OUTOFMEMORY");
  EXPECT_EQ(deviceErrorName(static_cast<gpu::Result>(0x88760999)), "D3DERR_NOTFAUND 88760999");
  EXPECT_EQ(deviceErrorName(0x12), "D3DERR_NOTFAUND 12");
}

TEST_F(RendererCoreTest, DrawCommandsRenderWhenAskedTo) {
  VELLUM_REQUIRE_GL();
  provideRendererCommands();
  ASSERT_TRUE(createPlain());
  int frames = 0, commits = 0;
  bool moving = false;
  sceneCallbacks().perFrameUpdate = [&](uint32_t) { ++frames; };
  sceneCallbacks().commitPending = [&] { ++commits; };
  sceneCallbacks().sceneActive = [&] { return moving; };
  const auto run = [](const char* name) { runNative(providedCommand(name).body, "", 0); };
  run("draw");
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(commits, 1);
  run("draw2");
  EXPECT_EQ(frames, 1) << "nothing moves, nothing asked";
  run("fresh");
  run("draw2");
  EXPECT_EQ(frames, 2);
  run("draw2");
  EXPECT_EQ(frames, 2) << "the request is used up";
  moving = true;
  run("draw2");
  EXPECT_EQ(frames, 3);
  run("draw3");
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(commits, 4);
}

TEST_F(RendererCoreTest, SceneModesCommitOrDrawTheirTransition) {
  VELLUM_REQUIRE_GL();
  ASSERT_TRUE(createPlain());
  int commits = 0, fades = 0;
  sceneCallbacks().commitPending = [&] { ++commits; };
  sceneCallbacks().transitionScenes[1] = [&](int e, int d, int) { fades += e + d; };
  ASSERT_TRUE(runFrame(1, 2, 3, 0));
  EXPECT_EQ(fades, 5);
  renderer().sceneQuad[0].colour = 0x10FFFFFF;
  ASSERT_TRUE(runFrame(6, 0, 0, 0));
  EXPECT_EQ(renderer().sceneQuad[0].colour, 0xFFFFFFFFu);
  renderer().sceneQuad[3].x = 5;
  ASSERT_TRUE(runFrame(7, 0, 0, 0));
  EXPECT_FLOAT_EQ(renderer().sceneQuad[3].x, 63.5f);
  ASSERT_TRUE(runFrame(5, 0, 0, 0));
  ASSERT_TRUE(runFrame(10, 0, 0, 0));
  EXPECT_EQ(commits, 3);
}

TEST_F(RendererCoreTest, PlugInsReachTheDeviceThroughTheExports) {
  VELLUM_REQUIRE_GL();
  VellumGpu* object = nullptr;
  VellumGpuDevice* device = nullptr;
  getDirect3D9(&object, &device);
  EXPECT_EQ(device, nullptr) << "before the screen is set up";
  ASSERT_TRUE(createPlain());
  getDirect3D9(&object, &device);
  ASSERT_NE(device, nullptr);
  EXPECT_NE(object, nullptr);
  VellumGpuTexture* t = nullptr;
  ASSERT_EQ(vellum_gpu_create_texture(device, 4, 4, 1, 0, 21, 1, &t), 0);
  const std::vector<uint32_t> pixels(16, 0xFF00FF00);
  const int four = 4;
  EXPECT_EQ(::writeTexture2(&t, pixels.data(), 0, &four, &four, &four, &four), 1);
  int32_t pitch = 0;
  void* bits = nullptr;
  EXPECT_EQ(vellum_gpu_texture_lock(t, 0, 0x2000, &pitch, &bits), static_cast<int32_t>(gpu::kInvalidCall))
      << "DISCARD is for dynamic textures";
  ASSERT_EQ(vellum_gpu_texture_lock(t, 0, 0, &pitch, &bits), 0);
  EXPECT_EQ(*static_cast<uint32_t*>(bits), 0xFF00FF00u);
  EXPECT_EQ(vellum_gpu_texture_unlock(t, 0), 0);
  vellum_gpu_texture_release(t);
}

}  // namespace
}  // namespace vellum::test
