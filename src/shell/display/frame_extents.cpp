#include "shell/display/screen_geometry.h"

namespace vellum {

FrameExtents computeFrameExtents(const FrameMetrics& m, int32_t windowChange, bool menuAttached) {
  // A fixed-size window has the thin frame, a resizable one the sizing frame.
  const int32_t fx = windowChange == 1 ? m.fixedX : m.sizingX;
  const int32_t fy = windowChange == 1 ? m.fixedY : m.sizingY;
  FrameExtents e;
  e.frameW = 2 * fx;
  e.captionH = m.captionHeight + fy;
  e.frameH = fy + e.captionH + (menuAttached ? m.menuHeight : 0);
  return e;
}

GeoSize frameChangeShift(const FrameMetrics& m, int32_t oldWindowChange, int32_t newWindowChange) {
  const auto side = [&m](int32_t windowChange) {
    return windowChange == 1 ? GeoSize{m.fixedX, m.fixedY} : GeoSize{m.sizingX, m.sizingY};
  };
  const GeoSize before = side(oldWindowChange), after = side(newWindowChange);
  return {before.width - after.width, before.height - after.height};
}

}  // namespace vellum
