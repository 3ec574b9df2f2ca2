#include "shell/renderer_seam.h"

namespace vellum {

namespace {
RendererHooks registered;
}  // namespace

void setRendererHooks(const RendererHooks& hooks) { registered = hooks; }
const RendererHooks& rendererHooks() { return registered; }

bool createRendererForWindow(SDL_Window* window) { return registered.create ? registered.create(window) : true; }
bool resetRenderer(bool keepDevice) { return registered.reset ? registered.reset(keepDevice) : true; }

void presentRenderer(int effectId, int elapsedMs, int durationMs, int extra) {
  if (registered.present) registered.present(effectId, elapsedMs, durationMs, extra);
}

void rendererScreenSizeChanged() {
  if (registered.screenSizeChanged) registered.screenSizeChanged();
}

int applyMultiSample(int requested) { return registered.setMultiSample ? registered.setMultiSample(requested) : 0; }
int multiSampleInUse() { return registered.multiSample ? registered.multiSample() : 0; }

void releaseRenderer() {
  if (registered.release) registered.release();
}

void rendererMenuFacts(int& pixelShaderMajor, bool& scanLine) {
  pixelShaderMajor = 0;
  scanLine = false;
  if (rendererHooks().menuFacts) rendererHooks().menuFacts(pixelShaderMajor, scanLine);
}

}  // namespace vellum
