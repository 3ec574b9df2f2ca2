#include "script/read_mode.h"

namespace vellum {

namespace {
ReadModeState readModeState;
}  // namespace

ReadModeState& readMode() { return readModeState; }
void resetReadMode() { readModeState = ReadModeState{}; }

void stopSkipping(int eventCode) {
  readModeState.skipActive = false;
  readModeState.transientSkip = false;
  readModeState.pendingModeEvent = eventCode;
}

void startSkipping(int eventCode) {
  readModeState.skipActive = true;
  readModeState.pendingModeEvent = eventCode;
}

void allModesOff() {
  ReadModeState& r = readModeState;
  if (r.pendingModeEvent == 0) r.pendingModeEvent = modeEventCode(r.autoActive, r.skipActive, false, 0);
  r.alreadyReadAutoSkip &= ~kAutoStartedSkip;
  r.autoActive = r.skipActive = r.transientSkip = false;
}

void setAutoMode(int request) {
  ReadModeState& r = readModeState;
  if (request == 0) return allModesOff();
  if ((request != 1 && request != 2) || r.windowVisible == 0) return;
  r.alreadyReadAutoSkip &= ~kAutoStartedSkip;
  if (request == 1) {
    r.pendingModeEvent = modeEventCode(false, r.skipActive, false, 1);
    r.autoActive = true;
  } else if (r.autoActive) {
    r.autoActive = false;
    r.pendingModeEvent = modeEventCode(true, false, false, 0);
  } else {
    r.autoActive = true;
    r.pendingModeEvent = modeEventCode(false, false, false, 1);
  }
  r.skipActive = r.transientSkip = false;
}

void setSkipMode(int request) {
  ReadModeState& r = readModeState;
  if (request == 0) return allModesOff();
  if ((request != 1 && request != 2) || r.windowVisible == 0) return;
  const bool mayStart = r.currentMessageRead || r.alreadyReadSkip;
  if (request == 2 && r.skipActive) {
    r.pendingModeEvent = modeEventCode(false, true, false, 0);
    r.alreadyReadAutoSkip &= ~kAutoStartedSkip;
    r.skipActive = r.transientSkip = r.autoActive = false;
  } else if (mayStart) {
    r.pendingModeEvent = modeEventCode(request == 1 && r.autoActive, false, false, 2);
    r.skipActive = r.transientSkip = true;
    r.autoActive = false;
  }
}

int modeBits() {
  const ReadModeState& r = readModeState;
  return (r.transientSkip ? 4 : 0) | (r.skipActive ? 2 : 0) | (r.autoActive ? 1 : 0);
}

}  // namespace vellum
