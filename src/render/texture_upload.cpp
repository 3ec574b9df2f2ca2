// Textures for the sprite code and plug-ins: creation, render targets, uploads of decoded pixels,
// reading the frame back and SetRenderTarget2.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "base/report.h"
#include "render/render_messages.h"
#include "render/renderer_state.h"
#include "render/texture_reuse.h"

namespace vellum {

namespace {

using RowConverter = void (*)(const uint32_t* from, int count, uint8_t* to);

void copyRow(const uint32_t* from, int count, uint8_t* to) { std::memcpy(to, from, static_cast<size_t>(count) * 4); }

void rowTo565(const uint32_t* from, int count, uint8_t* to) {
  auto* out = reinterpret_cast<uint16_t*>(to);
  for (int i = 0; i < count; ++i) out[i] = gpu::toR5G6B5(from[i]);
}

void rowTo4444(const uint32_t* from, int count, uint8_t* to) {
  auto* out = reinterpret_cast<uint16_t*>(to);
  for (int i = 0; i < count; ++i) out[i] = gpu::toA4R4G4B4(from[i]);
}

RowConverter converterFor(gpu::Format f, int& bytes) {
  switch (f) {
    case gpu::Format::A8R8G8B8:
    case gpu::Format::X8R8G8B8: bytes = 4; return &copyRow;
    case gpu::Format::R5G6B5: bytes = 2; return &rowTo565;
    case gpu::Format::A4R4G4B4: bytes = 2; return &rowTo4444;
    default: bytes = 0; return nullptr;
  }
}

gpu::Result lockWhole(gpu::Texture* t, uint32_t level, gpu::LockedRect& locked) {
  const gpu::Result first = t->lockRect(level, locked, nullptr, gpu::kLockDiscard);
  if (!gpu::failed(first)) return first;
  return t->lockRect(level, locked, nullptr, 0);
}

void reportWithName(const char* text, gpu::Result e) { deviceScriptError(text, e); }

struct Upload {
  const char* name;  // "writeTexture2" or "writeTexture3"
  const uint32_t* pixels;
  int sourceStride;  // pixels from one source row to the next
  int columns, rows;  // what the source has for this texture
  int textureRows;    // rows to fill (the rest zeroed)
};

// Steps 1-5 of an upload, with the rows and columns already bounded by picture and texture.
bool upload(gpu::Texture* t, uint32_t level, Upload u) {
  const std::string_view name = u.name;  // only reports make a string of it
  gpu::SurfaceDesc desc;
  if (const gpu::Result e = t->getLevelDesc(level, desc); gpu::failed(e)) {
    reportWithName((std::string(name) + " GetLevelDesc ").c_str(), e);
    return false;
  }
  int bytes = 0;
  const RowConverter convert = converterFor(desc.format, bytes);
  if (!convert) {
    errorc(ReportText(std::string(name) + " not D3DFMT", CodePage::Gbk), true);
    return false;
  }
  gpu::LockedRect locked;
  if (const gpu::Result e = lockWhole(t, level, locked); gpu::failed(e)) {
    reportWithName((std::string(name) + " LockRect ").c_str(), e);
    return false;
  }
  // Never past the level, whatever the caller said about its sizes.
  const int columns = std::clamp(u.columns, 0, static_cast<int>(desc.width));
  const int rows = std::clamp(u.rows, 0, static_cast<int>(desc.height));
  const int textureRows = std::clamp(u.textureRows, rows, static_cast<int>(desc.height));
  auto* out = static_cast<uint8_t*>(locked.bits);
  const auto pitch = static_cast<size_t>(locked.pitch);
  const size_t used = static_cast<size_t>(columns) * static_cast<size_t>(bytes);
  if (bytes == 4 && columns == u.sourceStride && used == pitch) {
    std::memcpy(out, u.pixels, used * static_cast<size_t>(rows));
  } else {
    for (int y = 0; y < rows; ++y) {
      uint8_t* row = out + static_cast<size_t>(y) * pitch;
      convert(u.pixels + static_cast<size_t>(y) * static_cast<size_t>(u.sourceStride), columns, row);
      std::memset(row + used, 0, pitch - used);
    }
  }
  std::memset(out + static_cast<size_t>(rows) * pitch, 0, static_cast<size_t>(textureRows - rows) * pitch);
  if (const gpu::Result e = t->unlockRect(level); gpu::failed(e)) {
    reportWithName((std::string(name) + " UnlockRect ").c_str(), e);
    return false;
  }
  return true;
}

}  // namespace

gpu::Texture* createTexture(int width, int height, int levels) {
  RendererState& r = renderer();
  if (!r.device) return nullptr;
  if (levels == 1)
    if (gpu::Texture* reused = takeReusableTexture(width, height)) return reused;
  gpu::Texture* t = nullptr;
  const gpu::Result e = r.device->createTexture(static_cast<uint32_t>(std::max(width, 0)),
                                                static_cast<uint32_t>(std::max(height, 0)),
                                                static_cast<uint32_t>(std::max(levels, 0)), 0, r.textureFormat,
                                                gpu::Pool::Managed, &t);
  if (gpu::failed(e)) {
    deviceScriptError("CreateTexture ", e);
    return nullptr;
  }
  return t;
}

bool createRenderTargetTexture(int width, int height, gpu::Texture** texture, gpu::Surface** surface) {
  RendererState& r = renderer();
  if (!r.device || !texture || !surface) return false;
  *texture = nullptr;
  *surface = nullptr;
  gpu::Result e = r.device->createTexture(static_cast<uint32_t>(std::max(width, 0)),
                                          static_cast<uint32_t>(std::max(height, 0)), 1, gpu::kUsageRenderTarget,
                                          r.textureFormat, gpu::Pool::Default, texture);
  if (gpu::failed(e)) {
    deviceErrorDialog("CreateTexture ", e);
    return false;
  }
  e = (*texture)->getSurfaceLevel(0, surface);
  if (gpu::failed(e)) {
    deviceErrorDialog("GetSurfaceLevel ", e);
    releaseObject(*texture);
    return false;
  }
  r.device->setRenderTarget(0, *surface);
  r.device->clear(gpu::kClearTarget, 0, 1.0f, 0);
  if (r.frameTarget) r.device->setRenderTarget(0, r.frameTarget);
  return true;
}

bool writeTexture2(gpu::Texture* texture, const uint32_t* pixels, uint32_t level, int imageWidth, int imageHeight,
                   int textureWidth, int textureHeight) {
  (void)textureWidth;  // the level's pitch decides the row length
  if (!texture || !pixels || level > 31) return false;
  const int w = imageWidth >> level, h = imageHeight >> level;
  return upload(texture, level, {"writeTexture2", pixels, w, w, h, textureHeight >> level});
}

bool writeTexture3(gpu::Texture* texture, const uint32_t* pixels, uint32_t level, int imageWidth, int imageHeight,
                   int textureWidth, int textureHeight, int tileX, int tileY) {
  if (!texture || !pixels || level > 31) return false;
  const int w = imageWidth >> level, h = imageHeight >> level;
  const int x = tileX >> level, y = tileY >> level;
  if (tileX < 0 || tileY < 0 || x >= w || y >= h) {
    errorc(ReportText("writeTexture3 tile ", CodePage::Gbk).number(tileX).ascii(",").number(tileY), true);
    return false;
  }
  // The tile takes what is left of the picture, but no more than the texture holds.
  const int columns = std::min(textureWidth >> level, w - x);
  const int rows = std::min(textureHeight >> level, h - y);
  return upload(texture, level,
                {"writeTexture3", pixels + static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x), w,
                 columns, rows, textureHeight >> level});
}

