// Textures and surfaces: creation, locks with their staging memory, uploads, render-target
// framebuffers, read-back and rectangle copies.
#include <algorithm>
#include <cstring>

#include "platform/gpu/gl_backend.h"
#include "platform/gpu/gl_conventions.h"
#include "platform/gpu/gpu.h"
#include "platform/gpu/gpu_faults.h"

namespace vellum::gpu {

namespace {

int32_t pitchFor(uint32_t width, Format f) {
  // Rows are padded to 16 bytes, as drivers commonly do; writers must honour the pitch.
  return static_cast<int32_t>((width * static_cast<uint32_t>(bytesPerPixel(f)) + 15u) & ~15u);
}

bool onOwnerThread(const DeviceBackend& b) { return std::this_thread::get_id() == b.owner; }

// A discarded lock hands out memory whose old contents are gone.
constexpr uint8_t kDiscardedByte = 0xCD;

void storeArgb(const uint32_t* argb, uint32_t count, Format f, uint8_t* out) {
  switch (f) {
    case Format::A8R8G8B8:
    case Format::X8R8G8B8: std::memcpy(out, argb, count * 4); break;
    case Format::R5G6B5:
      for (uint32_t i = 0; i < count; ++i) reinterpret_cast<uint16_t*>(out)[i] = toR5G6B5(argb[i]);
      break;
    case Format::A4R4G4B4:
      for (uint32_t i = 0; i < count; ++i) reinterpret_cast<uint16_t*>(out)[i] = toA4R4G4B4(argb[i]);
      break;
    case Format::A1R5G5B5:
    case Format::X1R5G5B5:
      for (uint32_t i = 0; i < count; ++i) reinterpret_cast<uint16_t*>(out)[i] = toX1R5G5B5(argb[i]);
      break;
    default: break;
  }
}

}  // namespace

// ---- textures ----

Result Device::createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, Format format,
                             Pool pool, Texture** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (gpuFaults().createTexture != kOk) return gpuFaults().createTexture;
  if (width == 0 || height == 0 || width > caps_.maxTextureWidth || height > caps_.maxTextureHeight)
    return kInvalidCall;
  if (bytesPerPixel(format) == 0 || glFormatOf(format).internal == 0) return kInvalidCall;
  if (pool == Pool::SystemMem) return kInvalidCall;
  const bool target = usage & kUsageRenderTarget;
  if (target && pool != Pool::Default) return kInvalidCall;
  if (target && format != Format::X8R8G8B8 && format != Format::A8R8G8B8 && format != Format::R5G6B5 &&
      format != Format::A4R4G4B4)
    return kInvalidCall;
  uint32_t chain = 1;
  for (uint32_t w = width, h = height; w > 1 || h > 1; w = std::max(w / 2, 1u), h = std::max(h / 2, 1u)) ++chain;
  if (levels == 0 || levels > chain) levels = chain;
  if (target) levels = 1;

  auto* t = new Texture();
  t->device_ = this;
  t->format_ = format;
  t->pool_ = pool;
  t->usage_ = usage;
  t->levels_.resize(levels);
  for (uint32_t k = 0; k < levels; ++k) {
    Texture::Level& l = t->levels_[k];
    l.width = std::max(width >> k, 1u);
    l.height = std::max(height >> k, 1u);
    l.pitch = pitchFor(l.width, format);
    // Render targets live only on the GL side; everything else keeps the memory locks write to.
    if (!target) l.staging.assign(static_cast<size_t>(l.pitch) * l.height, 0);
  }
  track(t, pool);
  *out = t;
  return kOk;
}

Texture::~Texture() {
  if (!device_) return;
  device_->releaseGlNames(this);
  device_->untrack(this, pool_);
}

Result Texture::getLevelDesc(uint32_t level, SurfaceDesc& out) const {
  if (level >= levels_.size()) return kInvalidCall;
  out = {format_, usage_, pool_, levels_[level].width, levels_[level].height};
  return kOk;
}

