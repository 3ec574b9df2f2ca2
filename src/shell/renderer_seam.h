// Where the shell meets the renderer: the renderer registers its entry points once, and the shell
// calls them at screen set-up, after display-mode changes and when the window needs painting.
// Until a renderer is registered every call does nothing and the set-up carries on.
#pragma once

struct SDL_Window;

namespace vellum {

struct RendererHooks {
  // Makes the device and its context on the main window; false stops the set-up.
  bool (*create)(SDL_Window* window) = nullptr;
  // After a display-mode change: keepDevice asks to keep the device when the back-buffer size
  // stays. False when the reset failed (the renderer has reported it).
  bool (*reset)(bool keepDevice) = nullptr;
  // Draws one frame of the current scene procedure (effect, elapsed ms, duration ms, extra).
  void (*present)(int effectId, int elapsedMs, int durationMs, int extra) = nullptr;
  // The screen-sized resources follow a new render size.
  void (*screenSizeChanged)() = nullptr;
  // The highest supported multisample level not above the request, applied; returns the level
  // in use.
  int (*setMultiSample)(int requested) = nullptr;
  int (*multiSample)() = nullptr;
  void (*release)() = nullptr;
  // What the menu needs of the device: its pixel-shader major version and whether it can read
  // the scan line.
  void (*menuFacts)(int& pixelShaderMajor, bool& scanLine) = nullptr;
};

void setRendererHooks(const RendererHooks& hooks);
const RendererHooks& rendererHooks();

// The calls the shell makes; each is a no-op while no renderer is registered.
bool createRendererForWindow(SDL_Window* window);
bool resetRenderer(bool keepDevice);
void presentRenderer(int effectId, int elapsedMs, int durationMs, int extra);
void rendererScreenSizeChanged();
int applyMultiSample(int requested);
int multiSampleInUse();
void releaseRenderer();
// Without a renderer: no shaders, and the scan line cannot be read.
void rendererMenuFacts(int& pixelShaderMajor, bool& scanLine);

}  // namespace vellum
