// The displays' current modes as SDL reports them, for the system report; and whether there is a
// display to show a window on at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

// The displays as the window system reports them (filled from SDL here, or by a test), so the
// report needs no display of its own.
struct DisplayMode {
  int32_t width = 0, height = 0, bitsPerPixel = 0, refreshRate = 0;
};
struct DisplayProbe {
  std::vector<DisplayMode> displays;
};

// Empty when SDL's video subsystem is not running (nothing is started here).
DisplayProbe probeDisplays();

// Whether a window the player can see and use can be opened. Without DISPLAY and WAYLAND_DISPLAY
// there is none (unless SDL_VIDEODRIVER names a driver, which is then tried); otherwise SDL's video
// is started once to see which driver it takes, and its offscreen and dummy drivers, or no driver
// at all, count as no display. `reason` says why when there is none.
struct DisplayCheck {
  bool found = false;
  std::string reason;
};
DisplayCheck findDisplay();

}  // namespace vellum
