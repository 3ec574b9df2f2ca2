// What every transition frame is made of: the before and after pictures drawn into the render
// surface or the frame target, the render texture drawn back as the scene quad, and copies of
// rectangles from the render surface into the frame target.
#pragma once

#include <cstdint>

#include "platform/gpu/gpu.h"

namespace vellum {

// The size transitions work in: the render size and its halves.
struct TransitionSize {
  int32_t w = 0, h = 0, halfW = 0, halfH = 0;
};
TransitionSize transitionSize();

// Makes the render surface / the frame target the render target. On failure the text (GBK) and
// the device's error name go to the script-error path and the caller abandons its frame.
bool targetRenderSurface(const char* failText);
bool targetFrame(const char* failText);

// The normal scene into the current render target as it is shown now (before) or as it will be
// after the pending changes are committed (after).
void drawBeforePicture();
void drawAfterPicture();

// The render texture as the scene quad from (x, y) over the whole render size, its colours white
// with `alpha`, blended with point sampling.
void drawRenderTexture(float x, float y, int32_t alpha);

// The render texture as the scene quad with its corners at the pixel-edge coordinates (left, top)
// and (right, bottom) (the texture spans the quad), white with `alpha`; blended or copied opaque,
// sampled with `filter` (min and mag, no mip levels).
void drawRenderTextureQuad(float left, float top, float right, float bottom, int32_t alpha, bool opaque,
                           uint32_t filter);

// A copy from the render surface into the frame target without filtering; the rectangles are cut
// to the surfaces first, and nothing empty is copied.
void copyFromRenderSurface(const gpu::Rect& source, const gpu::Rect& destination);
inline void copyFromRenderSurface(const gpu::Rect& both) { copyFromRenderSurface(both, both); }

// Point sampling on a sampler.
void pointSampling(gpu::Device* d, uint32_t sampler);

}  // namespace vellum
