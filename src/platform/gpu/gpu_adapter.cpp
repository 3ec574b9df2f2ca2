// The adapter object: what the GL implementation can do, read once from a probe context on a
// hidden window, and device creation.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gpu/gl_context.h"
#include "platform/gpu/gl_functions.h"
#include "platform/gpu/gpu.h"
#include "platform/gpu/gpu_faults.h"

namespace vellum::gpu {

GpuFaults& gpuFaults() {
  static GpuFaults faults;
  return faults;
}

struct Gpu::Probe {
  bool usable = false;
  std::string renderer, vendor, version;
  int maxTextureSize = 0, maxTextureUnits = 0, maxVertexUniforms = 0, maxVertexTextureUnits = 0;
  int maxSamples = 0, maxDrawBuffers = 0;
  bool mirrorOnce = false;
  bool renders565 = false;
};

namespace {

bool hasExtension(const char* name) {
  GlFunctions& g = gl();
  GLint count = 0;
  g.GetIntegerv(GL_NUM_EXTENSIONS, &count);
  for (GLint i = 0; i < count; ++i) {
    const auto* e = reinterpret_cast<const char*>(g.GetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
    if (e && std::strcmp(e, name) == 0) return true;
  }
  return false;
}

// Whether GL can draw into a 16-bit 5-6-5 texture here (not every 3.3 implementation can).
bool canRender565() {
  GlFunctions& g = gl();
  GLuint texture = 0, framebuffer = 0;
  g.GenTextures(1, &texture);
  g.BindTexture(GL_TEXTURE_2D, texture);
  g.TexImage2D(GL_TEXTURE_2D, 0, GL_RGB565, 4, 4, 0, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, nullptr);
  g.GenFramebuffers(1, &framebuffer);
  g.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  g.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  const bool complete = g.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  g.BindFramebuffer(GL_FRAMEBUFFER, 0);
  g.DeleteFramebuffers(1, &framebuffer);
  g.DeleteTextures(1, &texture);
  return complete;
}

const char* text(GLenum name) {
  const auto* s = reinterpret_cast<const char*>(gl().GetString(name));
  return s ? s : "";
}

Format formatOfPixels(uint32_t sdlFormat) {
  switch (sdlFormat) {
    case SDL_PIXELFORMAT_RGB565: return Format::R5G6B5;
    case SDL_PIXELFORMAT_RGB555: return Format::X1R5G5B5;
    default: return Format::X8R8G8B8;
  }
}

}  // namespace

Gpu* Gpu::create() {
  if (gpuFaults().failCreate) return nullptr;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  return new Gpu();
}

Gpu::~Gpu() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

bool Gpu::probe() {
  if (probe_) return probe_->usable;
  probe_ = std::make_unique<Probe>();
  CurrentContextGuard keep;
  requestGlAttributes();
  SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) return false;
  SDL_GLContext context = createGlContext(window);
  if (context) {
    GlFunctions& g = gl();
    Probe& p = *probe_;
    p.usable = true;
    p.renderer = text(GL_RENDERER);
    p.vendor = text(GL_VENDOR);
    p.version = text(GL_VERSION);
    g.GetIntegerv(GL_MAX_TEXTURE_SIZE, &p.maxTextureSize);
    g.GetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &p.maxTextureUnits);
    g.GetIntegerv(GL_MAX_VERTEX_UNIFORM_VECTORS, &p.maxVertexUniforms);
    g.GetIntegerv(GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS, &p.maxVertexTextureUnits);
    g.GetIntegerv(GL_MAX_SAMPLES, &p.maxSamples);
    g.GetIntegerv(GL_MAX_DRAW_BUFFERS, &p.maxDrawBuffers);
    p.mirrorOnce = hasExtension("GL_ARB_texture_mirror_clamp_to_edge") ||
                   hasExtension("GL_EXT_texture_mirror_clamp") || hasExtension("GL_ATI_texture_mirror_once") ||
                   hasExtension("GL_EXT_texture_mirror_clamp_to_edge");
    p.renders565 = canRender565();
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
  }
  SDL_DestroyWindow(window);
  return probe_->usable;
}

bool Gpu::renders565() const { return probe_ && probe_->renders565; }

Result Gpu::getAdapterIdentifier(uint32_t adapter, AdapterIdentifier& out) {
  if (gpuFaults().adapterIdentifier != kOk) return gpuFaults().adapterIdentifier;
  if (adapter != 0) return kInvalidCall;
  if (!probe()) return kNotAvailable;
  std::snprintf(out.driver, sizeof out.driver, "OpenGL %s", probe_->version.c_str());
  std::snprintf(out.description, sizeof out.description, "%s (%s)", probe_->renderer.c_str(), probe_->vendor.c_str());
  return kOk;
}

Result Gpu::getAdapterDisplayMode(uint32_t adapter, DisplayMode& out) {
  if (gpuFaults().displayMode != kOk) return gpuFaults().displayMode;
  if (adapter != 0) return kInvalidCall;
  SDL_DisplayMode mode{};
  if (SDL_GetCurrentDisplayMode(0, &mode) != 0) return kNotAvailable;
  out.width = static_cast<uint32_t>(mode.w);
  out.height = static_cast<uint32_t>(mode.h);
  out.refreshRate = static_cast<uint32_t>(std::max(mode.refresh_rate, 0));
  out.format = formatOfPixels(mode.format);
  if (gpuFaults().displayFormat != Format::Unknown) out.format = gpuFaults().displayFormat;
  return kOk;
}

