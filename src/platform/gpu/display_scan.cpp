#include "platform/gpu/display_scan.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>

namespace vellum::gpu {

namespace {
constexpr uint32_t kAssumedRefreshRate = 60;
}

uint32_t scanRefreshRate(int displayIndex) {
  SDL_DisplayMode mode{};
  if (SDL_GetCurrentDisplayMode(std::max(displayIndex, 0), &mode) != 0 || mode.refresh_rate <= 0)
    return kAssumedRefreshRate;
  return static_cast<uint32_t>(mode.refresh_rate);
}

bool scanStatus(int displayIndex, RasterStatus& out) {
  SDL_DisplayMode mode{};
  if (SDL_GetCurrentDisplayMode(std::max(displayIndex, 0), &mode) != 0 || mode.h <= 0) return false;
  const auto visible = static_cast<uint64_t>(mode.h);
  const uint64_t lines = visible + std::max<uint64_t>(visible / 20, 1);
  const uint64_t period = 1000000000ull / scanRefreshRate(displayIndex);
  const auto now = static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
  const uint64_t line = (now % period) * lines / period;
  out.inVBlank = line >= visible;
  out.scanLine = out.inVBlank ? 0 : static_cast<uint32_t>(line);
  return true;
}

}  // namespace vellum::gpu