Result Texture::getSurfaceLevel(uint32_t level, Surface** out) {
  if (!out || level >= levels_.size() || !device_) return kInvalidCall;
  auto* s = new Surface();
  s->device_ = device_;
  s->texture_ = this;
  s->level_ = level;
  addRef();
  device_->track(s, Pool::Managed);
  *out = s;
  return kOk;
}

Result Texture::lockRect(uint32_t level, LockedRect& out, const Rect* rect, uint32_t flags) {
  if (gpuFaults().lock != kOk) return gpuFaults().lock;
  if (level >= levels_.size() || !device_) return kInvalidCall;
  const bool dynamic = usage_ & kUsageDynamic;
  // Render targets cannot be locked; default-pool textures only when dynamic; DISCARD only then,
  // and for the whole level.
  if ((usage_ & kUsageRenderTarget) || (pool_ == Pool::Default && !dynamic)) return kInvalidCall;
  if ((flags & kLockDiscard) && (!dynamic || rect)) return kInvalidCall;
  std::lock_guard<std::mutex> hold(lock_);
  Level& l = levels_[level];
  if (l.locked) return kInvalidCall;
  size_t offset = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->right > static_cast<int32_t>(l.width) ||
        rect->bottom > static_cast<int32_t>(l.height) || rect->width() <= 0 || rect->height() <= 0)
      return kInvalidCall;
    offset = static_cast<size_t>(rect->top) * static_cast<size_t>(l.pitch) +
             static_cast<size_t>(rect->left) * static_cast<size_t>(bytesPerPixel(format_));
  }
  if (flags & kLockDiscard) std::fill(l.staging.begin(), l.staging.end(), kDiscardedByte);
  l.locked = true;
  out.pitch = l.pitch;
  out.bits = l.staging.data() + offset;
  return kOk;
}

Result Texture::unlockRect(uint32_t level) {
  if (level >= levels_.size() || !device_) return kInvalidCall;
  bool queue = false;
  {
    std::lock_guard<std::mutex> hold(lock_);
    Level& l = levels_[level];
    if (!l.locked) return kInvalidCall;
    l.locked = false;
    l.dirty = true;
    if (!queued_) queued_ = queue = true;
  }
  if (queue) device_->queueUpload(this);
  return kOk;
}

bool Texture::heldOnlyByOwner() {
  std::lock_guard<std::mutex> hold(lock_);
  return refCount() == (queued_ ? 2u : 1u);
}

void Device::queueUpload(Texture* texture) {
  texture->addRef();
  std::lock_guard<std::mutex> hold(uploadLock_);
  uploads_.push_back(texture);
}

bool Device::ensureTexture(Texture* t) {
  if (t->glTexture_) return true;
  GlFunctions& g = gl();
  GlFormat f = glFormatOf(t->format_);
  const bool target = t->usage_ & kUsageRenderTarget;
  if (target && f.internal == GL_RGB565 && !gl_->renders565) {
    f = glFormat8888(true);
    t->storedAs8888_ = true;
  }
  g.GenTextures(1, &t->glTexture_);
  g.BindTexture(GL_TEXTURE_2D, t->glTexture_);
  g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
  g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(t->levels_.size()) - 1);
  if (f.opaque && swizzlesOpaqueAlpha()) g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
  g.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  std::lock_guard<std::mutex> hold(t->lock_);
  const int bpp = bytesPerPixel(t->format_);
  std::vector<uint8_t> scratch;
  for (size_t k = 0; k < t->levels_.size(); ++k) {
    Texture::Level& l = t->levels_[k];
    const auto rowPixels = static_cast<uint32_t>(l.pitch / bpp);
    g.PixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(rowPixels));
    const void* bytes = uploadBytes(f, t->format_, l.staging.empty() ? nullptr : l.staging.data(), rowPixels, l.width,
                                    l.height, scratch);
    g.TexImage2D(GL_TEXTURE_2D, static_cast<GLint>(k), static_cast<GLint>(f.internal), static_cast<GLsizei>(l.width),
                 static_cast<GLsizei>(l.height), 0, f.format, f.type, bytes);
    if (!l.locked) l.dirty = false;
  }
  g.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  if (target) {
    // A new render target starts out transparent black.
    Texture::Level& l = t->levels_[0];
    g.GenFramebuffers(1, &l.glFramebuffer);
    g.BindFramebuffer(GL_FRAMEBUFFER, l.glFramebuffer);
    g.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t->glTexture_, 0);
    g.Disable(GL_SCISSOR_TEST);
    g.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    g.ClearColor(0, 0, 0, f.opaque ? 1.0f : 0.0f);
    g.Clear(GL_COLOR_BUFFER_BIT);
  }
  return true;
}

