#include "platform/display_probe.h"

#include <SDL.h>

namespace vellum {

DisplayProbe probeDisplays() {
  DisplayProbe probe;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return probe;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(i, &mode) != 0) continue;
    probe.displays.push_back({mode.w, mode.h, static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format)), mode.refresh_rate});
  }
  return probe;
}

}  // namespace vellum
