// The pointer's picture over the main window: the system arrow, or pictures of our own (one, or
// the frames of an animated cursor shown in turn).
#pragma once

#include <cstdint>
#include <vector>

namespace vellum {

struct CursorFrame {
  int32_t width = 0, height = 0;
  int32_t hotX = 0, hotY = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows top-down
};

// frames shown in the order of sequence (indexes into frames), each for its duration in ms. False
// when the window system cannot make the cursor; the system arrow stays.
bool setCustomCursor(const std::vector<CursorFrame>& frames, const std::vector<uint32_t>& sequence,
                     const std::vector<uint32_t>& durationsMs);
// Back to the system arrow.
void clearCustomCursor();
// Shows the next frame of an animated cursor when its time has come.
void animateCustomCursor(uint32_t nowMs);

// Keeps the screen saver and the monitor's power saving away while the game runs.
void keepDisplayAwake(bool awake);

}  // namespace vellum
