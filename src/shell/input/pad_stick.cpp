#include "shell/input/pad_stick.h"

#include <algorithm>
#include <cstdlib>

namespace vellum {

StickLean stickLean(int32_t x, int32_t y, int32_t deadZonePercent) {
  const int64_t zone = static_cast<int64_t>(std::clamp(deadZonePercent, 1, 99)) * 32767 / 100;
  // Round, not square: a stick pushed diagonally leaves the zone as soon as a straight one does.
  if (static_cast<int64_t>(x) * x + static_cast<int64_t>(y) * y < zone * zone) return StickLean::None;
  if (std::abs(x) > std::abs(y)) return x < 0 ? StickLean::Left : StickLean::Right;
  return y < 0 ? StickLean::Up : StickLean::Down;
}

void HeldRepeat::start(uint32_t nowMs, int32_t delayMs) {
  held_ = true;
  nextMs_ = nowMs + static_cast<uint32_t>(std::max(delayMs, 1));
}

bool HeldRepeat::due(uint32_t nowMs, int32_t intervalMs) {
  if (!held_ || static_cast<int32_t>(nowMs - nextMs_) < 0) return false;
  nextMs_ += static_cast<uint32_t>(std::max(intervalMs, 1));
  // A long stall (a transition) does not leave a burst of steps behind it.
  if (static_cast<int32_t>(nowMs - nextMs_) >= 0) nextMs_ = nowMs + static_cast<uint32_t>(std::max(intervalMs, 1));
  return true;
}

}  // namespace vellum
