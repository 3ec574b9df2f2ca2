// The device: creation on a window, loss and reset, present, the raster position, render targets,
// scenes, clears and the stored states.
#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/gpu/gl_backend.h"
#include "platform/gpu/gl_context.h"
#include "platform/gpu/display_scan.h"
#include "platform/gpu/gl_conventions.h"
#include "platform/gpu/gpu.h"
#include "platform/gpu/gpu_faults.h"
#include "platform/ui_overlay.h"
#include "platform/window_overlay.h"

namespace vellum::gpu {

namespace {

Result creationFault(DeviceType type, uint32_t flags) {
  const GpuFaults& f = gpuFaults();
  if (type == DeviceType::Ref) return f.createRef;
  return (flags & kCreateHardwareVertexProcessing) ? f.createHalHardware : f.createHalSoftware;
}

bool fullScreenMinimised(SDL_Window* w) {
  const uint32_t flags = SDL_GetWindowFlags(w);
  return (flags & SDL_WINDOW_FULLSCREEN) && (flags & SDL_WINDOW_MINIMIZED);
}

void identity(float m[16]) {
  std::memset(m, 0, 16 * sizeof(float));
  m[0] = m[5] = m[10] = m[15] = 1.0f;
}

}  // namespace

Result Gpu::createDevice(uint32_t adapter, DeviceType type, SDL_Window* focusWindow, uint32_t flags,
                         PresentParameters& params, Device** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (const Result fault = creationFault(type, flags); fault != kOk) return fault;
  Caps caps;
  if (const Result r = getDeviceCaps(adapter, type, caps); failed(r)) return r;
  SDL_Window* window = params.deviceWindow ? params.deviceWindow : focusWindow;
  if (!window || !params.windowed || params.backBufferCount > 1) return kInvalidCall;
  if (checkDeviceType(adapter, type, params.backBufferFormat, params.backBufferFormat, true) != kOk) return kInvalidCall;

  auto* device = new Device();
  device->window_ = window;
  device->caps_ = caps;
  device->gl_ = std::make_unique<DeviceBackend>();
  device->gl_->renders565 = renders565();
  device->gl_->owner = std::this_thread::get_id();
  device->context_ = adoptGlContext(window, static_cast<SDL_GLContext>(takeProbeContext()));
  if (!device->context_) device->context_ = createGlContext(window);
  if (!device->context_) {
    device->release();
    return kNotAvailable;
  }
  GlFunctions& g = gl();
  DeviceBackend& b = *device->gl_;
  std::string log;
  b.vertexStage = compileVertexStage(&log);
  if (b.vertexStage) b.stageProgram = linkProgram(b.vertexStage, kTextureStageProgram, &log);
  if (!b.stageProgram) {
    SDL_LogError(SDL_LOG_CATEGORY_RENDER, "texture-stage program: %s", log.c_str());
    device->release();
    return kDriverInternalError;
  }
  b.locations[b.stageProgram] = locateUniforms(b.stageProgram);
  g.GenVertexArrays(1, &b.vertexArray);
  g.BindVertexArray(b.vertexArray);
  g.GenBuffers(1, &b.vertexBuffer);
  g.GenSamplers(kSamplers, b.samplers);
  device->params_ = params;
  if (const Result r = device->createBackBuffer(); failed(r)) {
    device->release();
    return r;
  }
  device->resetStates();
  params = device->params_;
  *out = device;
  return kOk;
}

Device::~Device() {
  makeCurrent();
  flushUploads();
  dropBindings();
  if (backBuffer_) backBuffer_->release();
  backBuffer_ = nullptr;
  // What callers still hold outlives the device as empty shells.
  {
    std::lock_guard<std::mutex> hold(trackLock_);
    for (Object* o : everything_) {
      if (auto* t = dynamic_cast<Texture*>(o)) {
        releaseGlNames(t);
        t->device_ = nullptr;
      } else if (auto* s = dynamic_cast<Surface*>(o)) {
        releaseGlNames(s);
        s->device_ = nullptr;
      } else if (auto* p = dynamic_cast<PixelShader*>(o)) {
        if (p->glProgram_) gl().DeleteProgram(p->glProgram_);
        if (p->glFragment_) gl().DeleteShader(p->glFragment_);
        p->glProgram_ = p->glFragment_ = 0;
        p->device_ = nullptr;
      }
    }
    everything_.clear();
    defaultPool_.clear();
  }
  if (gl_ && context_) {
    GlFunctions& g = gl();
    flushUploads();
    // The interface drawn over this device's frames lives in its context too.
    if (SDL_GL_GetCurrentContext() == context_) {
      ui::releaseGraphics();
      releaseOverlayTarget();
    }
    if (gl_->vertexBuffer) g.DeleteBuffers(1, &gl_->vertexBuffer);
    if (gl_->vertexArray) g.DeleteVertexArrays(1, &gl_->vertexArray);
    g.DeleteSamplers(kSamplers, gl_->samplers);
    if (gl_->texelReadFramebuffer) g.DeleteFramebuffers(1, &gl_->texelReadFramebuffer);
    releaseWindowCopy(gl_->windowCopy);
    if (gl_->stageProgram) g.DeleteProgram(gl_->stageProgram);
    if (gl_->vertexStage) g.DeleteShader(gl_->vertexStage);
  }
  if (context_) {
    if (SDL_GL_GetCurrentContext() == context_) SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
  }
}

bool Device::makeCurrent() {
  if (!context_) return false;
  if (SDL_GL_GetCurrentContext() == context_) return true;
  return SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_)) == 0;
}

