// The fade, the mosaic and the motion-blur scene.
#include <algorithm>
#include <cmath>

#include "render/renderer_state.h"
#include "scene/easing.h"
#include "scene/transition_drawing.h"
#include "scene/transition_scenes.h"

namespace vellum {

void fadeScene(int32_t elapsed, int32_t duration, int32_t easing) {
  if (!targetRenderSurface("SetRenderTarget Fade 1 ")) return;
  drawAfterPicture();
  if (!targetFrame("SetRenderTarget Fade 2 ")) return;
  drawBeforePicture();
  drawRenderTexture(0, 0, std::clamp(progress(255, elapsed, duration, easing), 0, 255));
}

// The picture shrinks by the block size f and is magnified back with point sampling, so that it
// shows f x f blocks. The shrunk corner goes through the frame target, since a texture cannot be
// drawn into itself.
void mosaicScene(int32_t elapsed, int32_t duration, int32_t easing) {
  RendererState& r = renderer();
  if (!targetRenderSurface("SetRenderTarget MosaicTransition 1 ")) return;
  const bool firstHalf = 2 * static_cast<int64_t>(elapsed) <= duration;
  const int32_t t = firstHalf ? elapsed : duration - elapsed;
  if (firstHalf) drawBeforePicture();
  else drawAfterPicture();
  // An overshooting curve may go below 0; a block is at least one pixel.
  float f = progressF(transitionState().softness, t, duration / 2, firstHalf ? easing : -easing) + 1;
  if (!(f >= 1)) f = 1;
  const TransitionSize size = transitionSize();
  const float w = static_cast<float>(size.w), h = static_cast<float>(size.h);
  if (!targetFrame("SetRenderTarget MosaicTransition 2 ")) return;
  drawRenderTextureQuad(0, 0, w / f, h / f, 255, true, r.plainFilter);
  // Only the pixels the shrink drew (centres left of W/f - 0.5): past them the render surface keeps
  // the picture itself, as a surface drawn into itself would. A wider corner carried what the
  // frame target still held of the last frame into the edge blocks, so the frame where the
  // after picture takes over showed the before picture along the right and bottom edges.
  const auto drawn = [](float edge, int32_t side) {
    return std::clamp(static_cast<int32_t>(std::ceil(edge - 0.5f)), 1, side);
  };
  const gpu::Rect corner{0, 0, drawn(w / f, size.w), drawn(h / f, size.h)};
  r.device->stretchRect(r.frameTarget, &corner, r.renderSurface, &corner, gpu::texf::None);
  drawRenderTextureQuad(0, 0, w * f, h * f, 255, true, gpu::texf::Point);
}

// The current scene over what the frame target still holds of the last frame: moving sprites
// leave a trail that fades by the alpha.
void motionBlurScene() {
  if (!targetRenderSurface("SetRenderTarget MotionBlur 1 ")) return;
  drawBeforePicture();
  if (!targetFrame("SetRenderTarget MotionBlur 2 ")) return;
  drawRenderTexture(0, 0, transitionState().motionBlurAlpha);
}

}  // namespace vellum
