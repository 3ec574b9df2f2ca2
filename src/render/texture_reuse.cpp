#include "render/texture_reuse.h"

#include "render/renderer_state.h"

namespace vellum {

namespace {

uint64_t sizeKey(uint32_t width, uint32_t height) { return (uint64_t{width} << 32) | height; }

}  // namespace

void openTextureReuse() { ++renderer().textureReuseDepth; }

void closeTextureReuse() {
  RendererState& r = renderer();
  if (r.textureReuseDepth > 0 && --r.textureReuseDepth == 0) dropReusableTextures();
}

void recycleTexture(gpu::Texture*& texture) {
  if (!texture) return;
  RendererState& r = renderer();
  gpu::SurfaceDesc desc;
  const bool plain = r.textureReuseDepth > 0 && r.device && texture->levelCount() == 1 &&
                     !gpu::failed(texture->getLevelDesc(0, desc)) && desc.pool == gpu::Pool::Managed &&
                     desc.usage == 0 && desc.format == r.textureFormat && texture->heldOnlyByOwner();
  if (plain) r.reusableTextures.emplace(sizeKey(desc.width, desc.height), texture);
  else texture->release();
  texture = nullptr;
}

gpu::Texture* takeReusableTexture(int width, int height) {
  RendererState& r = renderer();
  if (r.reusableTextures.empty() || width <= 0 || height <= 0) return nullptr;
  const auto found = r.reusableTextures.find(sizeKey(static_cast<uint32_t>(width), static_cast<uint32_t>(height)));
  if (found == r.reusableTextures.end()) return nullptr;
  gpu::Texture* t = found->second;
  r.reusableTextures.erase(found);
  return t;
}

void dropReusableTextures() {
  RendererState& r = renderer();
  for (auto& [key, texture] : r.reusableTextures) texture->release();
  r.reusableTextures.clear();
}

}  // namespace vellum