Result Gpu::getDeviceCaps(uint32_t adapter, DeviceType type, Caps& out) {
  const GpuFaults& f = gpuFaults();
  if (type == DeviceType::Hal && f.capsHal != kOk) return f.capsHal;
  if (type == DeviceType::Ref && f.capsRef != kOk) return f.capsRef;
  if (adapter != 0 || (type != DeviceType::Hal && type != DeviceType::Ref)) return kInvalidCall;
  if (!probe()) return kNotAvailable;
  const Probe& p = *probe_;
  Caps c;
  c.deviceType = type;
  // Where the scan is comes from the refresh rate (display_scan.h).
  c.caps |= caps::ReadScanline;
  c.caps2 = caps::Caps2DynamicTextures;
  c.caps3 = caps::Caps3CopyToVidmem | caps::Caps3CopyToSystemmem;
  c.presentationIntervals = kPresentIntervalImmediate | kPresentIntervalOne;
  c.devCaps = caps::DevDrawPrimTlVertex | caps::DevHwTransformAndLight;
  c.primitiveMiscCaps = caps::MiscBlendOp | caps::MiscSeparateAlphaBlend;
  const uint32_t blendCaps = caps::BlendZero | caps::BlendOne | caps::BlendSrcColor | caps::BlendInvSrcColor |
                             caps::BlendSrcAlpha | caps::BlendInvSrcAlpha | caps::BlendDestAlpha |
                             caps::BlendInvDestAlpha | caps::BlendDestColor | caps::BlendInvDestColor |
                             caps::BlendBlendFactor;
  c.srcBlendCaps = blendCaps;
  c.destBlendCaps = blendCaps;
  // Any size, any shape, full mipmap chains.
  c.textureCaps = caps::TexAlpha | caps::TexMipMap;
  const uint32_t filters = caps::FilterMinPoint | caps::FilterMinLinear | caps::FilterMipPoint |
                           caps::FilterMipLinear | caps::FilterMagPoint | caps::FilterMagLinear;
  c.textureFilterCaps = filters;
  c.textureAddressCaps = caps::AddressWrap | caps::AddressMirror | caps::AddressClamp | caps::AddressBorder;
  if (p.mirrorOnce) c.textureAddressCaps |= caps::AddressMirrorOnce;
  c.maxTextureWidth = c.maxTextureHeight = static_cast<uint32_t>(p.maxTextureSize);
  c.maxTextureRepeat = static_cast<uint32_t>(p.maxTextureSize);
  c.textureOpCaps = caps::TexOpDisable | caps::TexOpSelectArg1 | caps::TexOpSelectArg2 | caps::TexOpModulate |
                    caps::TexOpModulate2x | caps::TexOpAdd | caps::TexOpSubtract | caps::TexOpBlendCurrentAlpha;
  c.maxTextureBlendStages = kStages;
  c.maxSimultaneousTextures = static_cast<uint32_t>(std::min(p.maxTextureUnits, kSamplers));
  c.vertexShaderVersion = vertexShaderVersion(3, 0);
  c.maxVertexShaderConst = static_cast<uint32_t>(p.maxVertexUniforms);
  c.pixelShaderVersion = pixelShaderVersion(3, 0);
  c.pixelShader1xMaxValue = 65504.0f;
  c.numSimultaneousRTs = 1;
  c.stretchRectFilterCaps = caps::FilterMinPoint | caps::FilterMagPoint | caps::FilterMinLinear | caps::FilterMagLinear;
  c.vertexTextureFilterCaps = p.maxVertexTextureUnits > 0 ? (caps::FilterMinPoint | caps::FilterMagPoint) : 0;
  if (f.adjustCaps) f.adjustCaps(c);
  out = c;
  return kOk;
}

Result Gpu::checkDeviceType(uint32_t adapter, DeviceType type, Format displayFormat, Format backBufferFormat,
                            bool windowed) {
  if (adapter != 0 || (type != DeviceType::Hal && type != DeviceType::Ref)) return kInvalidCall;
  if (!probe()) return kNotAvailable;
  const GpuFaults& f = gpuFaults();
  // The window is composed by the system, so a windowed back buffer of either depth is shown on a
  // display of either depth; full screen would need the display's own format.
  if (!windowed && displayFormat != backBufferFormat) return kNotAvailable;
  switch (backBufferFormat) {
    case Format::X8R8G8B8: return f.no32BitBackBuffer ? kNotAvailable : kOk;
    case Format::R5G6B5: return f.no16BitBackBuffer ? kNotAvailable : kOk;
    default: return kNotAvailable;
  }
}

Result Gpu::checkDeviceMultiSampleType(uint32_t adapter, DeviceType type, Format format, bool windowed,
                                       uint32_t samples, uint32_t* qualityLevels) {
  (void)windowed;
  if (adapter != 0 || (type != DeviceType::Hal && type != DeviceType::Ref)) return kInvalidCall;
  if (!probe()) return kNotAvailable;
  if (format != Format::X8R8G8B8 && format != Format::R5G6B5) return kNotAvailable;
  uint32_t limit = static_cast<uint32_t>(std::max(probe_->maxSamples, 0));
  if (gpuFaults().maxMultiSamples > 0) limit = std::min(limit, gpuFaults().maxMultiSamples);
  if (samples == 1 || samples > 16 || (samples > 1 && samples > limit)) return kNotAvailable;
  if (qualityLevels) *qualityLevels = 1;
  return kOk;
}

}  // namespace vellum::gpu
