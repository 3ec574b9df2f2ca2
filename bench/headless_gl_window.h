// The window the renderer benchmarks draw in: hidden, with the renderer's GL attributes, on SDL's
// offscreen driver when there is no display. Reports are silenced and the engine runs headless.
#pragma once

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "platform/gpu/gl_context.h"
#include "platform/message_box.h"
#include "render/renderer.h"

namespace vellum::bench {

// Null when SDL's video cannot start.
inline SDL_Window* openHeadlessGlWindow(int width, int height) {
  if (!haveDisplay()) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setReportSink(silentReportSink());
  setRendererNotice([](const std::string&) {});
  engine().headless = true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  gpu::requestGlAttributes();
  return SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

}  // namespace vellum::bench
