#include "platform/window_overlay.h"

#include <SDL.h>

#include "platform/gpu/gl_functions.h"

namespace vellum {

namespace {

OverlayPainter current;

struct Target {
  void* context = nullptr;
  GLuint framebuffer = 0, texture = 0;
  int32_t width = 0, height = 0;
};
Target target;

}  // namespace

void setOverlayPainter(const OverlayPainter& painter) { current = painter; }

bool overlayWanted() { return current.wanted && current.paint && current.wanted(); }

void paintOverlay(int32_t windowW, int32_t windowH) {
  if (current.paint) current.paint(windowW, windowH);
}

uint32_t bindOverlayTarget(int32_t width, int32_t height) {
  void* context = SDL_GL_GetCurrentContext();
  if (!context || width <= 0 || height <= 0) return 0;
  // Objects of another context are not ours to delete from here.
  if (target.context != context) target = Target{};
  gpu::GlFunctions& g = gpu::gl();
  if (!target.framebuffer) {
    g.GenFramebuffers(1, &target.framebuffer);
    g.GenTextures(1, &target.texture);
    target.context = context;
  }
  if (target.width != width || target.height != height) {
    g.BindTexture(GL_TEXTURE_2D, target.texture);
    g.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    g.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    g.BindTexture(GL_TEXTURE_2D, 0);
    g.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    g.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.texture, 0);
    if (g.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      g.BindFramebuffer(GL_FRAMEBUFFER, 0);
      return 0;
    }
    target.width = width;
    target.height = height;
  }
  g.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  g.Viewport(0, 0, width, height);
  return target.framebuffer;
}

void showOverlayTarget(int32_t width, int32_t height) {
  if (!target.framebuffer || target.context != SDL_GL_GetCurrentContext()) return;
  gpu::GlFunctions& g = gpu::gl();
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
  g.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  g.BlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  g.BindFramebuffer(GL_FRAMEBUFFER, 0);
}

void releaseOverlayTarget() {
  if (target.framebuffer && target.context == SDL_GL_GetCurrentContext()) {
    gpu::GlFunctions& g = gpu::gl();
    g.DeleteFramebuffers(1, &target.framebuffer);
    g.DeleteTextures(1, &target.texture);
  }
  target = Target{};
}

}  // namespace vellum
