// The device layer: a small graphics interface with the semantics of Direct3D 9 (reference-counted
// objects, a device that can be lost and reset, managed and default pools, locks, render targets,
// fixed texture stages and pixel shaders), backed by OpenGL 3.3 core through SDL.
//
// Conventions every caller sees (the backend undoes its own in one place, gl_conventions.h):
// - pixel centres lie on integer coordinates: a transformed vertex at (x − 0.5, y − 0.5) is the
//   corner of pixel (x, y), so a quad from −0.5 to W − 0.5 covers a W-pixel target exactly;
// - rows are top-down in every texture, surface and target; locked memory starts with the top row;
// - depth runs from 0 (near) to 1 (far);
// - colours are 32-bit words 0xAARRGGBB; 16-bit formats keep their fields in the same order.
//
// Threads: the device and everything it draws belong to the thread that created it. Textures may
// be locked, written and unlocked from other threads; the device uploads what they wrote before
// the next draw, copy, read-back or present.
//
// Pixel shaders are programs in GLSL 3.30 (fragment stage) that see: `vec4 v0` (the diffuse
// colour), `vec2 t0` … `t8` (the texture-coordinate sets), `vec4 c[32]` (the constants),
// `sampler2D s0` … `s3`, and write `vec4 oC0`.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gpu/gpu_types.h"

namespace vellum::gpu {

class Device;

class Object {
 public:
  virtual ~Object() = default;
  uint32_t addRef() { return ++refs_ ; }
  uint32_t release();
  uint32_t refCount() const { return refs_; }

 protected:
  Object() = default;

 private:
  std::atomic<uint32_t> refs_{1};
};

// The adapter: identity, display mode, capabilities and device creation.
class Gpu : public Object {
 public:
  // Starts the video subsystem; nullptr when there is none (or the fault hook says so).
  static Gpu* create();

  Result getAdapterIdentifier(uint32_t adapter, AdapterIdentifier& out);
  Result getAdapterDisplayMode(uint32_t adapter, DisplayMode& out);
  Result getDeviceCaps(uint32_t adapter, DeviceType type, Caps& out);
  Result checkDeviceType(uint32_t adapter, DeviceType type, Format displayFormat, Format backBufferFormat, bool windowed);
  Result checkDeviceMultiSampleType(uint32_t adapter, DeviceType type, Format format, bool windowed, uint32_t samples,
                                    uint32_t* qualityLevels);
  Result createDevice(uint32_t adapter, DeviceType type, SDL_Window* focusWindow, uint32_t flags,
                      PresentParameters& params, Device** out);

  ~Gpu() override;

 private:
  Gpu() = default;
  struct Probe;
  bool probe();
  bool renders565() const;
  // The probe's context (an SDL_GLContext), kept for the first device: making a context costs
  // milliseconds on software GL. nullptr once taken, or when there was none.
  void* takeProbeContext();
  std::unique_ptr<Probe> probe_;
};

class Texture;

class Surface : public Object {
 public:
  ~Surface() override;
  Result getDesc(SurfaceDesc& out) const;
  Result lockRect(LockedRect& out, const Rect* rect, uint32_t flags);
  Result unlockRect();
  Texture* container() const { return texture_; }
  uint32_t level() const { return level_; }

 private:
  friend class Device;
  friend class Texture;
  Surface() = default;
  Device* device_ = nullptr;
  Texture* texture_ = nullptr;  // the texture whose level this is (holds a reference), or none
  uint32_t level_ = 0;
  // A surface of its own (the back buffer, an off-screen plain surface).
  SurfaceDesc desc_;
  std::vector<uint8_t> memory_;  // system-memory surfaces
  int32_t pitch_ = 0;
  bool locked_ = false;
  uint32_t glTexture_ = 0;  // back buffer storage (the resolved picture when multisampled)
  uint32_t glFramebuffer_ = 0;  // where drawing goes
  uint32_t glRenderbuffer_ = 0, glResolveFramebuffer_ = 0, samples_ = 0;  // a multisampled back buffer
  bool storedAs8888_ = false;  // a 16-bit target kept in 8-bit channels
};

class Texture : public Object {
 public:
  ~Texture() override;
  uint32_t levelCount() const { return static_cast<uint32_t>(levels_.size()); }
  Result getLevelDesc(uint32_t level, SurfaceDesc& out) const;
  Result getSurfaceLevel(uint32_t level, Surface** out);
  Result lockRect(uint32_t level, LockedRect& out, const Rect* rect, uint32_t flags);
  Result unlockRect(uint32_t level);
  // Whether the one reference its holder has (and a pending upload's) is all that keeps it:
  // nothing binds it, no surface of it is out.
  bool heldOnlyByOwner();

 private:
  friend class Device;
  friend class Surface;
  Texture() = default;
  struct Level {
    uint32_t width = 0, height = 0;
    int32_t pitch = 0;
    std::vector<uint8_t> staging;  // what the next upload sends (locks write here)
    bool locked = false;
    bool dirty = false;
    uint32_t glFramebuffer = 0;  // render targets
  };
  Device* device_ = nullptr;
  Format format_ = Format::Unknown;
  Pool pool_ = Pool::Managed;
  uint32_t usage_ = 0;
  std::vector<Level> levels_;
  std::mutex lock_;  // guards the staging memory and the dirty flags between threads
  bool queued_ = false;
  uint32_t glTexture_ = 0;
  bool storedAs8888_ = false;
};

class PixelShader : public Object {
 public:
  ~PixelShader() override;
  int id() const { return id_; }

