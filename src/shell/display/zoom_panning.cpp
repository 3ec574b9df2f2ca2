// Panning the filled picture of the zoom mode when the cursor nears a monitor edge.
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

void shiftX(GeoRect& r, int32_t d) {
  r.left += d;
  r.right += d;
}
void shiftY(GeoRect& r, int32_t d) {
  r.top += d;
  r.bottom += d;
}

}  // namespace

int panZoomDestination(GeoRect& dest, int32_t x, int32_t y, int32_t monLeft, int32_t monTop, int32_t monW, int32_t monH,
                       int32_t panMinX, int32_t panMinY) {
  int moves = 0;
  if (panMinX != 0) {
    if (x < monLeft + 40 && dest.left < 0) {
      shiftX(dest, dest.left < -3 ? 4 : 1);
      ++moves;
    } else if (x > monLeft + monW - 40 && dest.left > panMinX) {
      shiftX(dest, dest.left - 3 > panMinX ? -4 : -1);
      ++moves;
    }
  }
  if (panMinY != 0) {
    if (y < monTop + 60 && dest.top < 0) {
      shiftY(dest, dest.top < -3 ? 4 : 1);
      ++moves;
    } else if (y > monTop + monH - 40 && dest.top > panMinY) {
      shiftY(dest, dest.top - 3 > panMinY ? -4 : -1);
      ++moves;
    }
  }
  return moves;
}

}  // namespace vellum
