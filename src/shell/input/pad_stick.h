// A stick read as four buttons: which way it leans past the dead zone, and the repeat of a
// direction held (a first step at once, the next after a delay, then steadily), as a held key
// repeats.
#pragma once

#include <cstdint>

namespace vellum {

enum class StickLean : uint8_t { None, Up, Down, Left, Right };

// The way a stick at (x, y) leans (axes -32768..32767, + right and down): none inside the dead
// zone (a percentage of the full travel), else the stronger axis.
StickLean stickLean(int32_t x, int32_t y, int32_t deadZonePercent);

// The repeat of one held direction or scroll.
class HeldRepeat {
 public:
  void start(uint32_t nowMs, int32_t delayMs);
  void stop() { held_ = false; }
  bool held() const { return held_; }
  // True once for each repeat that has come by nowMs (call until false).
  bool due(uint32_t nowMs, int32_t intervalMs);

 private:
  bool held_ = false;
  uint32_t nextMs_ = 0;
};

}  // namespace vellum