void Device::track(Object* o, Pool pool) {
  std::lock_guard<std::mutex> hold(trackLock_);
  everything_.push_back(o);
  if (pool == Pool::Default) defaultPool_.push_back(o);
}

void Device::untrack(Object* o, Pool pool) {
  std::lock_guard<std::mutex> hold(trackLock_);
  std::erase(everything_, o);
  if (pool == Pool::Default) std::erase(defaultPool_, o);
}

Result Device::createBackBuffer() {
  if (params_.backBufferWidth == 0 || params_.backBufferHeight == 0) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    if (params_.backBufferWidth == 0) params_.backBufferWidth = static_cast<uint32_t>(std::max(w, 1));
    if (params_.backBufferHeight == 0) params_.backBufferHeight = static_cast<uint32_t>(std::max(h, 1));
  }
  if (params_.backBufferWidth > caps_.maxTextureWidth || params_.backBufferHeight > caps_.maxTextureHeight)
    return kInvalidCall;
  GlFunctions& g = gl();
  auto* s = new Surface();
  s->device_ = this;
  s->desc_ = {params_.backBufferFormat, kUsageRenderTarget, Pool::Default, params_.backBufferWidth,
              params_.backBufferHeight};
  GlFormat f = glFormatOf(params_.backBufferFormat);
  if (f.internal == GL_RGB565 && !gl_->renders565) {
    f = glFormat8888(true);
    s->storedAs8888_ = true;
  }
  const auto w = static_cast<GLsizei>(s->desc_.width), h = static_cast<GLsizei>(s->desc_.height);
  g.GenTextures(1, &s->glTexture_);
  g.BindTexture(GL_TEXTURE_2D, s->glTexture_);
  g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  g.TexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(f.internal), w, h, 0, f.format, f.type, nullptr);
  g.GenFramebuffers(1, &s->glFramebuffer_);
  g.BindFramebuffer(GL_FRAMEBUFFER, s->glFramebuffer_);
  if (params_.multiSampleType >= 2) {
    s->samples_ = params_.multiSampleType;
    g.GenRenderbuffers(1, &s->glRenderbuffer_);
    g.BindRenderbuffer(GL_RENDERBUFFER, s->glRenderbuffer_);
    g.RenderbufferStorageMultisample(GL_RENDERBUFFER, static_cast<GLsizei>(s->samples_), f.internal, w, h);
    g.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s->glRenderbuffer_);
    g.GenFramebuffers(1, &s->glResolveFramebuffer_);
    g.BindFramebuffer(GL_FRAMEBUFFER, s->glResolveFramebuffer_);
    g.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, s->glTexture_, 0);
    g.BindFramebuffer(GL_FRAMEBUFFER, s->glFramebuffer_);
  } else {
    g.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, s->glTexture_, 0);
  }
  const bool complete = g.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (complete) {
    g.Viewport(0, 0, w, h);
    g.Disable(GL_SCISSOR_TEST);
    g.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    g.ClearColor(0, 0, 0, 1);
    g.Clear(GL_COLOR_BUFFER_BIT);
  }
  {
    std::lock_guard<std::mutex> hold(trackLock_);
    everything_.push_back(s);
  }
  backBuffer_ = s;
  if (!complete) return kOutOfVideoMemory;
  SDL_GL_SetSwapInterval(params_.presentationInterval == kPresentIntervalOne ? 1 : 0);
  return kOk;
}

