#include "platform/dialog_surface.h"

#include <SDL.h>

#include "platform/gpu/gl_context.h"
#include "platform/gpu/gl_functions.h"
#include "platform/main_window.h"
#include "platform/ui_overlay.h"
#include "platform/window_overlay.h"

namespace vellum {

namespace {
SDL_GLContext context = nullptr;
int32_t surfaceW = 0, surfaceH = 0;
}

bool openDialogSurface(int32_t width, int32_t height) {
  SDL_Window* window = mainWindowHandle();
  if (!window) return false;
  const DisplayArea monitor = mainMonitor();
  showWindowed(monitor.left + (monitor.width - width) / 2, monitor.top + (monitor.height - height) / 2, width, height,
               false);
  context = gpu::createGlContext(window);
  surfaceW = width;
  surfaceH = height;
  return context != nullptr;
}

void beginDialogSurfaceFrame() {
  if (!context || !bindOverlayTarget(surfaceW, surfaceH)) return;
  gpu::GlFunctions& g = gpu::gl();
  g.ClearColor(0, 0, 0, 1);
  g.Clear(GL_COLOR_BUFFER_BIT);
}

void presentDialogSurface() {
  if (!context) return;
  showOverlayTarget(surfaceW, surfaceH);
  SDL_GL_SwapWindow(mainWindowHandle());
}

void closeDialogSurface() {
  if (!context) return;
  SDL_GL_MakeCurrent(mainWindowHandle(), context);
  ui::releaseGraphics();
  releaseOverlayTarget();
  SDL_GL_MakeCurrent(mainWindowHandle(), nullptr);
  SDL_GL_DeleteContext(context);
  context = nullptr;
}

}  // namespace vellum