void Device::flushUploads() {
  std::vector<Texture*> pending;
  {
    std::lock_guard<std::mutex> hold(uploadLock_);
    pending.swap(uploads_);
    if (gl_ && context_ && makeCurrent()) {
      GlFunctions& g = gl();
      if (!gl_->deadTextures.empty()) g.DeleteTextures(static_cast<GLsizei>(gl_->deadTextures.size()), gl_->deadTextures.data());
      if (!gl_->deadFramebuffers.empty())
        g.DeleteFramebuffers(static_cast<GLsizei>(gl_->deadFramebuffers.size()), gl_->deadFramebuffers.data());
      if (!gl_->deadRenderbuffers.empty())
        g.DeleteRenderbuffers(static_cast<GLsizei>(gl_->deadRenderbuffers.size()), gl_->deadRenderbuffers.data());
      gl_->deadTextures.clear();
      gl_->deadFramebuffers.clear();
      gl_->deadRenderbuffers.clear();
    }
  }
  if (pending.empty()) return;
  GlFunctions& g = gl();
  std::vector<Texture*> later;
  std::vector<uint8_t> scratch;
  for (Texture* t : pending) {
    if (t->device_ == this && !t->glTexture_) ensureTexture(t);
    bool stillLocked = false;
    if (t->device_ == this) {
      const GlFormat f = glFormatOf(t->format_);
      const int bpp = bytesPerPixel(t->format_);
      std::lock_guard<std::mutex> hold(t->lock_);
      g.BindTexture(GL_TEXTURE_2D, t->glTexture_);
      g.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
      for (size_t k = 0; k < t->levels_.size(); ++k) {
        Texture::Level& l = t->levels_[k];
        if (!l.dirty) continue;
        if (l.locked) {
          stillLocked = true;
          continue;
        }
        const auto rowPixels = static_cast<uint32_t>(l.pitch / bpp);
        g.PixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(rowPixels));
        g.TexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(k), 0, 0, static_cast<GLsizei>(l.width),
                        static_cast<GLsizei>(l.height), f.format, f.type,
                        uploadBytes(f, t->format_, l.staging.data(), rowPixels, l.width, l.height, scratch));
        l.dirty = false;
      }
      g.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
      t->queued_ = stillLocked;
    }
    if (stillLocked) later.push_back(t);
    else t->release();
  }
  if (!later.empty()) {
    std::lock_guard<std::mutex> hold(uploadLock_);
    uploads_.insert(uploads_.end(), later.begin(), later.end());
  }
}

void Device::releaseGlNames(Texture* t) {
  if (!gl_ || !context_) return;
  std::vector<GLuint> framebuffers;
  for (Texture::Level& l : t->levels_) {
    if (l.glFramebuffer) framebuffers.push_back(l.glFramebuffer);
    l.glFramebuffer = 0;
  }
  if (onOwnerThread(*gl_) && makeCurrent()) {
    if (t->glTexture_) gl().DeleteTextures(1, &t->glTexture_);
    if (!framebuffers.empty()) gl().DeleteFramebuffers(static_cast<GLsizei>(framebuffers.size()), framebuffers.data());
  } else {
    std::lock_guard<std::mutex> hold(uploadLock_);
    if (t->glTexture_) gl_->deadTextures.push_back(t->glTexture_);
    gl_->deadFramebuffers.insert(gl_->deadFramebuffers.end(), framebuffers.begin(), framebuffers.end());
  }
  t->glTexture_ = 0;
}

