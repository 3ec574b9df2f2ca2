// The graphics device for plug-ins: the adapter and device objects, the two uploads and a thin
// C face over the device layer's objects.
#include <vellum/exports.h>

#include "platform/gpu/gpu.h"
#include "render/renderer.h"
#include "render/renderer_state.h"

namespace {

using vellum::gpu::Device;
using vellum::gpu::Surface;
using vellum::gpu::Texture;

Texture* texture(VellumGpuTexture* t) { return reinterpret_cast<Texture*>(t); }
Surface* surface(VellumGpuSurface* s) { return reinterpret_cast<Surface*>(s); }
Device* device(VellumGpuDevice* d) { return reinterpret_cast<Device*>(d); }

constexpr int32_t kInvalid = vellum::gpu::kInvalidCall;

}  // namespace

VELLUM_API void getDirect3D9(VellumGpu** object, VellumGpuDevice** deviceOut) {
  vellum::RendererState& r = vellum::renderer();
  if (object) *object = reinterpret_cast<VellumGpu*>(r.gpu);
  if (deviceOut) *deviceOut = reinterpret_cast<VellumGpuDevice*>(r.device);
}

VELLUM_API int writeTexture2(VellumGpuTexture** t, const uint32_t* pixels, uint32_t level, const int* imageWidth,
                             const int* imageHeight, const int* textureWidth, const int* textureHeight) {
  if (!t || !imageWidth || !imageHeight || !textureWidth || !textureHeight) return 0;
  return vellum::writeTexture2(texture(*t), pixels, level, *imageWidth, *imageHeight, *textureWidth, *textureHeight);
}

VELLUM_API int writeTexture3(VellumGpuTexture** t, const uint32_t* pixels, uint32_t level, const int* imageWidth,
                             const int* imageHeight, const int* textureWidth, const int* textureHeight, const int* tileX,
                             const int* tileY) {
  if (!t || !imageWidth || !imageHeight || !textureWidth || !textureHeight || !tileX || !tileY) return 0;
  return vellum::writeTexture3(texture(*t), pixels, level, *imageWidth, *imageHeight, *textureWidth, *textureHeight,
                               *tileX, *tileY);
}

VELLUM_API uint32_t vellum_gpu_texture_add_ref(VellumGpuTexture* t) { return t ? texture(t)->addRef() : 0; }
VELLUM_API uint32_t vellum_gpu_texture_release(VellumGpuTexture* t) { return t ? texture(t)->release() : 0; }
VELLUM_API uint32_t vellum_gpu_surface_release(VellumGpuSurface* s) { return s ? surface(s)->release() : 0; }

VELLUM_API int32_t vellum_gpu_create_texture(VellumGpuDevice* d, uint32_t width, uint32_t height, uint32_t levels,
                                             uint32_t usage, uint32_t format, uint32_t pool, VellumGpuTexture** out) {
  if (!d || !out) return kInvalid;
  Texture* t = nullptr;
  const int32_t r = device(d)->createTexture(width, height, levels, usage, static_cast<vellum::gpu::Format>(format),
                                             static_cast<vellum::gpu::Pool>(pool), &t);
  *out = reinterpret_cast<VellumGpuTexture*>(t);
  return r;
}

VELLUM_API int32_t vellum_gpu_texture_lock(VellumGpuTexture* t, uint32_t level, uint32_t flags, int32_t* pitch,
                                           void** bits) {
  if (!t || !pitch || !bits) return kInvalid;
  vellum::gpu::LockedRect locked;
  const int32_t r = texture(t)->lockRect(level, locked, nullptr, flags);
  *pitch = locked.pitch;
  *bits = locked.bits;
  return r;
}

VELLUM_API int32_t vellum_gpu_texture_unlock(VellumGpuTexture* t, uint32_t level) {
  return t ? texture(t)->unlockRect(level) : kInvalid;
}

VELLUM_API int32_t vellum_gpu_texture_surface(VellumGpuTexture* t, uint32_t level, VellumGpuSurface** out) {
  if (!t || !out) return kInvalid;
  Surface* s = nullptr;
  const int32_t r = texture(t)->getSurfaceLevel(level, &s);
  *out = reinterpret_cast<VellumGpuSurface*>(s);
  return r;
}

VELLUM_API int32_t vellum_gpu_set_render_target(VellumGpuDevice* d, uint32_t index, VellumGpuSurface* s) {
  return d ? device(d)->setRenderTarget(index, surface(s)) : kInvalid;
}

VELLUM_API int32_t vellum_gpu_get_render_target(VellumGpuDevice* d, uint32_t index, VellumGpuSurface** out) {
  if (!d || !out) return kInvalid;
  Surface* s = nullptr;
  const int32_t r = device(d)->getRenderTarget(index, &s);
  *out = reinterpret_cast<VellumGpuSurface*>(s);
  return r;
}

VELLUM_API int32_t vellum_gpu_clear(VellumGpuDevice* d, uint32_t color) {
  return d ? device(d)->clear(vellum::gpu::kClearTarget, color, 1.0f, 0) : kInvalid;
}

VELLUM_API int32_t vellum_gpu_set_texture(VellumGpuDevice* d, uint32_t stage, VellumGpuTexture* t) {
  return d ? device(d)->setTexture(stage, texture(t)) : kInvalid;
}

VELLUM_API int32_t vellum_gpu_set_render_state(VellumGpuDevice* d, uint32_t state, uint32_t value) {
  return d ? device(d)->setRenderState(state, value) : kInvalid;
}

VELLUM_API int32_t vellum_gpu_set_texture_stage_state(VellumGpuDevice* d, uint32_t stage, uint32_t state,
                                                      uint32_t value) {
  return d ? device(d)->setTextureStageState(stage, state, value) : kInvalid;
}

VELLUM_API int32_t vellum_gpu_set_sampler_state(VellumGpuDevice* d, uint32_t sampler, uint32_t state, uint32_t value) {
  return d ? device(d)->setSamplerState(sampler, state, value) : kInvalid;
}

VELLUM_API int32_t vellum_gpu_draw(VellumGpuDevice* d, uint32_t fvf, uint32_t primitive, uint32_t count,
                                   const void* vertices, uint32_t stride) {
  if (!d) return kInvalid;
  device(d)->setFVF(fvf);
  return device(d)->drawPrimitiveUP(static_cast<vellum::gpu::Primitive>(primitive), count, vertices, stride);
}
