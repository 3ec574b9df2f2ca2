// Textures kept across a reset of the scene. Loading a save takes every sprite away and loads
// them again, mostly at the sizes they had; making each texture anew costs far more than filling
// an old one. While a reuse window is open, plain textures handed back with recycleTexture wait
// in a pool and createTexture takes one of the same size and format before it makes a new one;
// closing the window releases what was not taken, so nothing is held beyond it. Uploads fill a
// texture's whole level, so a reused texture shows exactly what a new one would.
#pragma once

#include "platform/gpu/gpu.h"

namespace vellum {

void openTextureReuse();
void closeTextureReuse();

// Opens a window for its lifetime (windows nest).
class TextureReuseWindow {
 public:
  TextureReuseWindow() { openTextureReuse(); }
  ~TextureReuseWindow() { closeTextureReuse(); }
  TextureReuseWindow(const TextureReuseWindow&) = delete;
  TextureReuseWindow& operator=(const TextureReuseWindow&) = delete;
};

// Gives up the caller's reference and clears the pointer: into the pool while a window is open and
// the texture is a plain one-level texture nothing else holds, released otherwise.
void recycleTexture(gpu::Texture*& texture);

// A pooled texture of this size, one level and the renderer's texture format; nullptr when none.
gpu::Texture* takeReusableTexture(int width, int height);

// Releases every pooled texture (a closed window, the device going, a reset of the renderer).
void dropReusableTextures();

}  // namespace vellum
