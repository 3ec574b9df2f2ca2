// Re-fitting another window's rectangle when its monitor changes size.
#include <algorithm>

#include "shell/display/screen_geometry.h"

namespace vellum {

GeoRect refitPlacement(GeoRect normal, GeoRect oldMonitor, GeoRect newMonitor) {
  if (normal.width() > newMonitor.width() || normal.height() > newMonitor.height()) return newMonitor;
  int32_t dx = newMonitor.right - oldMonitor.right;
  int32_t dy = newMonitor.bottom - oldMonitor.bottom;
  // Following the right and bottom edges must not carry a window off the left or top of the monitor.
  dx = std::max(dx, newMonitor.left - normal.left);
  dy = std::max(dy, newMonitor.top - normal.top);
  return {normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy};
}

}  // namespace vellum
