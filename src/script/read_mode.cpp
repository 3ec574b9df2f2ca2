#include "script/read_mode.h"

namespace vellum {

namespace {
ReadModeState readModeState;
}  // namespace

ReadModeState& readMode() { return readModeState; }
void resetReadMode() { readModeState = ReadModeState{}; }

void stopSkipping(int eventCode) {
  readModeState.skipActive = false;
  readModeState.pendingModeEvent = eventCode;
}

void startSkipping(int eventCode) {
  readModeState.skipActive = true;
  readModeState.pendingModeEvent = eventCode;
}

}  // namespace vellum
