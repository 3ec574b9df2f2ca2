// Where the render target lands on a monitor in each full-screen mode, and the largest window
// client that keeps the render aspect.
#include <algorithm>
#include <cmath>

#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

// A w x h rectangle centred on the monitor; the offsets halve by arithmetic shift (so a negative
// difference rounds toward minus infinity).
GeoRect centred(int32_t w, int32_t h, int32_t monW, int32_t monH) {
  const int32_t x = (monW - w) >> 1;
  const int32_t y = (monH - h) >> 1;
  return {x, y, x + w, y + h};
}

int32_t roundHalfUp(double v) {
  return static_cast<int32_t>(std::clamp(std::floor(v + 0.5), -2147483648.0, 2147483647.0));
}

}  // namespace

FullScreenLayout computeFullScreenLayout(int32_t renderW, int32_t renderH, int32_t monW, int32_t monH) {
  FullScreenLayout l;
  for (int m = 1; m < kFullModes; ++m) l.src[static_cast<size_t>(m)] = {0, 0, renderW, renderH};
  l.dest[1] = {0, 0, monW, monH};
  if (renderW <= 0 || renderH <= 0) {
    // Nothing to show: the scaled modes get an empty picture at the monitor's centre.
    for (int m = 2; m < kFullModes; ++m) l.dest[static_cast<size_t>(m)] = centred(0, 0, monW, monH);
    return l;
  }
  l.dest[2] = centred(renderW, renderH, monW, monH);

  const double rx = static_cast<double>(monW) / renderW;
  const double ry = static_cast<double>(monH) / renderH;
  if (ry >= rx) {
    l.fitW = monW;
    l.fitH = mulDiv(renderH, monW, renderW);
  } else {
    l.fitW = mulDiv(renderW, monH, renderH);
    l.fitH = monH;
  }
  l.dest[3] = centred(l.fitW, l.fitH, monW, monH);

  if (rx > ry) {
    l.fillW = monW;
    l.fillH = roundHalfUp(rx * renderH);
  } else {
    l.fillW = roundHalfUp(ry * renderW);
    l.fillH = monH;
  }
  l.dest[4] = centred(l.fillW, l.fillH, monW, monH);
  l.panMinX = monW - l.fillW;
  l.panMinY = monH - l.fillH;
  return l;
}

GeoSize computeMaxClientSize(int32_t fitW, int32_t fitH, int32_t frameW, int32_t frameH, int32_t renderW,
                             int32_t renderH, int32_t monW, int32_t monH) {
  if (renderW <= 0 || renderH <= 0) return {};
  int32_t w = fitW - (frameW & 1) - frameW;
  int32_t h = fitH - (frameH & 1) - frameH;
  // Round to the render aspect along the side that has room; if the rounded side would not fit
  // the monitor with its frame, round the other side instead.
  if (static_cast<float>(h) / static_cast<float>(renderH) > static_cast<float>(w) / static_cast<float>(renderW)) {
    const int32_t h2 = mulDiv(static_cast<int64_t>(w) * renderH + renderH / 2, 1, renderW);
    if (h2 + frameH <= monH) h = h2;
    else w = mulDiv(static_cast<int64_t>(h) * renderW + renderW / 2, 1, renderH);
  } else {
    const int32_t w2 = mulDiv(static_cast<int64_t>(h) * renderW + renderW / 2, 1, renderH);
    if (w2 + frameW <= monW) w = w2;
    else h = mulDiv(static_cast<int64_t>(w) * renderH + renderH / 2, 1, renderW);
  }
  // Frames wider than the monitor leave no client at all, never a negative one.
  return {std::max(w, 0), std::max(h, 0)};
}

bool outerFitsMonitor(int32_t outerW, int32_t outerH, int32_t monW, int32_t monH) {
  return outerW < monW && outerH < monH;
}

}  // namespace vellum
