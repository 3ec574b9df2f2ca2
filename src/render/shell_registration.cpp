// The renderer behind the shell's seam: the window set-up creates it, display-mode changes resize
// its back buffer, the message pumps draw frames through it. The sizes come from the display
// geometry and the window settings.
#include "render/shell_registration.h"

#include "persist/engine_settings.h"
#include "render/renderer.h"
#include "render/renderer_state.h"
#include "shell/renderer_seam.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

gpu::Rect rectOf(const GeoRect& r) { return {r.left, r.top, r.right, r.bottom}; }

void followGeometry() {
  const ScreenGeometry& g = screenGeometry();
  const EngineSettings& s = settings();
  RendererDisplay d;
  d.renderW = g.renderW > 0 ? g.renderW : 800;
  d.renderH = g.renderH > 0 ? g.renderH : 600;
  d.clientW = s.windowWidth > 0 ? s.windowWidth : d.renderW;
  d.clientH = s.windowHeight > 0 ? s.windowHeight : d.renderH;
  d.monitorW = g.monW > 0 ? g.monW : d.clientW;
  d.monitorH = g.monH > 0 ? g.monH : d.clientH;
  for (size_t m = 0; m < d.dest.size() && m < g.dest.size(); ++m) {
    d.dest[m] = rectOf(g.dest[m]);
    d.src[m] = rectOf(g.src[m]);
  }
  setRendererDisplay(d);
}

bool create(SDL_Window* window) {
  followGeometry();
  return createRenderer(window);
}

bool reset(bool keepDevice) {
  followGeometry();
  if (!rendererReady()) return true;
  return resizeBackBuffer(keepDevice ? 1 : 0);
}

void present(int sceneMode, int a, int b, int c) { runFrame(sceneMode, a, b, c); }

void screenSizeChanged() {
  // The display-mode change that follows resets the device with the new sizes.
  followGeometry();
}

int setMultiSample(int requested) {
  changeMultiSample(static_cast<uint32_t>(requested > 0 ? requested : 0));
  return static_cast<int>(multiSampleType());
}

int multiSample() { return static_cast<int>(multiSampleType()); }

void release() { shutdownRenderer(); }

void menuFacts(int& pixelShaderMajor, bool& scanLine) {
  if (!rendererReady()) return;
  pixelShaderMajor = renderer().caps.pixelShaderMajor;
  scanLine = renderer().caps.scanLine;
}

}  // namespace

void registerRendererWithShell() {
  RendererHooks hooks;
  hooks.create = &create;
  hooks.reset = &reset;
  hooks.present = &present;
  hooks.screenSizeChanged = &screenSizeChanged;
  hooks.setMultiSample = &setMultiSample;
  hooks.multiSample = &multiSample;
  hooks.release = &release;
  hooks.menuFacts = &menuFacts;
  setRendererHooks(hooks);
}

namespace {
// The seam's table is constant-initialised, so it can be filled while the program starts.
[[maybe_unused]] const bool registered = (registerRendererWithShell(), true);
}  // namespace

}  // namespace vellum
