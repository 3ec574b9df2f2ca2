// Read-state of the current message and the skip/auto modes it drives. The interpreter's read-flag
// hook sets the current message's flag and may stop or start skipping.
#pragma once

#include <cstdint>
#include <unordered_set>

namespace vellum {

struct ReadModeState {
  int currentMessageRead = 0;
  // Settings that shape skipping over text already read.
  int alreadyReadSkip = 0;
  int alreadyReadAutoSkip = 0;
  bool skipActive = false;
  bool transientSkip = false;
  // Settings: stop auto/skip at a choice.
  int selectSkipMode = 0;
  int selectAutoMode = 0;
  // Whether the message window may be shown; 0 also keeps auto and skip from starting.
  int windowVisible = 3;
  bool autoActive = false;
  // The most recent mode event posted for the script (0 none).
  int pendingModeEvent = 0;
  // Characters that may not begin a line of message text.
  std::unordered_set<uint16_t> kinsoku;
};

ReadModeState& readMode();
void resetReadMode();

void stopSkipping(int eventCode);
void startSkipping(int eventCode);

// Bit 1 of AlreadyReadAutoSkip: the running skip was started by reaching read text.
constexpr int kAutoStartedSkip = 2;

// The mode event codes: (previous modes * 16) + (new mode + 1), previous modes bit 0 auto, bit 1
// skip, bit 2 fast-forward; new mode 0 none, 1 auto, 2 skip.
constexpr int modeEventCode(bool wasAuto, bool wasSkip, bool wasFastForward, int newMode) {
  return ((wasAuto ? 1 : 0) | (wasSkip ? 2 : 0) | (wasFastForward ? 4 : 0)) * 16 + newMode + 1;
}

// Auto, skip and the transient skip off; posts the ending event unless one is pending.
void allModesOff();
// setAuto / setSkip: 1 on, 2 toggle (the Shift and Tab keys), 0 all modes off; others ignored.
void setAutoMode(int request);
void setSkipMode(int request);
// getMode's word without the fast-forward parts: transient skip * 4 + skip * 2 + auto.
int modeBits();

}  // namespace vellum
