// The displays' current modes as SDL reports them, for the system report.
#pragma once

#include <cstdint>
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

}  // namespace vellum
