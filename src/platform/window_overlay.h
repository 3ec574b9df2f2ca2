// The slot through which the layer that owns the engine's own interface paints it over each
// presented frame, after the game's picture and before the swap; and the composition target the
// picture and the interface are drawn into while the interface is shown. The target has the
// window's size in pixels (a headless window's own surface may be smaller), so what the player
// sees can also be read back whole.
#pragma once

#include <cstdint>

namespace vellum {

struct OverlayPainter {
  bool (*wanted)() = nullptr;                             // something to draw this frame
  void (*paint)(int32_t windowW, int32_t windowH) = nullptr;  // draws into the bound target
};
void setOverlayPainter(const OverlayPainter& painter);
bool overlayWanted();
void paintOverlay(int32_t windowW, int32_t windowH);

// The current context's composition framebuffer at this size (made or resized as needed), bound
// for drawing; 0 when none can be made.
uint32_t bindOverlayTarget(int32_t width, int32_t height);
// Copies the target to the window's own framebuffer (before the swap).
void showOverlayTarget(int32_t width, int32_t height);
// Forgets the target of a context that is going away (deleting it while that context is current).
void releaseOverlayTarget();

}  // namespace vellum
