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

}  // namespace vellum
