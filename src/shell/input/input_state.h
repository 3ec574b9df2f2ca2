// The event source's own state between passes. One instance, main thread only.
#pragma once

#include <cstdint>

namespace vellum {

struct InputState {
  int32_t currentButton = -1;  // the button under the pointer or chosen by the keyboard
  int32_t pressedButton = -1;  // currentButton at the last left press
  int32_t hoverLost = 0;
  int32_t wheelAccumulator = 0;
  int32_t autoTickToggle = 0;
  // Hiding an idle pointer.
  int32_t lastPointerX = 0, lastPointerY = 0;
  uint32_t lastMoveTime = 0;
  int32_t cursorShown = 0;
  bool pointerSeen = false;
  uint32_t powerSaverDeadline = 0;
};

InputState& inputState();
void resetInputState();

}  // namespace vellum