// ---- surfaces ----

Result Device::createOffscreenPlainSurface(uint32_t width, uint32_t height, Format format, Pool pool, Surface** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (width == 0 || height == 0 || bytesPerPixel(format) == 0 || pool != Pool::SystemMem) return kInvalidCall;
  auto* s = new Surface();
  s->device_ = this;
  s->desc_ = {format, 0, pool, width, height};
  s->pitch_ = pitchFor(width, format);
  s->memory_.assign(static_cast<size_t>(s->pitch_) * height, 0);
  track(s, pool);
  *out = s;
  return kOk;
}

Surface::~Surface() {
  if (texture_) {
    if (device_) device_->untrack(this, Pool::Managed);
    texture_->release();
    return;
  }
  if (!device_) return;
  device_->releaseGlNames(this);
  // The back buffer is the device's own; other surfaces were counted in their pool.
  if (desc_.pool == Pool::Default && device_->backBuffer_ != this) device_->untrack(this, Pool::Default);
  else device_->untrack(this, Pool::Managed);
}

void Device::releaseGlNames(Surface* s) {
  if (!gl_ || !context_ || !onOwnerThread(*gl_) || !makeCurrent()) return;
  GlFunctions& g = gl();
  if (s->glFramebuffer_) g.DeleteFramebuffers(1, &s->glFramebuffer_);
  if (s->glResolveFramebuffer_) g.DeleteFramebuffers(1, &s->glResolveFramebuffer_);
  if (s->glRenderbuffer_) g.DeleteRenderbuffers(1, &s->glRenderbuffer_);
  if (s->glTexture_) g.DeleteTextures(1, &s->glTexture_);
  s->glFramebuffer_ = s->glResolveFramebuffer_ = s->glRenderbuffer_ = s->glTexture_ = 0;
}

Result Surface::getDesc(SurfaceDesc& out) const {
  if (texture_) return texture_->getLevelDesc(level_, out);
  out = desc_;
  return kOk;
}

Result Surface::lockRect(LockedRect& out, const Rect* rect, uint32_t flags) {
  if (texture_) return texture_->lockRect(level_, out, rect, flags);
  if (gpuFaults().lock != kOk) return gpuFaults().lock;
  // Only system-memory surfaces are lockable here, and they are never dynamic.
  if (desc_.pool != Pool::SystemMem || (flags & kLockDiscard) || locked_) return kInvalidCall;
  size_t offset = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->right > static_cast<int32_t>(desc_.width) ||
        rect->bottom > static_cast<int32_t>(desc_.height) || rect->width() <= 0 || rect->height() <= 0)
      return kInvalidCall;
    offset = static_cast<size_t>(rect->top) * static_cast<size_t>(pitch_) +
             static_cast<size_t>(rect->left) * static_cast<size_t>(bytesPerPixel(desc_.format));
  }
  locked_ = true;
  out.pitch = pitch_;
  out.bits = memory_.data() + offset;
  return kOk;
}

Result Surface::unlockRect() {
  if (texture_) return texture_->unlockRect(level_);
  if (!locked_) return kInvalidCall;
  locked_ = false;
  return kOk;
}

uint32_t Device::framebufferOf(Surface* s) {
  if (s->device_ != this) return 0;
  if (!s->texture_) return s->glFramebuffer_;
  Texture* t = s->texture_;
  if (!(t->usage_ & kUsageRenderTarget) || s->level_ != 0) return 0;
  ensureTexture(t);
  return t->levels_[0].glFramebuffer;
}

uint32_t Device::readFramebufferOf(Surface* s) {
  if (s->texture_ || !s->glResolveFramebuffer_) return framebufferOf(s);
  // A multisampled back buffer is resolved into its picture first.
  GlFunctions& g = gl();
  const auto w = static_cast<GLint>(s->desc_.width), h = static_cast<GLint>(s->desc_.height);
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, s->glFramebuffer_);
  g.BindFramebuffer(GL_DRAW_FRAMEBUFFER, s->glResolveFramebuffer_);
  g.BlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  return s->glResolveFramebuffer_;
}