void Device::dropBindings() {
  if (renderTarget_) renderTarget_->release();
  renderTarget_ = nullptr;
  for (Texture*& t : textures_) {
    if (t) t->release();
    t = nullptr;
  }
  if (shader_) shader_->release();
  shader_ = nullptr;
}

void Device::resetStates() {
  std::memset(renderStates_, 0, sizeof renderStates_);
  renderStates_[rs::CullMode] = 3;  // counter-clockwise triangles are culled
  renderStates_[rs::ZWriteEnable] = 1;
  renderStates_[rs::Lighting] = 1;
  renderStates_[rs::ColorVertex] = 1;
  renderStates_[rs::Clipping] = 1;
  renderStates_[rs::LastPixel] = 1;
  renderStates_[rs::MultisampleAntialias] = 1;
  renderStates_[rs::SrcBlend] = blend::One;
  renderStates_[rs::DestBlend] = blend::Zero;
  renderStates_[rs::BlendOp] = blendop::Add;
  renderStates_[rs::SrcBlendAlpha] = blend::One;
  renderStates_[rs::DestBlendAlpha] = blend::Zero;
  renderStates_[rs::BlendOpAlpha] = blendop::Add;
  renderStates_[rs::ColorWriteEnable] = 0xF;
  renderStates_[rs::TextureFactor] = 0xFFFFFFFF;
  renderStates_[rs::BlendFactor] = 0xFFFFFFFF;
  for (uint32_t s = 0; s < kStages; ++s) {
    std::memset(stageStates_[s], 0, sizeof stageStates_[s]);
    stageStates_[s][tss::ColorOp] = s == 0 ? top::Modulate : top::Disable;
    stageStates_[s][tss::ColorArg1] = ta::Texture;
    stageStates_[s][tss::ColorArg2] = ta::Current;
    stageStates_[s][tss::AlphaOp] = s == 0 ? top::SelectArg1 : top::Disable;
    stageStates_[s][tss::AlphaArg1] = ta::Texture;
    stageStates_[s][tss::AlphaArg2] = ta::Current;
    stageStates_[s][tss::TexCoordIndex] = s;
  }
  for (auto& sampler : samplerStates_) {
    std::memset(sampler, 0, sizeof sampler);
    sampler[ss::AddressU] = sampler[ss::AddressV] = sampler[ss::AddressW] = taddress::Wrap;
    sampler[ss::MagFilter] = sampler[ss::MinFilter] = texf::Point;
    sampler[ss::MipFilter] = texf::None;
  }
  for (auto& m : transforms_) identity(m);
  std::memset(constants_, 0, sizeof constants_);
  fvf_ = 0;
  sceneDepth_ = 0;
  dropBindings();
  backBuffer_->addRef();
  renderTarget_ = backBuffer_;
}

Result Device::testCooperativeLevel() {
  if (!lost_) return kOk;
  if (gpuFaults().stayLost || fullScreenMinimised(window_)) return kDeviceLost;
  resettable_ = true;
  return kDeviceNotReset;
}

