// The window the renderer benchmarks draw in: hidden, with the renderer's GL attributes, on SDL's
// offscreen driver when there is no display. Reports are silenced and the engine runs headless.
#pragma once

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "persist/engine_settings.h"
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
  // The renderer appends its report to Information.txt in the game folder: keep it out of the
  // directory the benchmark runs in (often a checkout, where it was committed by mistake before).
  if (engine().exeDirectory.empty()) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vellum_bench";
    std::filesystem::create_directories(folder);
    engine().exeDirectory = folder.string() + "/";
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  gpu::requestGlAttributes();
  return SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

// Creates the renderer on the window at width x height as the renderer benchmarks measure it: no
// scaling filter, no frame pacing. False when there is no window or no GL 3.3 context.
inline bool startHeadlessRenderer(SDL_Window* window, int width, int height) {
  settings().interpolation = 0;
  settings().vSyncWait = 0;
  RendererDisplay d;
  d.renderW = d.clientW = d.monitorW = width;
  d.renderH = d.clientH = d.monitorH = height;
  setRendererDisplay(d);
  return window && createRenderer(window);
}

}  // namespace vellum::bench
