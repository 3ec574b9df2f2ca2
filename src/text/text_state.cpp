#include "text/backlog.h"
#include "text/read_mode.h"

namespace vellum {

namespace {
BacklogState backlogState;
ReadModeState readModeState;
}  // namespace

BacklogState& backlog() { return backlogState; }
void resetBacklog() { backlogState = BacklogState{}; }

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