Result Device::readTarget(Surface* target, std::vector<uint32_t>& argb) {
  SurfaceDesc d;
  target->getDesc(d);
  if (!(d.usage & kUsageRenderTarget) || !makeCurrent()) return kInvalidCall;
  flushUploads();
  const GLuint framebuffer = readFramebufferOf(target);
  if (!framebuffer) return kInvalidCall;
  GlFunctions& g = gl();
  argb.assign(static_cast<size_t>(d.width) * d.height, 0);
  // Wait for every queued draw first: on llvmpipe a read right after a present could otherwise
  // return the target as it was one frame earlier.
  g.Finish();
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  readArgb(static_cast<GLsizei>(d.width), static_cast<GLsizei>(d.height), argb.data());
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  // Targets kept wider than their format are brought down to it, so what is read is what the
  // format can hold.
  const bool wide = target->texture_ ? target->texture_->storedAs8888_ : target->storedAs8888_;
  if (wide && d.format == Format::R5G6B5) {
    for (uint32_t& p : argb) p = fromR5G6B5(toR5G6B5(p)) | 0xFF000000u;
  }
  return kOk;
}

Result Device::getRenderTargetData(Surface* renderTarget, Surface* destination) {
  if (!renderTarget || !destination || destination->texture_ || destination->desc_.pool != Pool::SystemMem)
    return kInvalidCall;
  SurfaceDesc from;
  renderTarget->getDesc(from);
  const SurfaceDesc& to = destination->desc_;
  if (from.width != to.width || from.height != to.height || from.format != to.format) return kInvalidCall;
  std::vector<uint32_t> argb;
  if (const Result r = readTarget(renderTarget, argb); failed(r)) return r;
  for (uint32_t y = 0; y < to.height; ++y)
    storeArgb(argb.data() + static_cast<size_t>(y) * to.width, to.width, to.format,
              destination->memory_.data() + static_cast<size_t>(y) * static_cast<size_t>(destination->pitch_));
  return kOk;
}

Result Device::stretchRect(Surface* source, const Rect* sourceRect, Surface* destination, const Rect* destRect,
                           uint32_t filter) {
  if (!source || !destination || !makeCurrent()) return kInvalidCall;
  SurfaceDesc sd, dd;
  source->getDesc(sd);
  destination->getDesc(dd);
  if (!(sd.usage & kUsageRenderTarget) || !(dd.usage & kUsageRenderTarget)) return kInvalidCall;
  if (!destination->texture_ && destination->glResolveFramebuffer_) return kInvalidCall;
  const Rect from = sourceRect ? *sourceRect : Rect{0, 0, static_cast<int32_t>(sd.width), static_cast<int32_t>(sd.height)};
  const Rect to = destRect ? *destRect : Rect{0, 0, static_cast<int32_t>(dd.width), static_cast<int32_t>(dd.height)};
  auto inside = [](const Rect& r, const SurfaceDesc& d) {
    return r.left >= 0 && r.top >= 0 && r.right <= static_cast<int32_t>(d.width) &&
           r.bottom <= static_cast<int32_t>(d.height) && r.width() > 0 && r.height() > 0;
  };
  if (!inside(from, sd) || !inside(to, dd)) return kInvalidCall;
  flushUploads();
  const GLuint read = readFramebufferOf(source);
  const GLuint draw = framebufferOf(destination);
  if (!read || !draw) return kInvalidCall;
  GlFunctions& g = gl();
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, read);
  g.BindFramebuffer(GL_DRAW_FRAMEBUFFER, draw);
  g.Disable(GL_SCISSOR_TEST);
  g.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  // Both sides keep their top row first, so the copy goes straight across.
  g.BlitFramebuffer(from.left, from.top, from.right, from.bottom, to.left, to.top, to.right, to.bottom,
                    GL_COLOR_BUFFER_BIT, filter == texf::Linear ? GL_LINEAR : GL_NEAREST);
  g.BindFramebuffer(GL_FRAMEBUFFER, 0);
  return kOk;
}

}  // namespace vellum::gpu