bool Device::lostNow() {
  if (gpuFaults().loseDevice) {
    gpuFaults().loseDevice = false;
    lost_ = true;
    resettable_ = false;
  }
  if (!lost_ && fullScreenMinimised(window_)) {
    lost_ = true;
    resettable_ = false;
  }
  return lost_;
}

Result Device::reset(PresentParameters& params) {
  if (!makeCurrent()) return kInvalidDevice;
  if (lost_ && !resettable_) {
    if (testCooperativeLevel() == kDeviceLost) return kDeviceLost;
  }
  if (!params.windowed || params.backBufferCount > 1) return kInvalidCall;
  flushUploads();
  dropBindings();
  // Like the interface this layer follows: every default-pool object must be gone first.
  bool outstanding;
  {
    std::lock_guard<std::mutex> hold(trackLock_);
    outstanding = !defaultPool_.empty() || backBuffer_->refCount() != 1;
  }
  Result r = gpuFaults().reset;
  if (r == kOk && outstanding) r = kInvalidCall;
  if (r == kOk && params.multiSampleType >= 2 &&
      (params.multiSampleType > 16 ||
       (gpuFaults().maxMultiSamples > 0 && params.multiSampleType > gpuFaults().maxMultiSamples)))
    r = kInvalidCall;
  if (failed(r)) {
    // A failed reset leaves the device waiting for another one.
    lost_ = true;
    resettable_ = true;
    backBuffer_->addRef();
    renderTarget_ = backBuffer_;
    return r;
  }
  backBuffer_->release();
  backBuffer_ = nullptr;
  params_ = params;
  r = createBackBuffer();
  resetStates();
  params = params_;
  if (failed(r)) {
    lost_ = true;
    resettable_ = true;
    return r;
  }
  lost_ = false;
  resettable_ = false;
  return kOk;
}

Result Device::present(const Rect* source, const Rect* destination) {
  if (!makeCurrent()) return kInvalidDevice;
  if (lostNow()) return kDeviceLost;
  if (gpuFaults().present != kOk) return gpuFaults().present;
  if (sceneDepth_ != 0) return kInvalidCall;
  flushUploads();
  GlFunctions& g = gl();
  const Rect whole{0, 0, static_cast<int32_t>(backBuffer_->desc_.width), static_cast<int32_t>(backBuffer_->desc_.height)};
  const Rect from = source ? *source : whole;
  if (from.left < 0 || from.top < 0 || from.right > whole.right || from.bottom > whole.bottom || from.width() <= 0 ||
      from.height() <= 0)
    return kInvalidCall;
  int windowW = 0, windowH = 0;
  SDL_GL_GetDrawableSize(window_, &windowW, &windowH);
  const Rect to = destination ? *destination : Rect{0, 0, windowW, windowH};
  const GLuint picture = readFramebufferOf(backBuffer_);
  // While the engine's own interface is shown, the picture and the interface are composed in a
  // target of the window's size first.
  const GLuint composed = overlayWanted() ? bindOverlayTarget(windowW, windowH) : 0;
  g.BindFramebuffer(GL_DRAW_FRAMEBUFFER, composed);
  g.Viewport(0, 0, windowW, windowH);
  g.Disable(GL_SCISSOR_TEST);
  g.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  // Black around a picture that leaves part of the window uncovered.
  if (to.left > 0 || to.top > 0 || to.right < windowW || to.bottom < windowH) {
    g.ClearColor(0, 0, 0, 1);
    g.Clear(GL_COLOR_BUFFER_BIT);
  }
  // A picture kept as 5-6-5 widens to 8 bits differently in a sampler than in a blit (one step
  // apart in some greens on llvmpipe); it is still blitted, so the window shows what it always did.
  const bool packed565 = backBuffer_->desc_.format == Format::R5G6B5 && !backBuffer_->storedAs8888_;
  const auto pictureW = static_cast<int>(backBuffer_->desc_.width), pictureH = static_cast<int>(backBuffer_->desc_.height);
  if (packed565 || !drawToWindow(gl_->windowCopy, gl_->vertexStage, gl_->vertexArray, gl_->vertexBuffer,
                                 backBuffer_->glTexture_, pictureW, pictureH, from, to, windowW, windowH))
    blitToWindow(picture, from, to, windowH, composed);
  if (composed) {
    g.BindFramebuffer(GL_FRAMEBUFFER, composed);
    paintOverlay(windowW, windowH);
    showOverlayTarget(windowW, windowH);
  }
  SDL_GL_SwapWindow(window_);
  g.BindFramebuffer(GL_FRAMEBUFFER, 0);
  return kOk;
}

