#include "platform/display_probe.h"

#include <SDL.h>

#include <cstdlib>

namespace vellum {

namespace {

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// The drivers that draw into memory: a window there is one nobody sees or clicks.
bool showsNothing(const std::string& driver) {
  return SDL_strcasecmp(driver.c_str(), "offscreen") == 0 || SDL_strcasecmp(driver.c_str(), "dummy") == 0;
}

}  // namespace

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

DisplayCheck findDisplay() {
  const char* named = std::getenv("SDL_VIDEODRIVER");
  if (named && *named && showsNothing(named)) return {false, std::string("SDL_VIDEODRIVER is ") + named};
  if (!(named && *named) && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY"))
    return {false, "neither DISPLAY nor WAYLAND_DISPLAY is set"};
  // The engine's own quit signals stay in place while SDL is tried.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return {false, std::string("SDL opens no video driver: ") + SDL_GetError()};
  const char* current = SDL_GetCurrentVideoDriver();
  const std::string driver = current ? current : "";
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (driver.empty() || showsNothing(driver)) return {false, "SDL found only its " + driver + " video driver"};
  return {true, {}};
}

}  // namespace vellum
