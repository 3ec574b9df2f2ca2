// The bars the letterbox brush paints around the picture in the 1:1 and fit modes.
#include <algorithm>

#include "shell/display/screen_geometry.h"

namespace vellum {

LetterboxBars letterboxBars(GeoRect client, GeoRect picture) {
  LetterboxBars out;
  auto add = [&out](GeoRect r) {
    if (r.right > r.left && r.bottom > r.top) out.bars[static_cast<size_t>(out.count++)] = r;
  };
  // The part of the picture inside the client; a picture wholly outside leaves the client as one bar.
  GeoRect p{std::max(client.left, picture.left), std::max(client.top, picture.top),
            std::min(client.right, picture.right), std::min(client.bottom, picture.bottom)};
  if (p.right <= p.left || p.bottom <= p.top) {
    add(client);
    return out;
  }
  add({client.left, client.top, client.right, p.top});
  add({client.left, p.bottom, client.right, client.bottom});
  add({client.left, p.top, p.left, p.bottom});
  add({p.right, p.top, client.right, p.bottom});
  return out;
}

bool modeHasLetterbox(int32_t fullScreen, int32_t fullMode) { return fullScreen && (fullMode == 2 || fullMode == 3); }

}  // namespace vellum
