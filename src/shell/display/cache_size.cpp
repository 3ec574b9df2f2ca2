#include <algorithm>

#include "shell/display/screen_geometry.h"

namespace vellum {

int64_t defaultImageCacheSize(int64_t totalPhysicalBytes, int64_t configuredBytes) {
  constexpr int64_t kMiB = int64_t{1} << 20;
  if (totalPhysicalBytes > 1024 * kMiB) return 512 * kMiB;
  if (totalPhysicalBytes > 512 * kMiB) return 256 * kMiB;
  // A small machine leaves 192 MiB to everything else; a configured limit below that means no cache.
  if (totalPhysicalBytes >= 256 * kMiB) return std::max<int64_t>(configuredBytes - 192 * kMiB, 0);
  return 0;
}

}  // namespace vellum