Result Device::getBackBuffer(uint32_t swapChain, uint32_t index, Surface** out) {
  if (!out || swapChain != 0 || index != 0) return kInvalidCall;
  backBuffer_->addRef();
  *out = backBuffer_;
  return kOk;
}

Result Device::getRasterStatus(uint32_t swapChain, RasterStatus& out) {
  if (swapChain != 0 || !(caps_.caps & caps::ReadScanline)) return kInvalidCall;
  return scanStatus(SDL_GetWindowDisplayIndex(window_), out) ? kOk : kInvalidCall;
}

Result Device::setRenderTarget(uint32_t index, Surface* surface) {
  if (gpuFaults().setRenderTarget != kOk) return gpuFaults().setRenderTarget;
  if (index >= caps_.numSimultaneousRTs || !surface) return kInvalidCall;
  if (surface->device_ != this) return kInvalidCall;
  SurfaceDesc d;
  surface->getDesc(d);
  if (!(d.usage & kUsageRenderTarget)) return kInvalidCall;
  surface->addRef();
  if (renderTarget_) renderTarget_->release();
  renderTarget_ = surface;
  return kOk;
}

Result Device::getRenderTarget(uint32_t index, Surface** out) {
  if (index != 0 || !out || !renderTarget_) return kInvalidCall;
  renderTarget_->addRef();
  *out = renderTarget_;
  return kOk;
}

Result Device::beginScene() {
  if (gpuFaults().beginScene != kOk) return gpuFaults().beginScene;
  if (sceneDepth_ != 0) return kInvalidCall;
  sceneDepth_ = 1;
  return kOk;
}

Result Device::endScene() {
  if (sceneDepth_ == 0) return kInvalidCall;
  sceneDepth_ = 0;
  return kOk;
}

Result Device::bindTarget() {
  if (!makeCurrent() || !renderTarget_) return kInvalidCall;
  const GLuint framebuffer = framebufferOf(renderTarget_);
  if (!framebuffer) return kInvalidCall;
  SurfaceDesc d;
  renderTarget_->getDesc(d);
  GlFunctions& g = gl();
  g.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  g.Viewport(0, 0, static_cast<GLsizei>(d.width), static_cast<GLsizei>(d.height));
  return kOk;
}

Result Device::clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
  (void)z;
  (void)stencil;
  // There is never a depth or stencil buffer to clear.
  if (flags & (kClearZBuffer | kClearStencil)) return kInvalidCall;
  if (!(flags & kClearTarget)) return kOk;
  flushUploads();
  if (const Result r = bindTarget(); failed(r)) return r;
  SurfaceDesc d;
  renderTarget_->getDesc(d);
  const bool opaque = glFormatOf(d.format).opaque;
  GlFunctions& g = gl();
  g.Disable(GL_SCISSOR_TEST);
  g.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  g.ClearColor(static_cast<float>((color >> 16) & 0xFF) / 255.0f, static_cast<float>((color >> 8) & 0xFF) / 255.0f,
               static_cast<float>(color & 0xFF) / 255.0f,
               opaque ? 1.0f : static_cast<float>((color >> 24) & 0xFF) / 255.0f);
  g.Clear(GL_COLOR_BUFFER_BIT);
  return kOk;
}

Result Device::setTransform(TransformType type, const float matrix[16]) {
  if (!matrix) return kInvalidCall;
  int slot;
  switch (type) {
    case TransformType::View: slot = 0; break;
    case TransformType::Projection: slot = 1; break;
    case TransformType::World: slot = 2; break;
    default: return kInvalidCall;
  }
  std::memcpy(transforms_[slot], matrix, 16 * sizeof(float));
  return kOk;
}