bool getRenderImage(uint32_t* destination, int width, int height) {
  RendererState& r = renderer();
  if (!r.device || !r.frameTarget || !destination || width <= 0 || height <= 0) return false;
  gpu::Surface* copy = nullptr;
  gpu::Result e = r.device->createOffscreenPlainSurface(static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                                        r.backBufferFormat, gpu::Pool::SystemMem, &copy);
  if (gpu::failed(e)) {
    deviceErrorDialog("CreateOffscreenPlainSurface ", e);
    return false;
  }
  e = r.device->getRenderTargetData(r.frameTarget, copy);
  if (gpu::failed(e)) {
    deviceErrorDialog("GetRenderTargetData ", e);
    copy->release();
    return false;
  }
  gpu::LockedRect locked;
  e = copy->lockRect(locked, nullptr, gpu::kLockDiscard);
  if (gpu::failed(e)) e = copy->lockRect(locked, nullptr, 0);
  if (gpu::failed(e)) {
    deviceScriptError("getRenderImage LockRect ", e);
    copy->release();
    return false;
  }
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(locked.bits) + static_cast<size_t>(y) * static_cast<size_t>(locked.pitch);
    uint32_t* out = destination + static_cast<size_t>(y) * static_cast<size_t>(width);
    if (r.sixteenBit) {
      for (int x = 0; x < width; ++x) out[x] = gpu::fromR5G6B5(reinterpret_cast<const uint16_t*>(row)[x]);
    } else {
      std::memcpy(out, row, static_cast<size_t>(width) * 4);
    }
  }
  e = copy->unlockRect();
  copy->release();
  if (gpu::failed(e)) {
    deviceScriptError("getRenderImage UnlockRect ", e);
    return false;
  }
  return true;
}

int setRenderTarget2(int index, int sprite) {
  RendererState& r = renderer();
  if (!r.device) return gpu::kInvalidCall;
  if (sprite <= 0) return r.device->setRenderTarget(static_cast<uint32_t>(std::max(index, 0)), r.frameTarget);
  gpu::Surface* surface = nullptr;
  if (sprite <= 999 && r.callbacks.spriteTargetSurface) surface = r.callbacks.spriteTargetSurface(sprite);
  if (!surface) {
    errorc(ReportText().number(sprite).gbk(render_messages::kNoPicture), true);
    return gpu::kInvalidCall;
  }
  if (index < 0) return gpu::kInvalidCall;
  return r.device->setRenderTarget(static_cast<uint32_t>(index), surface);
}

}  // namespace vellum