 private:
  friend class Device;
  PixelShader() = default;
  Device* device_ = nullptr;
  int id_ = 0;
  uint32_t glFragment_ = 0;  // compiled at creation
  uint32_t glProgram_ = 0;   // linked when first drawn with
};

struct DeviceBackend;

class Device : public Object {
 public:
  ~Device() override;

  Result testCooperativeLevel();
  Result reset(PresentParameters& params);
  Result present(const Rect* source, const Rect* destination);
  Result getBackBuffer(uint32_t swapChain, uint32_t index, Surface** out);
  Result getRasterStatus(uint32_t swapChain, RasterStatus& out);

  Result createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, Format format, Pool pool,
                       Texture** out);
  Result createOffscreenPlainSurface(uint32_t width, uint32_t height, Format format, Pool pool, Surface** out);
  Result getRenderTargetData(Surface* renderTarget, Surface* destination);
  Result stretchRect(Surface* source, const Rect* sourceRect, Surface* destination, const Rect* destRect,
                     uint32_t filter);
  Result setRenderTarget(uint32_t index, Surface* surface);
  Result getRenderTarget(uint32_t index, Surface** out);

  Result beginScene();
  Result endScene();
  Result clear(uint32_t flags, uint32_t color, float z, uint32_t stencil);

  Result setTransform(TransformType type, const float matrix[16]);
  Result setRenderState(uint32_t state, uint32_t value);
  uint32_t renderState(uint32_t state) const;
  Result setTexture(uint32_t stage, Texture* texture);
  Result setTextureStageState(uint32_t stage, uint32_t state, uint32_t value);
  Result setSamplerState(uint32_t sampler, uint32_t state, uint32_t value);
  uint32_t samplerState(uint32_t sampler, uint32_t state) const;
  Result setFVF(uint32_t fvf);
  Result drawPrimitiveUP(Primitive type, uint32_t primitiveCount, const void* vertices, uint32_t stride);
  // Copies texels of a texture's first level one for one onto the render target at (toX, toY),
  // clipped to the target: what an unblended, point-sampled quad of the texel alone would draw,
  // for a fraction of the work on a software rasteriser. The texels' alpha is copied too, so an
  // opaque target is only given opaque texels. Refused (kInvalidCall) where the target cannot
  // take a plain copy: multisampled, or with some colour channels masked.
  Result copyTexels(Texture* source, const Rect& from, int32_t toX, int32_t toY);

  Result createPixelShader(const ShaderCode& code, PixelShader** out);
  Result setPixelShader(PixelShader* shader);
  Result setPixelShaderConstantF(uint32_t start, const float* values, uint32_t vectorCount);

  const PresentParameters& presentParameters() const { return params_; }

  // Called by textures when a lock ends: the level is uploaded before the next use.
  void queueUpload(Texture* texture);

 private:
  friend class Gpu;
  friend class Texture;
  friend class Surface;
  friend class PixelShader;
  Device() = default;

  bool makeCurrent();
  // The shader's program, linked on its first use; 0 when the driver refuses to link it.
  uint32_t programOf(PixelShader* shader);
  Result createBackBuffer();
  void dropBindings();
  void resetStates();
  void flushUploads();
  bool ensureTexture(Texture* t);
  uint32_t framebufferOf(Surface* s);
  uint32_t readFramebufferOf(Surface* s);
  void releaseGlNames(Surface* s);
  void releaseGlNames(Texture* t);
  Result bindTarget();
  void applyDrawState();
  Result readTarget(Surface* target, std::vector<uint32_t>& argb);
  bool lostNow();

  void track(Object* o, Pool pool);
  void untrack(Object* o, Pool pool);

  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;
  Caps caps_;
  PresentParameters params_;
  uint32_t sceneDepth_ = 0;
  bool lost_ = false;
  bool resettable_ = false;

  Surface* backBuffer_ = nullptr;
  Surface* renderTarget_ = nullptr;
  Texture* textures_[kStages + 2] = {};
  PixelShader* shader_ = nullptr;
  uint32_t fvf_ = 0;
  uint32_t renderStates_[rs::Count] = {};
  uint32_t stageStates_[kStages][tss::Count] = {};
  uint32_t samplerStates_[kSamplers][ss::Count] = {};
  float transforms_[3][16] = {};
  float constants_[kPixelShaderConstants][4] = {};

  std::mutex uploadLock_;
  std::vector<Texture*> uploads_;  // each holds a reference until flushed
  std::mutex trackLock_;
  std::vector<Object*> defaultPool_;  // live default-pool objects, the back buffer's own reference aside
  std::vector<Object*> everything_;   // every live object made by this device

  std::unique_ptr<DeviceBackend> gl_;
};

// The layer's pixel converters, shared by the backend and by callers that fill locked memory.
uint16_t toR5G6B5(uint32_t argb);
uint16_t toA4R4G4B4(uint32_t argb);
uint16_t toX1R5G5B5(uint32_t argb);
uint32_t fromR5G6B5(uint16_t texel);  // fields shifted into the top bits, alpha 0

}  // namespace vellum::gpu