Result Device::setRenderState(uint32_t state, uint32_t value) {
  if (state >= rs::Count) return kInvalidCall;
  renderStates_[state] = value;
  return kOk;
}

uint32_t Device::renderState(uint32_t state) const { return state < rs::Count ? renderStates_[state] : 0; }

Result Device::setTexture(uint32_t stage, Texture* texture) {
  if (stage >= kSamplers) return kInvalidCall;
  if (texture && texture->device_ != this) return kInvalidCall;
  if (texture) texture->addRef();
  if (textures_[stage]) textures_[stage]->release();
  textures_[stage] = texture;
  return kOk;
}

Result Device::setTextureStageState(uint32_t stage, uint32_t state, uint32_t value) {
  if (stage >= kStages || state >= tss::Count) return kInvalidCall;
  stageStates_[stage][state] = value;
  return kOk;
}

Result Device::setSamplerState(uint32_t sampler, uint32_t state, uint32_t value) {
  if (sampler >= kSamplers || state >= ss::Count) return kInvalidCall;
  samplerStates_[sampler][state] = value;
  return kOk;
}

uint32_t Device::samplerState(uint32_t sampler, uint32_t state) const {
  return sampler < kSamplers && state < ss::Count ? samplerStates_[sampler][state] : 0;
}

Result Device::setFVF(uint32_t fvf) {
  fvf_ = fvf;
  return kOk;
}

Result Device::setPixelShader(PixelShader* shader) {
  if (shader && shader->device_ != this) return kInvalidCall;
  if (shader) shader->addRef();
  if (shader_) shader_->release();
  shader_ = shader;
  return kOk;
}

Result Device::setPixelShaderConstantF(uint32_t start, const float* values, uint32_t vectorCount) {
  if (!values || start > kPixelShaderConstants || vectorCount > kPixelShaderConstants - start) return kInvalidCall;
  std::memcpy(constants_[start], values, vectorCount * 4 * sizeof(float));
  return kOk;
}

Result Device::createPixelShader(const ShaderCode& code, PixelShader** out) {
  if (!out || !code.source) return kInvalidCall;
  *out = nullptr;
  if (gpuFaults().failShaderId != 0 && gpuFaults().failShaderId == code.id) return kInvalidCall;
  if (!makeCurrent()) return kInvalidDevice;
  std::string log;
  const GLuint fragment = compileFragmentStage(code.source, &log);
  if (!fragment) {
    SDL_LogError(SDL_LOG_CATEGORY_RENDER, "pixel shader %d: %s", code.id, log.c_str());
    return kInvalidCall;
  }
  auto* shader = new PixelShader();
  shader->device_ = this;
  shader->id_ = code.id;
  shader->glFragment_ = fragment;
  track(shader, Pool::Managed);
  *out = shader;
  return kOk;
}

uint32_t Device::programOf(PixelShader* shader) {
  if (shader->glProgram_ || !shader->glFragment_) return shader->glProgram_;
  std::string log;
  const GLuint program = linkStages(gl_->vertexStage, shader->glFragment_, &log);
  // Linked or refused, the fragment stage is not needed again.
  gl().DeleteShader(shader->glFragment_);
  shader->glFragment_ = 0;
  if (!program) {
    SDL_LogError(SDL_LOG_CATEGORY_RENDER, "pixel shader %d: %s", shader->id_, log.c_str());
    return 0;
  }
  gl_->locations[program] = locateUniforms(program);
  shader->glProgram_ = program;
  return program;
}

PixelShader::~PixelShader() {
  if (!device_) return;
  if ((glProgram_ || glFragment_) && device_->makeCurrent()) {
    if (glProgram_) gl().DeleteProgram(glProgram_);
    if (glFragment_) gl().DeleteShader(glFragment_);
    device_->gl_->locations.erase(glProgram_);
  }
  device_->untrack(this, Pool::Managed);
}

}  // namespace vellum::gpu
